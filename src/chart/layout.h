#pragma once

#include "chart/axis.h"
#include "chart/canvas.h"
#include "chart/chart.h"

#include <string>
#include <vector>

namespace chart {

struct Tick {
    double value = 0;
    double pos = 0; // pixel: y for the left axis, x for the bottom axis
    std::string label;
};

struct LegendEntry {
    std::string text; // the series title, shortened to fit
    Color color;
    double y = 0;
    // Shown as a filled box instead of a line.
    bool bars = false;
    // The sample shows what the series draws: a line, a dot, or both.
    bool line = true;
    bool dot = false;
};

// Fonts the chart uses; the layout measures with them and the drawing sets them.
Font titleFont();
Font axisTitleFont();
Font labelFont();
Font markFont();

// Where everything goes, as numbers. The plot rectangle is the front plane; in the 3D view
// the back plane lies depthX to the right and depthY above it, and series k is drawn at
// depth k of seriesDepth each.
struct Layout {
    RectF bounds;
    PointF titleAt;
    RectF plot;
    bool plotVisible = false; // too small a chart draws title and frame only
    double depthX = 0;
    double depthY = 0;
    double seriesDepth = 0;
    AxisRange x;
    AxisRange y;
    std::vector<Tick> leftTicks;
    std::vector<Tick> bottomTicks;
    PointF leftTitleAt;   // the rotated title's top edge lies on x, centred on y
    PointF bottomTitleAt; // top centre
    bool legendVisible = false;
    RectF legend;
    // The notes' box; empty without notes or a plot to put them in.
    RectF notes;
    std::vector<LegendEntry> legendEntries;

    double mapX(double v) const { return plot.left + (v - x.min) / (x.max - x.min) * plot.width; }
    double mapY(double v) const
    {
        return plot.bottom() - (v - y.min) / (y.max - y.min) * plot.height;
    }
};

inline constexpr double kMargin = 8;
inline constexpr double kTickLength = 4;

// Measures texts on the canvas it is given (it sets the fonts it needs).
Layout computeLayout(const Chart& chart, RectF bounds, Canvas& metrics, char decimalSeparator);

} // namespace chart
