#pragma once

// Any bytes read by an import reader must either give series the table can hold, each of
// which goes into the table row for row, or be refused at a line the file has; never a
// crash, a hang or a leak. Any other exception escapes and counts as a fault.

#include "imports/fitfile.h"
#include "imports/importfile.h"
#include "imports/readers.h"
#include "imports/velocitycolumn.h"
#include "memfile.h"
#include "runtime/convert.h"
#include "runtime/encoding.h"
#include "table/measurementtable.h"
#include "table/units.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

template <class Read> int checkImport(const std::uint8_t* data, std::size_t size, Read read)
{
    const MemFile input(data, size);
    imports::ImportedFile file;
    try {
        file = read(input.path());
    } catch (const imports::ImportRefused& refusal) {
        // There is one more line than line ends, at most; a FIT file has none.
        const auto lines = static_cast<std::size_t>(std::count(data, data + size, '\n') +
                                                    std::count(data, data + size, '\r') + 1);
        const bool fit = imports::isFitHeader(std::span<const std::uint8_t>(data, size));
        if ((fit ? refusal.line() != 0 : refusal.line() < 1 || refusal.line() > lines) ||
            refusal.path() != input.path())
            std::abort();
        return 0;
    }
    if (file.series.empty())
        std::abort();
    std::size_t shots = 0;
    for (const imports::ImportedSeries& series : file.series) {
        shots += series.shots.size();
        // As recorded, within the range of the unit (either unit while the file names none).
        for (const imports::ImportedShot& shot : series.shots) {
            const std::optional<double> v = rt::parseFloat(shot.velocity);
            const double slowest = series.unit == imports::VelocityUnit::FeetPerSecond
                                       ? table::feetPerSecond(imports::kSlowestVelocity)
                                       : imports::kSlowestVelocity;
            if (!v || *v < slowest || *v > table::feetPerSecond(imports::kFastestVelocity) ||
                (series.unit == imports::VelocityUnit::MetresPerSecond &&
                 *v > imports::kFastestVelocity))
                std::abort();
        }
        if (series.weightGrams && !(*series.weightGrams > 0 && *series.weightGrams < 1000))
            std::abort();
        table::StringGrid grid = table::makeGrid();
        imports::putSeries(grid, series, imports::VelocityUnit::FeetPerSecond, "0,547", "stem");
        if (grid.rowCount() != std::max<std::size_t>(series.shots.size(), 1) + 1)
            std::abort();
        for (std::size_t r = 1; r <= series.shots.size(); ++r) {
            if (grid.cell(table::ColN, r) != std::to_string(r) ||
                std::isnan(grid.numbers().velocity(r)) ||
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
