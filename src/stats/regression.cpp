#include "stats/regression.h"

#include "stats/distributions.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace stats {

std::optional<LineFit> fitLine(std::span<const double> x, std::span<const double> y, double level)
{
    if (x.size() != y.size() || x.size() < 3 || !isProbability(level))
        return std::nullopt;
    const double n = static_cast<double>(x.size());
    const double mx = std::accumulate(x.begin(), x.end(), 0.0) / n;
    const double my = std::accumulate(y.begin(), y.end(), 0.0) / n;
    if (!std::isfinite(mx) || !std::isfinite(my))
        return std::nullopt;
    if (std::all_of(x.begin(), x.end(), [&](double v) { return v == x.front(); }))
        return std::nullopt;

    // Sums about the means, as for the SD: velocities near 850 and charges near 40 would
    // cancel badly in raw sums of products.
    double sxx = 0;
    double sxy = 0;
    double syy = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double dx = x[i] - mx;
        const double dy = y[i] - my;
        sxx += dx * dx;
        sxy += dx * dy;
        syy += dy * dy;
    }
    LineFit fit;
    fit.slope = sxy / sxx;
    fit.intercept = my - fit.slope * mx;
    // The residuals themselves rather than syy - slope·sxy, which cancels on a good fit.
    double sse = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double r = y[i] - (fit.intercept + fit.slope * x[i]);
        sse += r * r;
    }
    if (syy > 0)
        fit.rSquared = std::clamp(1 - sse / syy, 0.0, 1.0);
    fit.slopeError = std::sqrt(sse / (n - 2) / sxx);
    const auto t = studentTQuantile(1 - (1 - level) / 2, n - 2);
    if (!t || !std::isfinite(fit.slope) || !std::isfinite(fit.slopeError))
        return std::nullopt;
    const double half = *t * fit.slopeError;
    fit.slopeInterval = {fit.slope - half, fit.slope + half};
    return fit;
}

std::vector<Run> flatSpots(std::span<const double> x, std::span<const double> means,
                           const LineFit& fit)
{
    std::vector<Run> runs;
    if (x.size() != means.size() || x.size() < 2)
        return runs;
    if (fit.slopeInterval.low <= 0 && fit.slopeInterval.high >= 0)
        return runs;
    const auto flat = [&](std::size_t i) {
        const double predicted = 0.5 * std::fabs(fit.slope) * std::fabs(x[i + 1] - x[i]);
        return std::fabs(means[i + 1] - means[i]) < predicted;
    };
    for (std::size_t i = 0; i + 1 < x.size();) {
        if (!flat(i)) {
            ++i;
            continue;
        }
        std::size_t last = i + 1;
        while (last + 1 < x.size() && flat(last))
            ++last;
        runs.push_back({i, last});
        i = last;
    }
    return runs;
}

} // namespace stats
