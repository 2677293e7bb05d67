#include "loaddev/ladderchart.h"

#include "session/laddertexts.h"
#include "table/units.h"

#include <algorithm>
#include <cmath>

namespace loaddev {

namespace {

// Light enough for the dots and bars to show through; apart from every palette colour.
constexpr chart::Color kFlatSpot{0xE4, 0xF2, 0xD9};

} // namespace

void fillLadderChart(chart::Chart& chart, const session::LoadTest& test,
                     const session::LadderFigures& figures, ScatterBars bars)
{
    chart.removeAllSeries();
    chart.bands.clear();
    chart.notes.clear();
    chart.title = test.title.empty() ? "Ladder" : test.title;
    chart.leftAxis.title = "V [" + std::string(table::velocityUnit(figures.units)) + "]";
    chart.bottomAxis.title = session::variableHeading(test.variable);
    chart.view3D = false;
    chart.legendVisible = true;

    chart::Series& shots = chart.addSeries("Shots");
    shots.setLineVisible(false);
    shots.setPointsVisible(true);
    chart::Series& means = chart.addSeries(
        bars == ScatterBars::StandardDeviation ? "Mean \u00B1 SD" : "Mean, lowest to highest");
    means.setLineVisible(false);
    means.setPointsVisible(true);

    double low = NAN;
    double high = NAN;
    for (const session::StringFigures& f : figures.rows) {
        if (!f.value || !f.mean)
            continue;
        const double x = *f.value;
        low = std::fmin(low, x);
        high = std::fmax(high, x);
        shots.reserve(shots.count() + f.velocities.size());
        for (const double v : f.velocities)
            shots.addXY(x, v);
        means.addXY(x, *f.mean);
        if (bars == ScatterBars::ExtremeSpread) {
            const auto [lowest, highest] =
                std::minmax_element(f.velocities.begin(), f.velocities.end());
            means.addErrorBar(x, *lowest, *highest);
        } else if (f.sd) {
            means.addErrorBar(x, *f.mean - *f.sd, *f.mean + *f.sd);
        }
    }
    chart.bottomAxis.fitTo.reset();
    if (!std::isnan(low))
        chart.bottomAxis.fitTo = chart::DataBounds{low, high};

    if (figures.fit) {
        chart::Series& line = chart.addSeries("Least squares");
        line.addXY(low, figures.fit->intercept + figures.fit->slope * low);
        line.addXY(high, figures.fit->intercept + figures.fit->slope * high);
        chart.notes = {
            session::slopeText(*figures.fit, test.variable, figures.units, figures.level),
            session::rSquaredText(*figures.fit)};
    }
    for (const stats::Run& run : figures.flatSpots)
        chart.bands.push_back(
            {*figures.rows[run.first].value, *figures.rows[run.last].value, kFlatSpot});
}

} // namespace loaddev
