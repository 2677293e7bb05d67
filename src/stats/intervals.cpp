#include "stats/intervals.h"

#include "stats/distributions.h"

#include <cmath>

namespace stats {

namespace {

bool isSummary(const MeanAndSd& s)
{
    return s.n >= 2 && std::isfinite(s.mean) && std::isfinite(s.sd) && s.sd >= 0;
}

// The half-width of the mean interval for n shots, t(1 - a/2, n - 1)·sd/√n.
std::optional<double> meanHalfWidth(double sd, std::size_t n, double level)
{
    const double shots = static_cast<double>(n);
    const auto t = studentTQuantile(1 - (1 - level) / 2, shots - 1);
    if (!t)
        return std::nullopt;
    return *t * sd / std::sqrt(shots);
}

} // namespace

std::optional<Interval> meanInterval(std::span<const double> values, double level)
{
    const auto s = meanAndSd(values);
    return s ? meanInterval(*s, level) : std::nullopt;
}

std::optional<Interval> meanInterval(const MeanAndSd& s, double level)
{
    if (!isSummary(s) || !isProbability(level))
        return std::nullopt;
    const auto half = meanHalfWidth(s.sd, s.n, level);
    if (!half)
        return std::nullopt;
    return Interval{s.mean - *half, s.mean + *half};
}

std::optional<Interval> sdInterval(std::span<const double> values, double level)
{
    const auto s = meanAndSd(values);
    return s ? sdInterval(*s, level) : std::nullopt;
}

std::optional<Interval> sdInterval(const MeanAndSd& s, double level)
{
    if (!isSummary(s) || !isProbability(level))
        return std::nullopt;
    const double alpha = 1 - level;
    const double df = static_cast<double>(s.n - 1);
    const auto upper = chiSquaredQuantile(1 - alpha / 2, df);
    const auto lower = chiSquaredQuantile(alpha / 2, df);
    if (!upper || !lower || *lower <= 0)
        return std::nullopt;
    return Interval{s.sd * std::sqrt(df / *upper), s.sd * std::sqrt(df / *lower)};
}

std::optional<std::size_t> shotsNeeded(double sd, double halfWidth, double level)
{
    if (!std::isfinite(sd) || sd < 0 || !std::isfinite(halfWidth) || halfWidth <= 0 ||
        !isProbability(level))
        return std::nullopt;
    // The half-width falls strictly as n grows (t and 1/√n both fall), so a bisection finds the
    // first n that is narrow enough in some twenty quantiles instead of one per shot.
    const auto narrowEnough = [&](std::size_t n) {
        const auto half = meanHalfWidth(sd, n, level);
        return half && *half <= halfWidth;
    };
    std::size_t lo = 2;
    std::size_t hi = kMostShotsNeeded;
    if (!narrowEnough(hi))
        return std::nullopt;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (narrowEnough(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

} // namespace stats
