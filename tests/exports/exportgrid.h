#pragma once

#include "exports/detaillines.h"
#include "table/measurementtable.h"
#include "table/stringdetails.h"
#include "table/stringgrid.h"

#include <array>
#include <ostream>
#include <string>
#include <vector>

// A measurement table filled as the program fills it: numbered rows, energies by the energy
// rule from the row's weight, deviations from the statistics pass.
inline table::StringGrid
exportGrid(const std::vector<std::array<std::string, 3>>& velocityWeightBullet)
{
    table::StringGrid grid = table::makeGrid();
    table::writeHeader(grid);
    grid.setRowCount(velocityWeightBullet.size() + 1);
    for (std::size_t i = 0; i < velocityWeightBullet.size(); ++i) {
        const auto& [velocity, weight, bullet] = velocityWeightBullet[i];
        grid.setCell(table::ColN, i + 1, std::to_string(i + 1));
        grid.setCell(table::ColV, i + 1, velocity);
        grid.setCell(table::ColM, i + 1, weight);
        grid.setCell(table::ColBullet, i + 1, bullet);
        table::applyEnergyRule(grid, i + 1, weight);
    }
    table::deviationPass(grid, table::statisticsPass(grid).meanVelocity);
    return grid;
}

namespace table {

// A failed comparison shows the fields, not the bytes.
inline void PrintTo(const StringDetails& details, std::ostream* out)
{
    *out << "{";
    for (const exports::DetailLine& line : exports::detailLines(details))
        *out << " " << line.caption << ": \"" << line.value << "\"";
    *out << " }";
}

} // namespace table
