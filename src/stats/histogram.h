#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

// The distribution chart's bars and its normal curve.
namespace stats {

struct Quartiles {
    double q1 = 0;
    double median = 0;
    double q3 = 0;
};

// Linear interpolation between order statistics at h = (n - 1)p ("type 7"), what spreadsheets
// and R give by default, so a user can check the figures. Absent without values.
std::optional<Quartiles> quartiles(std::span<const double> values);

// More bars than a chart can show apart.
inline constexpr std::size_t kMostBins = 100;

// Bin i counts the values in [first + i·width, first + (i + 1)·width); a value on an edge counts
// in the bin to its right, so the largest value is always in the last bin.
struct Histogram {
    double first = 0;
    double width = 0;
    std::vector<std::size_t> counts;
    // All values counted, for the normal curve's scale.
    std::size_t values = 0;
};

// Freedman–Diaconis width 2·IQR·n^(-1/3), never finer than the values' resolution (1 for whole
// m/s, 0.1 for one decimal; this also gives equal quartiles a width), rounded up to 1, 2 or 5
// × 10^k so that edges fall on round numbers, and widened until there are at most kMostBins.
// Absent without values, for a resolution that is not positive or a value that is not finite.
std::optional<Histogram> histogram(std::span<const double> values, double resolution);

// The fitted normal curve on the bars' scale at x: n·width·pdf(x; mean, sd). Absent for an SD
// that is not positive: there is no curve to draw over one repeated value.
std::optional<double> normalCurve(const Histogram& h, double mean, double sd, double x);

} // namespace stats
