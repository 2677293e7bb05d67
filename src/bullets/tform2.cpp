#include "bullets/tform2.h"

#include "table/bulletlist.h"
#include "ui/designfont.h"
#include "ui/errorreport.h"
#include "ui/gridmodel.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>

#include <utility>

namespace {

constexpr int kNameWidth = 160;
constexpr int kWeightWidth = 55;
constexpr int kRowHeight = 15;

} // namespace

TForm2::TForm2(std::string bulletFolder, QWidget* parent)
    : QDialog(parent)
    , m_bulletFolder(std::move(bulletFolder))
    , m_grid(2, 2)
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

    m_grid.setCell(0, 0, "Type");
    m_grid.setCell(1, 0, "Weight (g)");
    m_model = new ui::GridModel(m_grid, this);
    m_model->setEditableColumns({0, 1}, nullptr);
    Grid1 = new QTableView(box);
    Grid1->setModel(m_model);
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

TForm2::~TForm2()
{
    // The view and its model write to m_grid, which is gone before QDialog's destructor
    // hides the window, and hiding commits a cell still being edited.
    delete Grid1;
    delete m_model;
}

void TForm2::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        ui::guarded([this] { FormShow(); })();
}

void TForm2::FormShow()
{
    Grid1->setColumnWidth(0, kNameWidth);
    Grid1->setColumnWidth(1, kWeightWidth);
    // A file that cannot be read leaves the rows as they were; the error is reported and the
    // editor opens all the same.
    table::CellRows pairs = table::readBulletFile(m_bulletFolder);
    table::GridUpdate update(m_grid);
    m_grid.setRowCount(1);
    m_grid.replaceRowsFrom(1, std::move(pairs));
    m_grid.setRowCount(m_grid.rowCount() + 1);
}

void TForm2::Button3Click()
{
    m_grid.setRowCount(m_grid.rowCount() + 1);
}

void TForm2::Button2Click()
{
    reject();
}

void TForm2::Button1Click()
{
    // Moving the current cell commits a cell still being edited.
    Grid1->setCurrentIndex(QModelIndex());
    // A failed write throws here: the editor stays open and the main window's list as it was.
    table::writeBulletFile(m_bulletFolder, m_grid, 1);
    accept();
    emit bulletListWritten();
}
