// Any bytes read as a load test must either be refused, at a line the file has or for its
// version, or load into strings whose every row a measurement file can hold, with values that
// are values and comparisons of strings the test has; and what loaded must survive a save
// and a second load unchanged, and save to the same bytes again.

#include "memfile.h"
#include "session/loadtestfile.h"
#include "session/sessionfile.h"
#include "support/tempdir.h"
#include "table/measurementfile.h"

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

namespace {

bool sameCells(const table::StringGrid& a, const table::StringGrid& b)
{
    if (a.rowCount() != b.rowCount())
        return false;
    for (std::size_t r = 1; r < a.rowCount(); ++r) {
        for (std::size_t c = 0; c < table::kGridColumnCount; ++c) {
            if (a.cell(c, r) != b.cell(c, r))
                return false;
        }
    }
    return true;
}

bool sameTest(const session::LoadTest& a, const session::LoadTest& b)
{
    if (a.title != b.title || !(a.variable == b.variable) || a.comparisons != b.comparisons ||
        a.kept != b.kept || a.strings.size() != b.strings.size())
        return false;
    for (std::size_t i = 0; i < a.strings.size(); ++i) {
        const session::LoadTestString& x = a.strings[i];
        const session::LoadTestString& y = b.strings[i];
        if (!sameCells(x.grid, y.grid) || x.details != y.details || x.kept != y.kept ||
            x.value != y.value)
            return false;
    }
    return true;
}

// What the window relies on of a loaded test.
bool fitForTheWindow(const session::LoadTest& test)
{
    if (test.strings.size() > session::kMaxLoadTestStrings)
        return false;
    for (const session::Comparison& c : test.comparisons) {
        if (c.first >= test.strings.size() || c.second >= test.strings.size() ||
            c.first == c.second)
            return false;
    }
    const auto units = session::unitsOf(test.variable.kind);
    if (!units.empty() && std::find(units.begin(), units.end(), test.variable.unit) == units.end())
        return false;
    for (const session::LoadTestString& s : test.strings) {
        if (session::keptValue(s.value) != s.value || s.grid.rowCount() < 2 ||
            s.grid.rowCount() > session::kMaxSessionShots + 1)
            return false;
        for (std::size_t r = 1; r < s.grid.rowCount(); ++r) {
            if (!table::isRecordStart(s.grid.cell(table::ColN, r)))
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const MemFile input(data, size);
    session::LoadTest first;
    try {
        first = session::readLoadTest(input.path());
    } catch (const session::NotLoadTestFile& refusal) {
        // There is one more line than line ends, at most.
        const auto lines = static_cast<std::size_t>(std::count(data, data + size, '\n') +
                                                    std::count(data, data + size, '\r') + 1);
        if (refusal.line() < 1 || refusal.line() > lines || refusal.path() != input.path())
            std::abort();
        return 0;
    } catch (const session::NewerLoadTestFile& refusal) {
        if (refusal.version() <= session::kLoadTestVersion)
            std::abort();
        return 0;
    }
    if (!fitForTheWindow(first))
        std::abort();

    // In memory: a save syncs to disk, which on a real disk would slow the fuzzer tenfold.
    char dir[] = "/dev/shm/vexorel-fuzz-XXXXXX";
    if (!::mkdtemp(dir))
        return 0;
    const std::string saved = std::string(dir) + "/t.vxl";
    const std::string again = std::string(dir) + "/again.vxl";
    session::writeLoadTest(first, saved);
    const session::LoadTest second = session::readLoadTest(saved);
    session::writeLoadTest(second, again);
    const bool sameBytes = readBytes(saved) == readBytes(again);
    for (const std::string& path : {saved, again})
        ::unlink(path.c_str());
    ::rmdir(dir);

    if (!sameTest(first, second) || !sameBytes)
        std::abort();
    return 0;
}
