#include "bullets/tform2.h"

#include "table/bulletlist.h"
#include "ui/designfont.h"
#include "ui/errorreport.h"
#include "ui/qtext.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>

#include <utility>

namespace {

constexpr int kNameWidth = 160;
constexpr int kWeightWidth = 55;
constexpr int kRowHeight = 15;

QString cellText(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

TForm2::TForm2(std::string bulletFolder, QWidget* parent)
    : QDialog(parent)
    , m_bulletFolder(std::move(bulletFolder))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Bullet List Editor"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(253, 393);
    move(451, 215);
    setFont(ui::designFont());

    auto* box = new QGroupBox(QStringLiteral("Bullets"), this);
    box->setObjectName(QStringLiteral("GroupBox1"));
    box->setAccessibleName(box->title());
    box->setGeometry(0, 0, 251, 351);

    Grid1 = new QTableWidget(1, 2, box);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setAccessibleName(QStringLiteral("Bullets"));
    Grid1->setGeometry(5, 15, 241, 331);
    Grid1->verticalHeader()->hide();
    Grid1->verticalHeader()->setDefaultSectionSize(kRowHeight);
    Grid1->verticalHeader()->setMinimumSectionSize(kRowHeight);
    Grid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    Grid1->setEditTriggers(QAbstractItemView::AllEditTriggers);

    auto makeButton = [this](const char* name, const char* caption, QRect rect) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        button->setObjectName(QString::fromUtf8(name));
        button->setAccessibleName(button->text());
        button->setGeometry(rect);
        button->setAutoDefault(false);
        return button;
    };
    Button2 = makeButton("Button2", "Cancel", QRect(5, 360, 61, 25));
    Button3 = makeButton("Button3", "Add", QRect(100, 360, 41, 25));
    Button1 = makeButton("Button1", "OK", QRect(175, 360, 70, 25));

    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, ui::guarded([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, ui::guarded([this] { Button3Click(); }));
}

void TForm2::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        ui::guarded([this] { FormShow(); })();
}

void TForm2::FormShow()
{
    Grid1->setHorizontalHeaderLabels({QStringLiteral("Type"), QStringLiteral("Weight (g)")});
    Grid1->setColumnWidth(0, kNameWidth);
    Grid1->setColumnWidth(1, kWeightWidth);
    // A file that cannot be read leaves the rows as they were; the error is reported and the
    // editor opens all the same.
    const std::vector<table::BulletEntry> pairs = table::readBulletFile(m_bulletFolder);
    Grid1->clearContents();
    Grid1->setRowCount(static_cast<int>(pairs.size()) + 1);
    for (int row = 0; row < static_cast<int>(pairs.size()); ++row) {
        Grid1->setItem(row, 0, new QTableWidgetItem(ui::toQString(pairs[row].name)));
        Grid1->setItem(row, 1, new QTableWidgetItem(ui::toQString(pairs[row].weight)));
    }
}

void TForm2::Button3Click()
{
    Grid1->setRowCount(Grid1->rowCount() + 1);
}

void TForm2::Button2Click()
{
    reject();
}

void TForm2::Button1Click()
{
    // Moving the current cell commits a cell still being edited.
    Grid1->setCurrentIndex(QModelIndex());
    std::vector<table::BulletEntry> rows;
    rows.reserve(static_cast<std::size_t>(Grid1->rowCount()));
    for (int row = 0; row < Grid1->rowCount(); ++row)
        rows.push_back(
            {ui::toStdString(cellText(Grid1, row, 0)), ui::toStdString(cellText(Grid1, row, 1))});
    // A failed write throws here: the editor stays open and the main window's list as it was.
    table::writeBulletFile(m_bulletFolder, rows);
    accept();
    emit bulletListWritten();
}
