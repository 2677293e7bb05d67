#pragma once

#include "chart/canvas.h"
#include "chart/chart.h"
#include "chart/layout.h"

#include <vector>

namespace chart {

// A bar series' bars in pixels, cut to the plot; bars of no height or wholly outside it are
// left out.
std::vector<RectF> barRects(const Series& series, const Layout& layout);

} // namespace chart
