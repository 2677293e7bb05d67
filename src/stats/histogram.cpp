#include "stats/histogram.h"

#include "stats/distributions.h"

#include <algorithm>
#include <cmath>

namespace stats {

namespace {

// Type 7 quantile of v, which nth_element reorders.
double quantile(std::vector<double>& v, double p)
{
    const double h = static_cast<double>(v.size() - 1) * p;
    const double below = std::floor(h);
    const auto lo = v.begin() + static_cast<std::ptrdiff_t>(below);
    std::nth_element(v.begin(), lo, v.end());
    if (lo + 1 == v.end())
        return *lo;
    const double next = *std::min_element(lo + 1, v.end());
    return *lo + (h - below) * (next - *lo);
}

// A width of 1, 2 or 5 × 10^k, held as mantissa and exponent: below 1 it is divided by an exact
// power of ten, so that it is the double nearest the decimal and its multiples, the edges, fall
// on round numbers as far as doubles can.
struct RoundWidth {
    int mantissa = 1;
    int exponent = 0;

    double value() const
    {
        const double power = std::pow(10.0, std::abs(exponent));
        return exponent >= 0 ? mantissa * power : mantissa / power;
    }
    RoundWidth next() const
    {
        if (mantissa == 1)
            return {2, exponent};
        if (mantissa == 2)
            return {5, exponent};
        return {1, exponent + 1};
    }
};

// Rounding noise of a division or a power must not push a width of exactly 0.2 up to 0.5.
constexpr double kSlack = 1e-9;

RoundWidth roundUp(double w)
{
    RoundWidth r{1, static_cast<int>(std::floor(std::log10(w)))};
    while (r.value() < w * (1 - kSlack))
        r = r.next();
    return r;
}

// The edge index at or below x / width. Values are typed decimals, so one on an edge can land a
// few ulps below it after the division; those count as on the edge.
double edgeBelow(double x, double width)
{
    const double q = x / width;
    const double nearest = std::round(q);
    if (std::fabs(q - nearest) <= kSlack * std::max(1.0, std::fabs(q)))
        return nearest;
    return std::floor(q);
}

} // namespace

std::optional<Quartiles> quartiles(std::span<const double> values)
{
    if (values.empty())
        return std::nullopt;
    std::vector<double> v(values.begin(), values.end());
    return Quartiles{quantile(v, 0.25), quantile(v, 0.5), quantile(v, 0.75)};
}

std::optional<Histogram> histogram(std::span<const double> values, double resolution)
{
    if (values.empty() || !std::isfinite(resolution) || resolution <= 0)
        return std::nullopt;
    if (std::any_of(values.begin(), values.end(), [](double x) { return !std::isfinite(x); }))
        return std::nullopt;
    const auto q = quartiles(values);
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    const double n = static_cast<double>(values.size());
    const double range = *hi - *lo;
    if (!std::isfinite(range))
        return std::nullopt;

    // Starting at range / kMostBins saves widening a wide, tight string step by step.
    const double fd = 2 * (q->q3 - q->q1) / std::cbrt(n);
    RoundWidth width = roundUp(std::max({fd, resolution, range / kMostBins}));
    double firstEdge = 0;
    double bins = 0;
    for (;;) {
        firstEdge = edgeBelow(*lo, width.value());
        bins = edgeBelow(*hi, width.value()) - firstEdge + 1;
        if (bins <= kMostBins)
            break;
        width = width.next();
    }

    Histogram h;
    h.width = width.value();
    h.first = firstEdge * h.width;
    h.counts.assign(static_cast<std::size_t>(bins), 0);
    h.values = values.size();
    for (const double x : values) {
        // In double until the difference is small: edge indexes of large values overflow any
        // integer, their differences here are at most kMostBins.
        const double bin = std::clamp(edgeBelow(x, h.width) - firstEdge, 0.0, bins - 1);
        ++h.counts[static_cast<std::size_t>(bin)];
    }
    return h;
}

std::optional<double> normalCurve(const Histogram& h, double mean, double sd, double x)
{
    const auto density = normalDensity(x, mean, sd);
    if (!density)
        return std::nullopt;
    return static_cast<double>(h.values) * h.width * *density;
}

} // namespace stats
