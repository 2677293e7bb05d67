#include "stats/grubbs.h"

#include "stats/distributions.h"
#include "stats/sample.h"

#include <cmath>

namespace stats {

std::optional<double> grubbsCritical(std::size_t n, double level)
{
    if (n < 3 || !isProbability(level))
        return std::nullopt;
    const double shots = static_cast<double>(n);
    const auto t = studentTQuantile(1 - (1 - level) / (2 * shots), shots - 2);
    if (!t)
        return std::nullopt;
    const double t2 = *t * *t;
    return (shots - 1) / std::sqrt(shots) * std::sqrt(t2 / (shots - 2 + t2));
}

std::optional<GrubbsResult> grubbsTest(std::span<const double> values, double level)
{
    if (values.size() < 3)
        return std::nullopt;
    const auto s = meanAndSd(values);
    const auto critical = grubbsCritical(values.size(), level);
    if (!s || !critical)
        return std::nullopt;
    GrubbsResult r;
    r.critical = *critical;
    double farthest = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double d = std::fabs(values[i] - s->mean);
        if (d > farthest) {
            farthest = d;
            r.index = i;
        }
    }
    // Equal values are no outliers, rather than 0/0.
    if (s->sd > 0)
        r.g = farthest / s->sd;
    r.outlier = r.g > r.critical;
    return r;
}

} // namespace stats
