#pragma once

#include "chart/canvas.h"

#include <vector>

namespace chart {

// The parts of a polyline inside a rectangle, each a polyline of its own.
std::vector<std::vector<PointF>> clipPolyline(const std::vector<PointF>& points, RectF rect);

} // namespace chart
