#include "session/sessionfile.h"

#include "runtime/asciitext.h"
#include "runtime/wholefile.h"
#include "table/measurementfile.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

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
        std::exchange(loaded.shots, table::CellRows(table::kGridColumnCount)), {}, nullptr};
    table::putRecords(grid, std::move(records));
}

bool isSessionFile(const std::string& path)
{
    if (rt::endsWithText(path, ".vxs"))
        return true;
    std::vector<std::uint8_t> start;
    try {
        start = rt::readFileStart(path, 64);
    } catch (const rt::Exception&) {
        // A file that cannot be read is reported by the reader that tries it.
        return false;
    }
    std::string_view text(reinterpret_cast<const char*>(start.data()), start.size());
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '{';
}

} // namespace session
