#pragma once

#include "stats/confidencetexts.h"
#include "table/stringgrid.h"
#include "table/units.h"

#include <cstddef>
#include <optional>

// The confidence figures over a range of the table's rows, as the panel shows them and the
// exports list them: over the counted shots, in the units shown.
namespace exports {

struct ShotConfidence {
    stats::ConfidenceTexts texts;
    stats::ConfidenceFigures figures;
    // The row of the shot the flyer line names.
    std::optional<std::size_t> flyerRow;
};

// percent: the confidence level, 90, 95 or 99; target: the ± the shots needed are counted
// for, in the units shown, else the default for the shots' mean.
ShotConfidence confidenceOver(const table::StringGrid& grid, std::size_t top, std::size_t bottom,
                              table::Units units, int percent,
                              const stats::ConfidenceCaptions& captions,
                              std::optional<double> target = std::nullopt);

} // namespace exports
