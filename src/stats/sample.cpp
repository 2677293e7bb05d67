#include "stats/sample.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace stats {

std::optional<MeanAndSd> meanAndSd(std::span<const double> values)
{
    if (values.size() < 2)
        return std::nullopt;
    const double n = static_cast<double>(values.size());
    MeanAndSd s;
    s.n = values.size();
    s.mean = std::accumulate(values.begin(), values.end(), 0.0) / n;
    if (!std::isfinite(s.mean))
        return std::nullopt;
    // A string of one velocity repeated has SD 0 exactly; the rounded mean of, say, ten times
    // 850.1 is not 850.1 and would leave a deviation of a few ulps.
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    if (*lo == *hi) {
        s.mean = *lo;
        return s;
    }
    // Deviations from the mean, not sum of squares minus square of sums: the latter cancels
    // badly on a tight string around 800 m/s.
    double squares = 0;
    for (const double x : values)
        squares += (x - s.mean) * (x - s.mean);
    s.sd = std::sqrt(squares / (n - 1));
    if (!std::isfinite(s.sd))
        return std::nullopt;
    return s;
}

} // namespace stats
