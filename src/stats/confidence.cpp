#include "stats/confidence.h"

#include "stats/sample.h"

#include <algorithm>
#include <cmath>

namespace stats {

double defaultShotsTarget(double mean)
{
    return std::max(1.0, std::round(std::fabs(mean) / 100));
}

ConfidenceFigures confidenceFigures(std::span<const double> values, double level,
                                    std::optional<double> target)
{
    ConfidenceFigures f;
    f.shots = values.size();
    f.level = level;
    const auto s = values.size() >= kFewestShotsForConfidence ? meanAndSd(values) : std::nullopt;
    if (!s) {
        f.target = target.value_or(0);
        return f;
    }
    f.mean = s->mean;
    f.target = target.value_or(defaultShotsTarget(s->mean));
    f.meanRange = meanInterval(*s, level);
    f.sdRange = sdInterval(*s, level);
    f.shotsNeeded = shotsNeeded(s->sd, f.target, level);
    f.grubbs = grubbsTest(values, level);
    return f;
}

} // namespace stats
