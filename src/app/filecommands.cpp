// The File menu and Delete Selected of the main window.

#include "app/tform1.h"
#include "imports/ui/importchoice.h"
#include "table/currentfile.h"
#include "table/measurementfile.h"
#include "table/measurementtable.h"
#include "ui/errorreport.h"
#include "ui/gridview.h"
#include "ui/qtext.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr char kGridEmpty[] = "Measurments Grid is empty!";
constexpr char kNothingToKeep[] = "Measurments Grid is empty or you select all measurments!";

} // namespace

void TForm1::redraw()
{
    Button1->click();
}

bool TForm1::confirm(const char* text, ui::MessageButtons buttons)
{
    const ui::MessageResult answer = ui::prompts().message(
        this, QStringLiteral("New"), QString::fromUtf8(text), ui::MessageIcon::None, buttons);
    return answer == ui::MessageResult::Ok || answer == ui::MessageResult::Yes;
}

void TForm1::resetStatisticsLabels()
{
    m_statistics.reset();
    for (QLabel* label : {VmaxLabel, VminLabel, VaLabel, EmaxLabel, EminLabel, EaLabel})
        label->setText(ui::toQString(table::kEmptyMark));
}

void TForm1::writeTableTo(const QString& path)
{
    table::writeTable(m_table, ui::toLocalPath(path));
    table::setUnsavedChanges(false);
}

void TForm1::reportNotMeasurementFile(const QString& path, const table::NotMeasurementFile& refusal)
{
    ui::showProgramMessage(this, QStringLiteral("'%1' is not a measurement file (line %2)")
                                     .arg(QDir::toNativeSeparators(path))
                                     .arg(refusal.line()));
}

void TForm1::New1Click()
{
    if (!table::isEmpty(m_table) &&
        confirm("Do you realy want clear all measurments?", ui::MessageButtons::OkCancel)) {
        table::clear(m_table);
        resetStatisticsLabels();
        table::setUnsavedChanges(false);
    }
    updateShotStatistics();
    table::setCurrentFileName(std::string());
    redraw();
}

void TForm1::Open1Click()
{
    if (table::isEmpty(m_table) ||
        confirm("Do you realy want close session without saving?", ui::MessageButtons::OkCancel)) {
        // Open reads sessions only: the folder and name Add Series chose are shared, its
        // exports filter is not, or a typed "mar07" would open "mar07.csv".
        if (OpenDialog1.selectedFilter == exportsFilterEntry())
            OpenDialog1.selectedFilter.clear();
        if (const auto path = ui::askOpenFile(this, OpenDialog1)) {
            openFile(*path);
            return;
        }
    }
    redraw();
}

void TForm1::openFile(const QString& path)
{
    // Read whole before anything changes: a file that is refused leaves the session as it
    // was, and a following Save cannot overwrite it.
    table::MeasurementRecords loaded;
    try {
        loaded = table::readRecords(ui::toLocalPath(path));
    } catch (const table::NotMeasurementFile& refusal) {
        reportNotMeasurementFile(path, refusal);
        return;
    }
    table::clear(m_table);
    table::setCurrentFileName(ui::toStdString(path));
    table::setUnsavedChanges(false);
    table::putRecords(m_table, std::move(loaded));
    statisticsPass();
    redraw();
}

bool TForm1::refuseEmptyTable()
{
    if (!table::isEmpty(m_table))
        return false;
    ui::showProgramMessage(this, QString::fromUtf8(kGridEmpty));
    return true;
}

bool TForm1::saveUnderNewName()
{
    const auto path = ui::askSaveFile(this, SaveDialog1);
    if (!path)
        return false;
    // Only a file that holds the table becomes current; after a failed write the next Save
    // must not go there.
    writeTableTo(*path);
    table::setCurrentFileName(ui::toStdString(*path));
    return true;
}

void TForm1::Save1Click()
{
    if (refuseEmptyTable())
        return;
    if (!table::currentFileName().empty())
        writeTableTo(ui::toQString(table::currentFileName()));
    else
        saveUnderNewName();
}

void TForm1::SaveAs1Click()
{
    if (!refuseEmptyTable())
        saveUnderNewName();
}

void TForm1::SaveSelectedAs1Click()
{
    if (refuseEmptyTable())
        return;
    if (const auto path = ui::askSaveFile(this, SaveDialog1)) {
        const ui::GridSelection block = Grid->selection();
        table::writeSelection(m_table, block.top, block.bottom, ui::toLocalPath(*path));
    }
}

bool TForm1::offerToSave()
{
    const ui::MessageResult answer = ui::prompts().message(
        this, QStringLiteral("New"),
        QStringLiteral("Do you want save measurments before closing application?"),
        ui::MessageIcon::None, ui::MessageButtons::YesNoCancel);
    if (answer == ui::MessageResult::No)
        return true;
    if (answer != ui::MessageResult::Yes)
        return false;
    if (table::currentFileName().empty())
        return saveUnderNewName();
    writeTableTo(ui::toQString(table::currentFileName()));
    return true;
}

void TForm1::Exit1Click()
{
    if (!table::isEmpty(m_table) && !offerToSave())
        return;
    m_exitConfirmed = true;
    close();
    m_exitConfirmed = false;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (m_exitConfirmed || !table::hasUnsavedChanges()) {
        event->accept();
        return;
    }
    bool closing = false;
    // A failed save is reported here and keeps the window open.
    ui::guarded([this, &closing] { closing = offerToSave(); })();
    if (closing)
        event->accept();
    else
        event->ignore();
}

void TForm1::DeleteSelected1Click()
{
    const ui::GridSelection block = Grid->selection();
    const std::size_t dataRows = m_table.rowCount() - 1;
    if (table::isEmpty(m_table) || block.bottom - block.top + 1 >= dataRows) {
        ui::showProgramMessage(this, QString::fromUtf8(kNothingToKeep));
        return;
    }
    if (!confirm("Do you realy want delete selected measurments?", ui::MessageButtons::YesNo))
        return;
    table::deleteRows(m_table, block.top, block.bottom);
    table::setUnsavedChanges(true);
    deviationPass(statisticsPass());
    redraw();
}
