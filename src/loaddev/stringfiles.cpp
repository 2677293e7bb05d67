#include "loaddev/stringfiles.h"

#include "imports/importfile.h"
#include "imports/ui/importchoice.h"
#include "session/sessionfile.h"
#include "table/measurementfile.h"
#include "ui/prompts.h"
#include "ui/qtext.h"

#include <QDir>
#include <QFileInfo>

namespace loaddev {

namespace {

std::optional<StringFromFile> readSession(QWidget* parent, const QString& path)
{
    try {
        session::LoadedSession loaded = session::readSession(ui::toLocalPath(path));
        StringFromFile string;
        session::putSession(string.grid, loaded);
        string.details = std::move(loaded.details);
        string.kept = std::move(loaded.kept);
        return string;
    } catch (const session::NotSessionFile& refusal) {
        ui::showProgramMessage(parent, QStringLiteral("'%1' is not a Vexorel session (line %2)")
                                           .arg(QDir::toNativeSeparators(path))
                                           .arg(refusal.line()));
    } catch (const session::NewerSessionFile& refusal) {
        ui::showProgramMessage(parent, ui::toQString(refusal.what()));
    }
    return std::nullopt;
}

std::optional<StringFromFile> readMeasurements(QWidget* parent, const QString& path)
{
    try {
        StringFromFile string;
        table::putRecords(string.grid, table::readRecords(ui::toLocalPath(path)));
        return string;
    } catch (const table::NotMeasurementFile& refusal) {
        ui::showProgramMessage(parent, QStringLiteral("'%1' is not a measurement file (line %2)")
                                           .arg(QDir::toNativeSeparators(path))
                                           .arg(refusal.line()));
    }
    return std::nullopt;
}

// notAnExport: no export format fits, and nothing was shown.
std::optional<StringFromFile> readExport(QWidget* parent, const QString& path, bool& notAnExport)
{
    std::optional<imports::ImportedFile> file;
    try {
        file = imports::readImportFile(ui::toLocalPath(path));
    } catch (const imports::UnknownFormat&) {
        notAnExport = true;
        return std::nullopt;
    } catch (const imports::ImportRefused& refusal) {
        ui::showProgramMessage(parent, ui::toQString(refusal.what()));
        return std::nullopt;
    }
    const QString name = QFileInfo(path).fileName();
    const std::optional<ImportChoice> choice = askImportChoice(parent, *file, name);
    if (!choice || file->series.empty())
        return std::nullopt;
    const imports::ImportedSeries& series = file->series[choice->series];
    if (series.shots.empty()) {
        ui::showProgramMessage(
            parent,
            QStringLiteral("'%1' holds a series without shots; no string is added.").arg(name));
        return std::nullopt;
    }
    StringFromFile string;
    imports::putSeries(string.grid, series, choice->unitForUnknown, std::string_view(),
                       ui::toStdString(QFileInfo(path).completeBaseName()));
    string.details = series.details;
    return string;
}

} // namespace

std::optional<StringFromFile> readStringFile(QWidget* parent, const QString& path)
{
    // A list of whole velocities also passes for a measurement file with missing lines, so
    // the name says which reader goes first, as in the main window.
    std::optional<StringFromFile> string;
    const std::string local = ui::toLocalPath(path);
    if (session::isSessionFile(local)) {
        string = readSession(parent, path);
    } else if (QFileInfo(path).suffix().compare(QLatin1String("vxm"), Qt::CaseInsensitive) == 0) {
        string = readMeasurements(parent, path);
    } else {
        bool notAnExport = false;
        string = readExport(parent, path, notAnExport);
        if (notAnExport)
            string = readMeasurements(parent, path);
    }
    if (string && string->details.title.empty())
        string->details.title = ui::toStdString(QFileInfo(path).completeBaseName());
    return string;
}

} // namespace loaddev
