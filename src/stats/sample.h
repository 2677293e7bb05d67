#pragma once

#include <cstddef>
#include <optional>
#include <span>

// What every interval and test starts from, computed as the panel's shot statistics compute
// them, so that the figures beside each other agree to the last digit.
namespace stats {

struct MeanAndSd {
    std::size_t n = 0;
    double mean = 0;
    // Sample deviation (n - 1).
    double sd = 0;
};

// Absent below two values, or when a value (or their sum) is not finite: an interval over an
// infinity would only be NaN later.
std::optional<MeanAndSd> meanAndSd(std::span<const double> values);

} // namespace stats
