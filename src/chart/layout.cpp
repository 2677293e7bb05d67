#include "chart/layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace chart {

Font titleFont()
{
    return Font{"Arial", 13, true, Color{0, 0, 0xFF}};
}

Font axisTitleFont()
{
    return Font{"Arial", 12, false, Color{0, 0, 0}};
}

Font labelFont()
{
    return Font{"Arial", 11, false, Color{0, 0, 0}};
}

Font markFont()
{
    return Font{"Arial", 10, false, Color{0, 0, 0}};
}

namespace {

struct DataRange {
    double xMin = std::numeric_limits<double>::quiet_NaN();
    double xMax = xMin, yMin = xMin, yMax = xMin;
};

DataRange dataRange(const Chart& chart)
{
    DataRange r;
    for (std::size_t s = 0; s < chart.seriesCount(); ++s) {
        const Series& series = chart.series(s);
        if (series.count() == 0)
            continue;
        const auto [xLo, xHi] = std::minmax_element(series.xs().begin(), series.xs().end());
        const auto [yLo, yHi] = std::minmax_element(series.ys().begin(), series.ys().end());
        // fmin/fmax skip the NaN of "no data yet".
        r.xMin = std::fmin(r.xMin, *xLo);
        r.xMax = std::fmax(r.xMax, *xHi + (series.isBars() ? series.barWidth() : 0));
        // Bars stand on 0.
        r.yMin = std::fmin(r.yMin, series.isBars() ? std::fmin(*yLo, 0) : *yLo);
        r.yMax = std::fmax(r.yMax, *yHi);
    }
    for (std::size_t s = 0; s < chart.seriesCount(); ++s) {
        for (const Series::ErrorBar& bar : chart.series(s).errorBars()) {
            r.xMin = std::fmin(r.xMin, bar.x);
            r.xMax = std::fmax(r.xMax, bar.x);
            r.yMin = std::fmin(r.yMin, std::fmin(bar.low, bar.high));
            r.yMax = std::fmax(r.yMax, std::fmax(bar.low, bar.high));
        }
    }
    return r;
}

// Cuts a text from the end until it fits, marking the cut with "...".
std::string fitText(Canvas& canvas, const std::string& text, double width)
{
    if (canvas.textWidth(text) <= width)
        return text;
    std::size_t lo = 0, hi = text.size();
    while (lo < hi) {
        std::size_t mid = (lo + hi + 1) / 2;
        // Never end inside a UTF-8 sequence.
        while (mid > 0 && (static_cast<unsigned char>(text[mid]) & 0xC0) == 0x80)
            --mid;
        if (mid <= lo) {
            break;
        }
        if (canvas.textWidth(text.substr(0, mid) + "...") <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return text.substr(0, lo) + "...";
}

} // namespace

Layout computeLayout(const Chart& chart, RectF bounds, Canvas& metrics, char decimalSeparator)
{
    Layout l;
    l.bounds = bounds;
    const DataRange data = dataRange(chart);

    metrics.setFont(titleFont());
    const double titleHeight = chart.title.empty() ? 0 : metrics.textHeight();
    l.titleAt = {bounds.left + bounds.width / 2, bounds.top + kMargin / 2};

    metrics.setFont(axisTitleFont());
    const double axisTitleHeight = metrics.textHeight();
    metrics.setFont(labelFont());
    const double labelHeight = metrics.textHeight();

    double top = bounds.top + kMargin / 2 + titleHeight + kMargin;
    double bottom = bounds.bottom() - kMargin -
                    (chart.bottomAxis.title.empty() ? 0 : axisTitleHeight) - labelHeight -
                    kTickLength - 2;
    double left = bounds.left + kMargin + (chart.leftAxis.title.empty() ? 0 : axisTitleHeight + 4);
    double right = bounds.right() - kMargin;

    // Legend on the right, as wide as its longest title allows but never more than a third.
    l.legendVisible = chart.legendVisible && chart.seriesCount() > 0;
    double legendTextWidth = 0;
    if (l.legendVisible) {
        const double maxText = std::max(20.0, bounds.width / 3 - 36);
        for (std::size_t s = 0; s < chart.seriesCount(); ++s)
            legendTextWidth = std::max(
                legendTextWidth, std::min(maxText, metrics.textWidth(chart.series(s).title())));
        legendTextWidth = std::max(legendTextWidth, 20.0);
        const double legendWidth = legendTextWidth + 36;
        right -= legendWidth + kMargin;
        l.legend = {right + kMargin, top, legendWidth, 0};
    }

    // The 3D view takes its depth from the plot; the front plane gives way to it.
    if (chart.view3D) {
        const double depth = std::floor(std::max(0.0, std::min(right - left, bottom - top)) * 0.15);
        l.depthX = depth;
        l.depthY = depth;
        l.seriesDepth = depth / std::max<std::size_t>(1, chart.seriesCount());
        right -= depth;
        top += depth;
    }

    const double plotHeight = bottom - top;
    const int maxYTicks = std::max(1, static_cast<int>(plotHeight / (labelHeight * 2.2)));
    const AxisSettings& leftAxis = chart.leftAxis;
    l.y = leftAxis.fitTo ? fittedRange(leftAxis.fitTo->min, leftAxis.fitTo->max, maxYTicks)
                         : axisRange(data.yMin, data.yMax, leftAxis.automaticMinimum,
                                     leftAxis.minimum, leftAxis.automaticMaximum, leftAxis.maximum,
                                     maxYTicks, true, leftAxis.smallestStep);

    double labelWidth = 0;
    std::vector<double> yValues = tickValues(l.y.min, l.y.max, l.y.step);
    for (double v : yValues) {
        l.leftTicks.push_back({v, 0, formatValue(v, decimalSeparator)});
        labelWidth = std::max(labelWidth, metrics.textWidth(l.leftTicks.back().label));
    }
    left += labelWidth + kTickLength + 4;

    l.plot = {left, top, right - left, bottom - top};
    l.plotVisible = l.plot.width >= 10 && l.plot.height >= 10;
    if (!l.plotVisible) {
        l.plot.width = std::max(0.0, l.plot.width);
        l.plot.height = std::max(0.0, l.plot.height);
        l.leftTicks.clear();
        l.legendVisible = false;
        return l;
    }
    for (Tick& t : l.leftTicks)
        t.pos = l.mapY(t.value);

    // Bottom axis: edge to edge over the data, in whole steps (x is a position), with a step
    // wide enough that no two labels touch.
    const double widest = std::max(metrics.textWidth(formatValue(data.xMin, decimalSeparator)),
                                   metrics.textWidth(formatValue(data.xMax, decimalSeparator)));
    const int maxXTicks = std::max(1, static_cast<int>(l.plot.width / (widest + 12)));
    const double xStep = chart.bottomAxis.smallestStep;
    l.x = axisRange(data.xMin, data.xMax, true, 0, true, 0, maxXTicks, false, xStep);
    if (std::isnan(data.xMin)) {
        l.x = axisRange(0, 10, true, 0, true, 0, maxXTicks, false, xStep);
    }
    // A measured quantity across (a charge), rather than shot numbers: a margin around it and
    // steps as fine as its values need.
    if (chart.bottomAxis.fitTo)
        l.x = fittedRange(chart.bottomAxis.fitTo->min, chart.bottomAxis.fitTo->max, maxXTicks);
    for (double v : tickValues(l.x.min, l.x.max, l.x.step))
        l.bottomTicks.push_back({v, l.mapX(v), formatValue(v, decimalSeparator)});

    l.leftTitleAt = {bounds.left + kMargin, l.plot.top + l.plot.height / 2};
    l.bottomTitleAt = {l.plot.left + l.plot.width / 2,
                       l.plot.bottom() + kTickLength + 2 + labelHeight};

    if (l.legendVisible) {
        const double rowHeight = labelHeight + 3;
        const double available = bounds.bottom() - kMargin - l.legend.top - 8;
        const std::size_t fits =
            static_cast<std::size_t>(std::max(1.0, std::floor(available / rowHeight)));
        const std::size_t shown = std::min(fits, chart.seriesCount());
        l.legend.height = shown * rowHeight + 8;
        for (std::size_t s = 0; s < shown; ++s) {
            const Series& series = chart.series(s);
            l.legendEntries.push_back({fitText(metrics, series.title(), legendTextWidth),
                                       series.color(), l.legend.top + 4 + s * rowHeight,
                                       series.isBars(), series.lineVisible(),
                                       series.pointsVisible()});
        }
    }

    if (!chart.notes.empty()) {
        double widest = 0;
        for (const std::string& note : chart.notes)
            widest = std::max(widest, metrics.textWidth(note));
        l.notes = {l.plot.left + 4, l.plot.top + 4,
                   std::min(widest + 8, std::max(0.0, l.plot.width - 8)),
                   std::min(static_cast<double>(chart.notes.size()) * labelHeight + 4,
                            std::max(0.0, l.plot.height - 8))};
    }
    return l;
}

} // namespace chart
