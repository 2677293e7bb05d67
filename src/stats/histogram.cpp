#include "stats/histogram.h"

#include "stats/distributions.h"

#include <algorithm>
#include <cmath>

namespace stats {

namespace {

// A type 7 quantile's two order statistics: the k-th smallest value and the one after it.
struct OrderPair {
    double at;
    double next;

    double quantile(double h) const { return at + (h - std::floor(h)) * (next - at); }
};

// The k-th smallest of v, found in v[from, to), which holds the values of those ranks (every
// value before it is no larger, every value from `to` on no smaller). nth_element reorders only
// that range.
OrderPair orderPair(std::vector<double>& v, std::size_t k, std::size_t from, std::size_t to)
{
    const auto begin = v.begin();
    std::nth_element(begin + static_cast<std::ptrdiff_t>(from),
                     begin + static_cast<std::ptrdiff_t>(k),
                     begin + static_cast<std::ptrdiff_t>(to));
    const double at = v[k];
    if (k + 1 < to)
        return {at, *std::min_element(begin + static_cast<std::ptrdiff_t>(k) + 1,
                                      begin + static_cast<std::ptrdiff_t>(to))};
    return {at, to < v.size() ? *std::min_element(begin + static_cast<std::ptrdiff_t>(to), v.end())
                              : at};
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
    const double last = static_cast<double>(v.size() - 1);
    const auto rank = [last](double p) { return static_cast<std::size_t>(std::floor(last * p)); };
    // The median first: the lower quartile then lies in the values below it and the upper in
    // those above, so each search covers half the values.
    const std::size_t k2 = rank(0.5);
    const OrderPair median = orderPair(v, k2, 0, v.size());
    const std::size_t k1 = rank(0.25);
    const OrderPair lower = k1 == k2 ? median : orderPair(v, k1, 0, k2 + 1);
    const std::size_t k3 = rank(0.75);
    const OrderPair upper = k3 == k2 ? median : orderPair(v, k3, k2 + 1, v.size());
    return Quartiles{lower.quantile(last * 0.25), median.quantile(last * 0.5),
                     upper.quantile(last * 0.75)};
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
