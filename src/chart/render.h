#pragma once

#include "chart/canvas.h"
#include "chart/chart.h"
#include "chart/layout.h"

namespace chart {

// Draws the whole chart into bounds: the one drawing routine of the screen, bitmaps,
// printouts and metafiles. Numbers are written with the given decimal separator.
// resolution: device pixels per chart pixel of the surface; lines are thinned to what its
// pixel columns show (decimate), except while their marks are shown. kEveryPoint keeps
// every point, for vector files.
Layout drawChart(const Chart& chart, Canvas& canvas, RectF bounds, char decimalSeparator,
                 double resolution = 1);

} // namespace chart
