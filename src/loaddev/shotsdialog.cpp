#include "loaddev/shotsdialog.h"

#include "table/columns.h"
#include "table/measurementtable.h"
#include "ui/errorreport.h"
#include "ui/gridmodel.h"
#include "ui/gridview.h"
#include "ui/localtime.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace loaddev {

ShotsDialog::ShotsDialog(table::StringGrid& grid, const QString& title, table::Units units,
                         QWidget* parent)
    : QDialog(parent)
    , m_grid(grid)
{
    setObjectName(QStringLiteral("ShotsDialog"));
    setWindowTitle(QStringLiteral("Shots of %1").arg(title));
    m_model = new ui::GridModel(m_grid);
    m_model->setShownColumns(table::kShownDetailColumnCount);
    m_model->setDisplayText(
        [this, units](std::size_t col, std::size_t row, std::string_view stored) {
            if (col == table::ColTime && row > 0)
                return ui::localTimeText(stored);
            return table::measurementCellDisplay(m_grid, col, row, units);
        });
    m_model->setMutedRows([this](std::size_t row) { return m_grid.numbers().excluded(row); });
    Shots = new ui::GridView(this);
    Shots->setObjectName(QStringLiteral("Shots"));
    Shots->setAccessibleName(QStringLiteral("Shots"));
    Shots->setGridModel(m_model);

    Exclude = new QPushButton(QStringLiteral("Exclude from Statistics"));
    Exclude->setObjectName(QStringLiteral("Exclude"));
    Include = new QPushButton(QStringLiteral("Include in Statistics"));
    Include->setObjectName(QStringLiteral("Include"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(Exclude, QDialogButtonBox::ActionRole);
    buttons->addButton(Include, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(Exclude, &QPushButton::clicked, this, ui::guarded([this] { setExcluded(true); }));
    connect(Include, &QPushButton::clicked, this, ui::guarded([this] { setExcluded(false); }));

    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(QStringLiteral(
        "Mark shots and exclude them from the figures or include them again; nothing is deleted."));
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addWidget(Shots);
    layout->addWidget(buttons);
    resize(640, 420);
}

ShotsDialog::~ShotsDialog()
{
    // The view and its model go before the grid they show is left alone.
    delete Shots;
    Shots = nullptr;
    delete m_model;
}

void ShotsDialog::setExcluded(bool excluded)
{
    if (table::isEmpty(m_grid))
        return;
    const ui::GridSelection marked = Shots->selection();
    m_grid.setColumn(table::ColExcluded, marked.top, marked.bottom,
                     [excluded](std::size_t, std::string& text) {
                         if (excluded)
                             text = table::kExcludedMark;
                     });
    emit changed();
}

LoadsDialog::LoadsDialog(std::size_t shots, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("LoadsDialog"));
    setWindowTitle(QStringLiteral("Split Round-Robin"));
    auto* caption = new QLabel(QStringLiteral(
        "The string was fired in rotation over this many loads: shot 1 at the first load, shot "
        "2 at the second, and so on, starting again after the last."));
    caption->setWordWrap(true);
    Loads = new QSpinBox;
    Loads->setObjectName(QStringLiteral("Loads"));
    Loads->setAccessibleName(QStringLiteral("Loads"));
    Loads->setRange(2, static_cast<int>(std::clamp<std::size_t>(shots, 2, 1000)));
    Loads->setValue(std::min(Loads->maximum(), 3));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(Loads);
    layout->addWidget(buttons);
}

std::size_t LoadsDialog::loads() const
{
    return static_cast<std::size_t>(Loads->value());
}

} // namespace loaddev
