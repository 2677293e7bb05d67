// The session's details in the main window: the Session dock, the shot-detail columns of the
// grid and shots left out of the statistics.
#include "app/tform1.h"
#include "session/ui/sessiondock.h"
#include "table/currentfile.h"
#include "table/stringdetails.h"
#include "ui/errorreport.h"
#include "ui/gridmodel.h"
#include "ui/gridview.h"

#include <QAction>
#include <QDateTime>

void TForm1::bindSessionHandlers()
{
    connect(SessionDock1, &SessionDock::edited, this, [this] {
        m_details = SessionDock1->details();
        table::setUnsavedChanges(true);
    });
    connect(ShotDetails1, &QAction::toggled, this, ui::guarded([this] { ShotDetails1Click(); }));
    connect(ExcludeFromStatistics1, &QAction::triggered, this,
            ui::guarded([this] { ExcludeFromStatistics1Click(); }));
    connect(IncludeInStatistics1, &QAction::triggered, this,
            ui::guarded([this] { IncludeInStatistics1Click(); }));

    // Flags and notes are typed in the grid; flags only as the known words.
    m_gridModel->setEditableColumns(
        {table::ColFlags, table::ColNote},
        [](std::size_t col, std::string_view typed) -> std::optional<std::string> {
            if (col == table::ColFlags)
                return table::normalizedFlags(typed);
            return std::string(typed);
        });
    connect(m_gridModel, &ui::GridModel::edited, this, [] { table::setUnsavedChanges(true); });
    m_gridModel->setMutedRows([this](std::size_t row) { return m_table.numbers().excluded(row); });
}

void TForm1::setStringDetails(const table::StringDetails& details)
{
    m_details = details;
    SessionDock1->setDetails(details);
}

void TForm1::noteDownloadTime()
{
    table::StringDetails details = m_details;
    // The chronograph sends what it stored when it is switched on: the download's moment is
    // the string's, and its shots have no times of their own.
    details.dateTime = QDateTime::currentDateTime().toString(Qt::ISODate).toStdString();
    setStringDetails(details);
}

void TForm1::ShotDetails1Click()
{
    m_gridModel->setShownColumns(ShotDetails1->isChecked() ? table::kShownDetailColumnCount
                                                           : table::kColumnCount);
}

void TForm1::ExcludeFromStatistics1Click()
{
    setExcluded(true);
}

void TForm1::IncludeInStatistics1Click()
{
    setExcluded(false);
}

void TForm1::setExcluded(bool excluded)
{
    const ui::GridSelection marked = Grid->selection();
    setExcluded(marked.top, marked.bottom, excluded);
}

void TForm1::setExcluded(std::size_t top, std::size_t bottom, bool excluded)
{
    if (table::isEmpty(m_table))
        return;
    m_table.setColumn(table::ColExcluded, top, bottom, [excluded](std::size_t, std::string& text) {
        if (excluded)
            text = table::kExcludedMark;
    });
    table::setUnsavedChanges(true);
    // The six labels and dV stay over every row; the panel and the charts follow.
    updateShotStatistics();
    redraw();
}
