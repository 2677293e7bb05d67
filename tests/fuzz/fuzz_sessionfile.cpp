// Any bytes read as a session file must either be refused, at a line the file has or for its
// version, or load into a table whose every row a measurement file can hold; and what loaded
// must survive a save and a second load unchanged, details and unknown members too, and save
// to the same bytes again.

#include "memfile.h"
#include "session/sessionfile.h"
#include "support/tempdir.h"
#include "table/measurementfile.h"
#include "table/measurementtable.h"

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

namespace {

struct Loaded {
    table::StringGrid grid = table::makeGrid();
    table::StringDetails details;
    std::string kept;
};

Loaded load(const std::string& path)
{
    session::LoadedSession loaded = session::readSession(path);
    Loaded result;
    session::putSession(result.grid, loaded);
    result.details = std::move(loaded.details);
    result.kept = std::move(loaded.kept);
    return result;
}

bool sameCells(const table::StringGrid& a, const table::StringGrid& b, std::size_t columns)
{
    if (a.rowCount() != b.rowCount())
        return false;
    for (std::size_t r = 1; r < a.rowCount(); ++r) {
        for (std::size_t c = 0; c < columns; ++c) {
            if (a.cell(c, r) != b.cell(c, r))
                return false;
        }
    }
    return true;
}

// What a measurement file needs of a row, and what the grid's detail columns may hold.
bool fitForTheTable(const table::StringGrid& grid)
{
    for (std::size_t r = 1; r < grid.rowCount(); ++r) {
        if (!table::isRecordStart(grid.cell(table::ColN, r)))
            return false;
        const std::string_view excluded = grid.cell(table::ColExcluded, r);
        if (!excluded.empty() && excluded != table::kExcludedMark)
            return false;
        for (std::size_t c = 0; c < table::kGridColumnCount; ++c) {
            const std::string_view text = grid.cell(c, r);
            if (text.size() > rt::kMaxLineBytes ||
                text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const MemFile input(data, size);
    Loaded first;
    try {
        first = load(input.path());
    } catch (const session::NotSessionFile& refusal) {
        // There is one more line than line ends, at most.
        const auto lines = static_cast<std::size_t>(std::count(data, data + size, '\n') +
                                                    std::count(data, data + size, '\r') + 1);
        if (refusal.line() < 1 || refusal.line() > lines || refusal.path() != input.path())
            std::abort();
        return 0;
    } catch (const session::NewerSessionFile& refusal) {
        if (refusal.version() <= session::kSessionVersion)
            std::abort();
        return 0;
    }
    if (first.grid.rowCount() < 2 || first.grid.rowCount() > session::kMaxSessionShots + 1 ||
        !fitForTheTable(first.grid))
        std::abort();

    // In memory: a save syncs to disk, which on a real disk would slow the fuzzer tenfold.
    char dir[] = "/dev/shm/vexorel-fuzz-XXXXXX";
    if (!::mkdtemp(dir))
        return 0;
    const std::string saved = std::string(dir) + "/s.vxs";
    const std::string again = std::string(dir) + "/again.vxs";
    const std::string measurements = std::string(dir) + "/s.vxm";
    session::writeSession(first.grid, first.details, first.kept, saved);
    const Loaded second = load(saved);
    session::writeSession(second.grid, second.details, second.kept, again);
    table::writeTable(second.grid, measurements);
    table::StringGrid fromMeasurements = table::makeGrid();
    table::readTable(fromMeasurements, measurements);
    const bool sameBytes = readBytes(saved) == readBytes(again);
    for (const std::string& path : {saved, again, measurements})
        ::unlink(path.c_str());
    ::rmdir(dir);

    if (!sameCells(first.grid, second.grid, table::kGridColumnCount) ||
        second.details != first.details || second.kept != first.kept || !sameBytes ||
        !sameCells(first.grid, fromMeasurements, table::kColumnCount))
        std::abort();
    return 0;
}
