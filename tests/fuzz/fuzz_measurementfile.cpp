// Any bytes read as a measurement file must either load, and survive a save and a second load
// unchanged, or be refused at a line of the file with the table left as it was. The numbers
// the table keeps beside its texts must be the texts' own conversions.

#include "memfile.h"
#include "runtime/convert.h"
#include "table/measurementfile.h"
#include "table/measurementtable.h"
#include "table/velocity.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unistd.h>

namespace {

bool same(double kept, std::optional<double> converted)
{
    return converted ? kept == *converted : std::isnan(kept);
}

void checkNumbers(const table::StringGrid& grid)
{
    const table::RowNumbers& n = grid.numbers();
    for (std::size_t r = 1; r < grid.rowCount(); ++r) {
        if (!same(n.velocity(r), table::parseVelocity(grid.cell(table::ColV, r))) ||
            !same(n.velocityAsDecimal(r), rt::parseFloat(grid.cell(table::ColV, r))) ||
            !same(n.energy(r), rt::parseFloat(grid.cell(table::ColE, r))) ||
            !same(n.weight(r), rt::parseFloat(grid.cell(table::ColM, r))))
            std::abort();
    }
}

// Records lying whole in the read buffer are split there at once: they must read as they do
// line by line.
void checkLineByLine(const table::StringGrid& grid, const std::string& path)
{
    table::MeasurementReader reader(path);
    table::MeasurementRecord record;
    std::size_t row = 1;
    do {
        reader.readRecord(record);
        for (std::size_t c = 0; c < table::kLinesPerRecord; ++c) {
            if (row >= grid.rowCount() || grid.cell(c, row) != record[c])
                std::abort();
        }
        ++row;
    } while (!reader.atEnd());
    if (row != grid.rowCount())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const MemFile input(data, size);
    table::StringGrid first = table::makeGrid();
    try {
        table::readTable(first, input.path());
    } catch (const table::NotMeasurementFile& refusal) {
        // A refusal names a line the file has: there is one more than it has line ends, at most.
        const auto lines = static_cast<std::size_t>(std::count(data, data + size, '\n') +
                                                    std::count(data, data + size, '\r') + 1);
        if (refusal.line() < 1 || refusal.line() > lines || first.rowCount() != 2)
            std::abort();
        for (std::size_t c = 0; c < table::kColumnCount; ++c) {
            if (!first.cell(c, 1).empty())
                std::abort();
        }
        return 0;
    }
    if (first.rowCount() < 2)
        std::abort();
    checkNumbers(first);
    checkLineByLine(first, input.path());
    if (first.rowCount() > 3) {
        table::deleteRows(first, 2, 2);
        checkNumbers(first);
    }

    // In memory: the save syncs to disk, which on a real disk would slow the fuzzer tenfold.
    char dir[] = "/dev/shm/vexorel-fuzz-XXXXXX";
    if (!::mkdtemp(dir))
        return 0;
    const std::string saved = std::string(dir) + "/f.vxm";
    table::writeTable(first, saved);
    table::StringGrid second = table::makeGrid();
    table::readTable(second, saved);
    ::unlink(saved.c_str());
    ::rmdir(dir);

    if (second.rowCount() != first.rowCount())
        std::abort();
    for (std::size_t r = 1; r < first.rowCount(); ++r) {
        for (std::size_t c = 0; c < table::kColumnCount; ++c) {
            if (first.cell(c, r) != second.cell(c, r))
                std::abort();
        }
    }
    return 0;
}
