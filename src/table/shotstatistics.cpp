#include "table/shotstatistics.h"

#include "runtime/errors.h"
#include "runtime/numberformat.h"
#include "table/measurementtable.h"
#include "table/velocity.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace table {

namespace {

// All fifteen trustworthy digits: a figure is rounded once, to its decimals, never cut.
constexpr int kAllDigits = 15;

ShotStatistics fromVelocities(std::vector<double>& v, std::size_t withoutVelocity,
                              std::size_t excluded)
{
    ShotStatistics s;
    s.shots = v.size();
    s.withoutVelocity = withoutVelocity;
    s.excluded = excluded;
    if (v.empty())
        return s;

    const double n = static_cast<double>(v.size());
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    s.lowest = *lo;
    s.highest = *hi;
    s.extremeSpread = *hi - *lo;
    s.mean = std::accumulate(v.begin(), v.end(), 0.0) / n;
    if (v.size() > 1) {
        // Deviations from the mean, not sum of squares minus square of sums: the latter
        // cancels badly on a tight string around 800 m/s.
        double squares = 0;
        for (const double x : v)
            squares += (x - s.mean) * (x - s.mean);
        s.standardDeviation = std::sqrt(squares / (n - 1));
        s.populationDeviation = std::sqrt(squares / n);
        if (s.mean != 0)
            s.coefficientOfVariation = *s.standardDeviation / s.mean * 100;
    }

    // Median in linear time; the order of v is not needed afterwards.
    const auto middle = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), middle, v.end());
    s.median = *middle;
    if (v.size() % 2 == 0)
        s.median = (*std::max_element(v.begin(), middle) + *middle) / 2;
    return s;
}

// The data rows of top..bottom, which may reach beyond the table; first > last for none.
struct DataRows {
    std::size_t first = 1;
    std::size_t last = 0;
    std::size_t count() const { return first <= last ? last - first + 1 : 0; }
};

DataRows dataRows(const StringGrid& grid, std::size_t top, std::size_t bottom)
{
    if (isEmpty(grid))
        return {};
    return {std::max<std::size_t>(top, 1), std::min(bottom, grid.rowCount() - 1)};
}

} // namespace

ShotStatistics shotStatistics(const StringGrid& grid)
{
    if (isEmpty(grid))
        return {};
    return shotStatistics(grid, 1, grid.rowCount() - 1);
}

ShotStatistics shotStatistics(const StringGrid& grid, std::size_t top, std::size_t bottom)
{
    const DataRows rows = dataRows(grid, top, bottom);
    const RowNumbers& numbers = grid.numbers();
    std::vector<double> velocities;
    velocities.reserve(rows.count());
    std::size_t withoutVelocity = 0;
    std::size_t excluded = 0;
    for (std::size_t r = rows.first; r <= rows.last; ++r) {
        if (numbers.excluded(r)) {
            ++excluded;
            continue;
        }
        // A text the statistics pass would refuse is no shot.
        const double v = numbers.velocity(r);
        if (std::isnan(v))
            ++withoutVelocity;
        else
            velocities.push_back(v);
    }
    return fromVelocities(velocities, withoutVelocity, excluded);
}

IncludedShots includedShots(const StringGrid& grid, std::size_t top, std::size_t bottom,
                            Units units)
{
    const DataRows rows = dataRows(grid, top, bottom);
    const RowNumbers& numbers = grid.numbers();
    const bool imperial = units == Units::Imperial;
    IncludedShots shots;
    shots.velocities.reserve(rows.count());
    shots.rows.reserve(rows.count());
    for (std::size_t r = rows.first; r <= rows.last; ++r) {
        const double v = numbers.velocity(r);
        if (numbers.excluded(r) || std::isnan(v))
            continue;
        shots.velocities.push_back(imperial ? feetPerSecond(v) : v);
        shots.rows.push_back(r);
    }
    return shots;
}

IncludedShots includedShots(const StringGrid& grid, Units units)
{
    if (isEmpty(grid))
        return {};
    return includedShots(grid, 1, grid.rowCount() - 1, units);
}

std::string formatVelocityFigure(double v)
{
    return rt::formatFloat(v, rt::FloatFormat::Fixed, kAllDigits, 1);
}

ShotStatisticsTexts formatShotStatistics(const ShotStatistics& s)
{
    ShotStatisticsTexts t;
    if (s.shots == 0 && s.withoutVelocity == 0 && s.excluded == 0)
        return t;
    t.shots = std::to_string(s.shots);
    if (s.shots > 0) {
        t.mean = formatVelocityFigure(s.mean);
        t.extremeSpread = formatVelocityFigure(s.extremeSpread);
        t.median = formatVelocityFigure(s.median);
        t.standardDeviation = s.standardDeviation ? formatVelocityFigure(*s.standardDeviation)
                                                  : std::string(kNoFigure);
        t.populationDeviation = s.populationDeviation ? formatVelocityFigure(*s.populationDeviation)
                                                      : std::string(kNoFigure);
        t.coefficientOfVariation = s.coefficientOfVariation
                                       ? rt::formatFloat(*s.coefficientOfVariation,
                                                         rt::FloatFormat::Fixed, kAllDigits, 2) +
                                             "%"
                                       : std::string(kNoFigure);
    }
    if (s.excluded > 0)
        t.excluded = std::to_string(s.shots) + " of " + std::to_string(s.shots + s.excluded) +
                     " shots, " + std::to_string(s.excluded) + " excluded";
    if (s.withoutVelocity == 1)
        t.withoutVelocity = "1 row without a velocity";
    else if (s.withoutVelocity > 1)
        t.withoutVelocity = std::to_string(s.withoutVelocity) + " rows without a velocity";
    return t;
}

} // namespace table
