// The File menu and Delete Selected of the main window.

#include "app/tform1.h"
#include "imports/ui/importchoice.h"
#include "session/loadtestfile.h"
#include "session/sessionfile.h"
#include "table/currentfile.h"
#include "table/measurementfile.h"
#include "table/measurementtable.h"
#include "ui/errorreport.h"
#include "ui/gridview.h"
#include "ui/qtext.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr char kGridEmpty[] = "Measurments Grid is empty!";
constexpr char kNothingToKeep[] = "Measurments Grid is empty or you select all measurments!";
constexpr char kKeepDetails[] =
    "'%1' is a measurement file, which keeps no session details (date, rifle, load, shot "
    "times, flags, notes, excluded shots).\n\nYes: save them in a session file (.vxs).\nNo: "
    "save the measurement file without them.";

bool isSessionName(const QString& path)
{
    return path.endsWith(QLatin1String(".vxs"), Qt::CaseInsensitive);
}

} // namespace

bool TForm1::hasSessionDetails() const
{
    if (!m_details.empty())
        return true;
    for (std::size_t r = 1; r < m_table.rowCount(); ++r) {
        for (std::size_t c = table::ColTime; c <= table::ColRecorded; ++c) {
            if (!m_table.cell(c, r).empty())
                return true;
        }
    }
    return false;
}

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
    // The name says the kind: a session file keeps the details, a measurement file only the
    // six columns every older program reads.
    if (isSessionName(path))
        session::writeSession(m_table, m_details, m_sessionKept, ui::toLocalPath(path));
    else
        table::writeTable(m_table, ui::toLocalPath(path));
    table::setUnsavedChanges(false);
}

void TForm1::reportNotMeasurementFile(const QString& path, const table::NotMeasurementFile& refusal)
{
    ui::showProgramMessage(this, QStringLiteral("'%1' is not a measurement file (line %2)")
                                     .arg(QDir::toNativeSeparators(path))
                                     .arg(refusal.line()));
}

void TForm1::reportNotSessionFile(const QString& path, std::size_t line)
{
    ui::showProgramMessage(this, QStringLiteral("'%1' is not a Vexorel session (line %2)")
                                     .arg(QDir::toNativeSeparators(path))
                                     .arg(line));
}

void TForm1::New1Click()
{
    if (!table::isEmpty(m_table) &&
        confirm("Do you realy want clear all measurments?", ui::MessageButtons::OkCancel)) {
        table::clear(m_table);
        setStringDetails({});
        m_sessionKept.clear();
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
    const std::string local = ui::toLocalPath(path);
    if (session::isLoadTestName(local)) {
        openLoadTest(path);
        return;
    }
    if (session::isSessionFile(local)) {
        openSession(path);
        return;
    }
    // Read whole before anything changes: a file that is refused leaves the session as it
    // was, and a following Save cannot overwrite it.
    table::MeasurementRecords loaded;
    try {
        loaded = table::readRecords(local);
    } catch (const table::NotMeasurementFile& refusal) {
        reportNotMeasurementFile(path, refusal);
        return;
    }
    table::clear(m_table);
    setStringDetails({});
    m_sessionKept.clear();
    table::setCurrentFileName(ui::toStdString(path));
    table::setUnsavedChanges(false);
    table::putRecords(m_table, std::move(loaded));
    statisticsPass();
    redraw();
}

void TForm1::openSession(const QString& path)
{
    // Read and checked whole first, as a measurement file is.
    session::LoadedSession loaded;
    try {
        loaded = session::readSession(ui::toLocalPath(path));
    } catch (const session::NotSessionFile& refusal) {
        reportNotSessionFile(path, refusal.line());
        return;
    } catch (const session::NewerSessionFile& refusal) {
        ui::showProgramMessage(this, ui::toQString(refusal.what()));
        return;
    }
    table::clear(m_table);
    setStringDetails(loaded.details);
    m_sessionKept = std::move(loaded.kept);
    table::setCurrentFileName(ui::toStdString(path));
    table::setUnsavedChanges(false);
    session::putSession(m_table, loaded);
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

bool TForm1::saveUnderNewName(bool asSession)
{
    // The dialog offers both kinds, the one the session calls for first.
    SaveDialog1.selectedFilter =
        asSession ? QString::fromUtf8(kSessionFilter) : QString::fromUtf8(kMeasurementsFilter);
    const auto path = ui::askSaveFile(this, SaveDialog1);
    if (!path)
        return false;
    // Only a file that holds the table becomes current; after a failed write the next Save
    // must not go there.
    writeTableTo(*path);
    table::setCurrentFileName(ui::toStdString(*path));
    return true;
}

bool TForm1::saveToCurrentFile()
{
    const QString current = ui::toQString(table::currentFileName());
    if (current.isEmpty())
        return saveUnderNewName(hasSessionDetails());
    if (isSessionName(current) || !hasSessionDetails()) {
        writeTableTo(current);
        return true;
    }
    // A measurement file would drop the details: the user says whether that is meant.
    const ui::MessageResult answer =
        ui::prompts().message(this, QStringLiteral("New"),
                              QString::fromUtf8(kKeepDetails).arg(QFileInfo(current).fileName()),
                              ui::MessageIcon::None, ui::MessageButtons::YesNoCancel);
    if (answer == ui::MessageResult::No) {
        writeTableTo(current);
        return true;
    }
    if (answer != ui::MessageResult::Yes)
        return false;
    SaveDialog1.directory = QFileInfo(current).absolutePath();
    SaveDialog1.fileName = QFileInfo(current).completeBaseName() + QStringLiteral(".vxs");
    return saveUnderNewName(true);
}

void TForm1::Save1Click()
{
    if (!refuseEmptyTable())
        saveToCurrentFile();
}

void TForm1::SaveAs1Click()
{
    if (refuseEmptyTable())
        return;
    const QString current = ui::toQString(table::currentFileName());
    saveUnderNewName(current.isEmpty() ? hasSessionDetails() : isSessionName(current));
}

void TForm1::SaveSelectedAs1Click()
{
    if (refuseEmptyTable())
        return;
    SaveDialog1.selectedFilter = hasSessionDetails() ? QString::fromUtf8(kSessionFilter)
                                                     : QString::fromUtf8(kMeasurementsFilter);
    if (const auto path = ui::askSaveFile(this, SaveDialog1)) {
        const ui::GridSelection block = Grid->selection();
        if (isSessionName(*path))
            session::writeSessionSelection(m_table, block.top, block.bottom, m_details,
                                           m_sessionKept, ui::toLocalPath(*path));
        else
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
    return saveToCurrentFile();
}

void TForm1::Exit1Click()
{
    if (!table::isEmpty(m_table) && !offerToSave())
        return;
    if (!loadDevelopmentMayClose())
        return;
    m_exitConfirmed = true;
    close();
    m_exitConfirmed = false;
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (m_exitConfirmed) {
        event->accept();
        return;
    }
    bool closing = false;
    // A failed save is reported here and keeps the window open.
    ui::guarded([this, &closing] {
        closing = (!table::hasUnsavedChanges() || offerToSave()) && loadDevelopmentMayClose();
    })();
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
