#pragma once

#include "table/measurementtable.h"
#include "table/stringgrid.h"
#include "table/units.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The statistics as the exports list them: the six labels and the panel's figures, each a
// caption, a number in fixed notation (empty where the window shows "####" or a dash) and
// its unit.
namespace exports {

struct StatisticLine {
    std::string caption;
    std::string value;
    std::string unit;
    friend bool operator==(const StatisticLine&, const StatisticLine&) = default;
};

struct MarkedRows {
    std::size_t top = 1;
    std::size_t bottom = 1;
};

// labels: the last statistics pass, as the labels show it; without one (the labels show
// "###") its six lines are left out. marked: the rows the panel's selection figures are
// over; they are listed, with the rows, only for two rows or more, as the panel shows them.
std::vector<StatisticLine> statisticLines(const table::StringGrid& grid,
                                          const table::Statistics* labels, table::Units units,
                                          std::optional<MarkedRows> marked = std::nullopt);

} // namespace exports
