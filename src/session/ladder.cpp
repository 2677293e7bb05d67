#include "session/ladder.h"

#include "stats/sample.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace session {

namespace {

StringFigures stringFigures(const LoadTest& test, std::size_t index, double level,
                            table::Units units)
{
    const LoadTestString& string = test.strings[index];
    const table::RowNumbers& numbers = string.grid.numbers();
    StringFigures f;
    f.string = index;
    f.value = variableValue(string.value);
    f.velocities.reserve(string.grid.rowCount());
    for (std::size_t r = 1; r < string.grid.rowCount(); ++r) {
        const double v = numbers.velocity(r);
        if (std::isnan(v))
            continue;
        if (numbers.excluded(r)) {
            ++f.excluded;
            continue;
        }
        f.velocities.push_back(units == table::Units::Imperial ? table::feetPerSecond(v) : v);
    }
    if (f.velocities.empty())
        return f;
    const auto [low, high] = std::minmax_element(f.velocities.begin(), f.velocities.end());
    f.extremeSpread = *high - *low;
    // As the panel computes them, so that the figures beside each other agree.
    if (const auto s = stats::meanAndSd(f.velocities)) {
        f.mean = s->mean;
        f.sd = s->sd;
        if (const auto range = stats::sdInterval(*s, level))
            f.sdInterval = *range;
    } else {
        f.mean = std::accumulate(f.velocities.begin(), f.velocities.end(), 0.0) /
                 static_cast<double>(f.velocities.size());
    }
    return f;
}

} // namespace

LadderFigures ladderFigures(const LoadTest& test, double level, table::Units units)
{
    LadderFigures figures;
    figures.level = level;
    figures.units = units;
    figures.rows.reserve(test.strings.size());
    for (std::size_t i = 0; i < test.strings.size(); ++i)
        figures.rows.push_back(stringFigures(test, i, level, units));
    std::stable_sort(figures.rows.begin(), figures.rows.end(),
                     [](const StringFigures& a, const StringFigures& b) {
                         if (a.value && b.value)
                             return *a.value < *b.value;
                         return a.value.has_value() && !b.value.has_value();
                     });

    // The ladder's steps: the rows with a value and a mean.
    std::vector<std::size_t> steps;
    std::vector<double> x;
    std::vector<double> means;
    std::vector<double> shotX;
    std::vector<double> shotY;
    for (std::size_t row = 0; row < figures.rows.size(); ++row) {
        const StringFigures& f = figures.rows[row];
        if (!f.value || !f.mean)
            continue;
        steps.push_back(row);
        x.push_back(*f.value);
        means.push_back(*f.mean);
        shotX.insert(shotX.end(), f.velocities.size(), *f.value);
        shotY.insert(shotY.end(), f.velocities.begin(), f.velocities.end());
    }
    for (std::size_t k = 1; k < steps.size(); ++k) {
        StringFigures& f = figures.rows[steps[k]];
        f.meanChange = means[k] - means[k - 1];
        if (x[k] != x[k - 1])
            f.gainPerUnit = *f.meanChange / (x[k] - x[k - 1]);
    }
    figures.fit = stats::fitLine(shotX, shotY, level);
    if (!figures.fit)
        return figures;
    for (const stats::Run& run : stats::flatSpots(x, means, *figures.fit)) {
        figures.flatSpots.push_back({steps[run.first], steps[run.last]});
        for (std::size_t k = run.first; k <= run.last; ++k)
            figures.rows[steps[k]].flat = true;
    }
    return figures;
}

std::size_t rowOfString(const LadderFigures& figures, std::size_t string)
{
    const auto at = std::find_if(figures.rows.begin(), figures.rows.end(),
                                 [string](const StringFigures& f) { return f.string == string; });
    return static_cast<std::size_t>(at - figures.rows.begin());
}

} // namespace session
