#pragma once

#include "chart/canvas.h"
#include "chart/chart.h"
#include "chart/layout.h"

namespace chart {

// Draws the whole chart into bounds: the one drawing routine of the screen, bitmaps,
// printouts and metafiles. Numbers are written with the given decimal separator.
Layout drawChart(const Chart& chart, Canvas& canvas, RectF bounds, char decimalSeparator);

} // namespace chart
