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

// The panel's confidence figures: the level in percent (90, 95, 99) and the ± the shots
// needed are counted for, in the units shown (none: the default for the shots' mean).
struct ConfidenceSetting {
    int percent = 95;
    std::optional<double> target;
};

// labels: the last statistics pass, as the labels show it; without one (the labels show
// "###") its six lines are left out. marked: the rows the panel's selection figures are
// over; they are listed, with the rows, only for two rows or more, as the panel shows them.
// confidence: the mean's and SD's ranges, the shots needed and the flyer line, over all
// shots and over the marked rows, as the panel shows them; a figure the panel shows as a
// dash is an empty value.
std::vector<StatisticLine>
statisticLines(const table::StringGrid& grid, const table::Statistics* labels, table::Units units,
               std::optional<MarkedRows> marked = std::nullopt,
               std::optional<ConfidenceSetting> confidence = std::nullopt);

} // namespace exports
