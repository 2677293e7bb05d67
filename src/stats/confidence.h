#pragma once

#include "stats/grubbs.h"
#include "stats/intervals.h"

#include <cstddef>
#include <optional>
#include <span>

// Everything the panel says about how sure a string's figures are, over the velocities the
// statistics count, in the unit shown. `level` is the confidence level as a probability.
namespace stats {

// Two shots do have an interval, but one so wide (t = 12.7 at 95 %) that it only misleads, and
// Grubbs' test needs three: below this every figure here is left out alike.
inline constexpr std::size_t kFewestShotsForConfidence = 3;

struct ConfidenceFigures {
    std::size_t shots = 0;
    double level = 0.95;
    // The ± the shots needed are counted for, in the values' unit.
    double target = 0;
    // All absent below kFewestShotsForConfidence shots.
    std::optional<double> mean;
    std::optional<Interval> meanRange;
    std::optional<Interval> sdRange;
    // Absent also when more than kMostShotsNeeded would be needed.
    std::optional<std::size_t> shotsNeeded;
    std::optional<GrubbsResult> grubbs;
};

// The target a new string starts with: 1 % of the mean, to a whole unit, at least 1.
double defaultShotsTarget(double mean);

// With no target, defaultShotsTarget of the values' mean.
ConfidenceFigures confidenceFigures(std::span<const double> values, double level,
                                    std::optional<double> target = std::nullopt);

} // namespace stats
