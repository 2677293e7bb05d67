#include "imports/importfile.h"

#include "imports/importlines.h"
#include "imports/readers.h"

namespace imports {

std::string_view formatName(Format format)
{
    switch (format) {
    case Format::LabRadar:
        return "LabRadar series report";
    case Format::GarminXero:
        return "Garmin Xero CSV file";
    case Format::MagnetoSpeed:
        return "MagnetoSpeed log";
    case Format::VexorelTable:
        return "Vexorel table CSV";
    case Format::GarminFit:
        return "Garmin Xero FIT file";
    case Format::PlainList:
        break;
    }
    return "list of velocities";
}

ImportRefused::ImportRefused(std::string path, std::size_t line, const std::string& message)
    : Exception(message)
    , m_path(std::move(path))
    , m_line(line)
{
}

UnknownFormat::UnknownFormat(std::string path, std::size_t line)
    : ImportRefused(path, line,
                    "'" + path + "' is not a chronograph export (line " + std::to_string(line) +
                        "). Supported are LabRadar series reports, Garmin Xero (ShotView) CSV "
                        "and FIT files, MagnetoSpeed LOG.CSV files and lists of velocities.")
{
}

LabRadarTrackFile::LabRadarTrackFile(std::string path, std::size_t line)
    : ImportRefused(path, line,
                    "'" + path + "' is a LabRadar track file (line " + std::to_string(line) +
                        "): it holds the radar track of a single shot. Import the series "
                        "report (SRnnnn Report.csv) instead.")
{
}

ImportCancelled::ImportCancelled()
    : Exception("The import was cancelled")
{
}

ImportedFile readImportFile(const std::string& path, std::stop_token stop)
{
    if (stop.stop_requested())
        throw ImportCancelled();
    if (isFitFile(path))
        return importFit(path);
    ImportLines lines(path, std::move(stop));
    if (const std::optional<std::size_t> line = labRadarTrackHeader(lines))
        throw LabRadarTrackFile(path, *line);
    if (startsLabRadarReport(lines))
        return readLabRadar(lines);
    if (startsMagnetoSpeedLog(lines))
        return readMagnetoSpeed(lines);
    if (startsGarminXero(lines))
        return readGarminXero(lines);
    if (startsVexorelTable(lines))
        return readVexorelTable(lines);
    return readPlainList(lines);
}

} // namespace imports
