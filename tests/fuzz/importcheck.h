#pragma once

// Any bytes read by an import reader must either give series the table can hold, each of
// which goes into the table row for row, or be refused at a line the file has; never a
// crash, a hang or a leak. Any other exception escapes and counts as a fault.

#include "imports/importfile.h"
#include "imports/readers.h"
#include "memfile.h"
#include "runtime/encoding.h"
#include "table/measurementtable.h"

#include <algorithm>
#include <cstdlib>

template <class Read> int checkImport(const std::uint8_t* data, std::size_t size, Read read)
{
    const MemFile input(data, size);
    imports::ImportedFile file;
    try {
        file = read(input.path());
    } catch (const imports::ImportRefused& refusal) {
        // There is one more line than line ends, at most.
        const auto lines = static_cast<std::size_t>(std::count(data, data + size, '\n') +
                                                    std::count(data, data + size, '\r') + 1);
        if (refusal.line() < 1 || refusal.line() > lines || refusal.path() != input.path())
            std::abort();
        return 0;
    }
    if (file.series.empty())
        std::abort();
    std::size_t shots = 0;
    for (const imports::ImportedSeries& series : file.series) {
        shots += series.velocities.size();
        for (double v : series.velocities) {
            if (!(v > 0 && v < imports::kMaxVelocity))
                std::abort();
        }
        if (series.weightGrams && !(*series.weightGrams > 0 && *series.weightGrams < 1000))
            std::abort();
        table::StringGrid grid = table::makeGrid();
        imports::putSeries(grid, series, imports::VelocityUnit::FeetPerSecond, "0,547", "stem");
        if (grid.rowCount() != std::max<std::size_t>(series.velocities.size(), 1) + 1)
            std::abort();
        for (std::size_t r = 1; r <= series.velocities.size(); ++r) {
            if (grid.cell(table::ColN, r) != std::to_string(r) ||
                grid.cell(table::ColV, r).empty() ||
                rt::utf8Length(grid.cell(table::ColBullet, r)) > 128)
                std::abort();
        }
    }
    if (shots > imports::kMaxImportShots)
        std::abort();
    return 0;
}

// One reader on its own, so the fuzzer explores it whatever the format test would say.
template <imports::ImportedFile (*reader)(imports::ImportLines&)>
imports::ImportedFile readWith(const std::string& path)
{
    imports::ImportLines lines(path);
    return reader(lines);
}
