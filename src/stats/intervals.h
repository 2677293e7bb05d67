#pragma once

#include "stats/sample.h"

#include <cstddef>
#include <optional>
#include <span>

// How far the true mean and SD of a load may be from what a string showed, and how many shots
// would narrow the mean down. `level` is a confidence level as a probability (0.95 for 95 %);
// outside (0, 1) nothing exists.
namespace stats {

struct Interval {
    double low = 0;
    double high = 0;
};

// Student's t with n - 1 degrees of freedom: mean ± t·s/√n. Needs two values.
std::optional<Interval> meanInterval(std::span<const double> values, double level);
std::optional<Interval> meanInterval(const MeanAndSd& s, double level);

// From the chi-square distribution of (n - 1)s²/σ², hence lopsided: the true SD may be much
// larger than s but not much smaller. Needs two values.
std::optional<Interval> sdInterval(std::span<const double> values, double level);
std::optional<Interval> sdInterval(const MeanAndSd& s, double level);

// Where shotsNeeded stops looking: far beyond any string a chronograph holds.
inline constexpr std::size_t kMostShotsNeeded = 1'000'000;

// The fewest shots (at least 2) whose mean interval is at most ±halfWidth if the SD stays `sd`.
// SD 0 needs 2, the fewest that have an SD at all. Absent when more than kMostShotsNeeded would
// be needed, for a half-width that is not positive or an SD that is negative.
std::optional<std::size_t> shotsNeeded(double sd, double halfWidth, double level);

} // namespace stats
