#include "charts/distribution.h"

#include "stats/histogram.h"
#include "stats/sample.h"
#include "table/shotstatistics.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace charts {

void distributionChart(chart::Chart& c, const table::StringGrid& grid, table::Units units)
{
    c.title = "Distribution of V";
    c.leftAxis.title = "Shots";
    c.bottomAxis.title = "V [" + std::string(table::velocityUnit(units)) + "]";
    c.setLeftAxisMinimum(0);
    c.leftAxis.automaticMaximum = true;
    c.leftAxis.fitTo.reset();
    c.leftAxis.smallestStep = 1;
    c.view3D = false;
    c.removeAllSeries();

    const std::vector<double> v = table::includedShots(grid, units).velocities;
    // The finest step the velocities were typed in: 1 for whole ones, 0.1 for one decimal.
    const double resolution = std::pow(10.0, -grid.numbers().velocityDecimals(units));
    const auto h = stats::histogram(v, resolution);
    if (!h)
        return;
    c.bottomAxis.smallestStep = h->width;

    chart::Series& bars = c.addSeries("Shots");
    bars.setBars(h->width);
    bars.reserve(h->counts.size());
    double top = 0;
    for (std::size_t i = 0; i < h->counts.size(); ++i) {
        const double count = static_cast<double>(h->counts[i]);
        bars.addXY(h->first + static_cast<double>(i) * h->width, count);
        top = std::max(top, count);
    }

    const auto s = stats::meanAndSd(v);
    const double mean = s ? s->mean : v.front();
    if (s && s->sd > 0) {
        chart::Series& curve = c.addSeries("Normal curve");
        curve.reserve(kCurvePoints);
        // A bin beyond the bars on either side, so the tails show where they leave the bars.
        const double from = h->first - h->width;
        const double to = h->first + static_cast<double>(h->counts.size() + 1) * h->width;
        for (std::size_t i = 0; i < kCurvePoints; ++i) {
            const double x = from + (to - from) * static_cast<double>(i) / (kCurvePoints - 1);
            const double y = stats::normalCurve(*h, s->mean, s->sd, x).value_or(0);
            curve.addXY(x, y);
            top = std::max(top, y);
        }
    }

    chart::Series& line = c.addSeries("Mean " + table::formatVelocityFigure(mean) + " " +
                                      std::string(table::velocityUnit(units)));
    line.addXY(mean, 0);
    line.addXY(mean, top);
}

} // namespace charts
