#pragma once

#include <cstddef>
#include <optional>
#include <span>

// Is the shot farthest from the mean too far for a normal string of this size? Grubbs' two-sided
// test for one outlier; `level` is the confidence level as a probability (0.95: α = 0.05).
namespace stats {

struct GrubbsResult {
    // The value farthest from the mean (the first of equals).
    std::size_t index = 0;
    // Its distance from the mean in SDs; 0 when every value is the same.
    double g = 0;
    double critical = 0;
    bool outlier = false;
};

// Needs three values: with two, both are always equally far from the mean.
std::optional<GrubbsResult> grubbsTest(std::span<const double> values, double level);

// (n - 1)/√n · √(t²/(n - 2 + t²)), t the upper α/(2n) point with n - 2 degrees of freedom.
std::optional<double> grubbsCritical(std::size_t n, double level);

} // namespace stats
