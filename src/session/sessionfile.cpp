#include "session/sessionfile.h"

#include "table/measurementfile.h"

#include <utility>

namespace session {

NotSessionFile::NotSessionFile(std::string path, std::size_t line)
    : Exception("'" + path + "' is not a Vexorel session (line " + std::to_string(line) + ")")
    , m_path(std::move(path))
    , m_line(line)
{
}

NewerSessionFile::NewerSessionFile(std::string path, std::uint64_t version)
    : Exception("'" + path + "' is a Vexorel session of version " + std::to_string(version) +
                "; this program reads version " + std::to_string(kSessionVersion))
    , m_path(std::move(path))
    , m_version(version)
{
}

void putSession(table::StringGrid& grid, LoadedSession& loaded)
{
    table::MeasurementRecords records{
        std::exchange(loaded.shots, table::CellRows(table::kGridColumnCount)), nullptr};
    table::putRecords(grid, std::move(records));
}

} // namespace session
