#pragma once

#include "chart/canvas.h"

#include <vector>

namespace chart {

// Pixel points of a line whose x never decreases, reduced to at most four per pixel column
// (first, lowest, highest, last), which draws the same picture: 65,535 shots then cost what
// a thousand do. Other lines come back unchanged.
std::vector<PointF> decimate(std::vector<PointF> points);

// The parts of a polyline inside a rectangle, each a polyline of its own.
std::vector<std::vector<PointF>> clipPolyline(const std::vector<PointF>& points, RectF rect);

} // namespace chart
