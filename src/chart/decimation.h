#pragma once

#include "chart/canvas.h"

#include <cstddef>
#include <span>
#include <vector>

namespace chart {

class Chart;

// A resolution that keeps every point: vector files that stay small enough.
inline constexpr double kEveryPoint = 0;

// The points of a line worth drawing at pixelsPerUnit device pixels per chart pixel (points
// in chart pixels): of each run of consecutive points within one device pixel column the
// first, the lowest, the highest and the last, in their own order. The line through them
// covers the same pixels, so 65,535 shots cost what a few hundred columns do. Points listed
// in keep (ascending) always stay: they carry a marker of their own. Indices ascending; with
// kEveryPoint, all of them.
std::vector<std::size_t> decimate(std::span<const PointF> points, double pixelsPerUnit,
                                  std::span<const std::size_t> keep = {});

// What a vector file spends on a point: a vertex of a 2D line, a face of a 3D ribbon.
struct VectorCost {
    double perLinePoint = 0;
    double perRibbonFace = 0;
};

inline constexpr double kVectorFileLimit = 10e6;

// Bytes per line point and per ribbon face in the vector formats, with room to spare over
// what 30,000-point charts measured (SVG 16 and 137, PDF 7 and 26): a file may fall short of
// the limit, never pass it.
inline constexpr VectorCost kSvgCost{20, 160};
inline constexpr VectorCost kPdfCost{10, 32};

// Whether a vector file of the chart may keep every point: its lines, estimated from their
// points, stay within limitBytes. Otherwise it is thinned as the screen is, at its own
// resolution.
bool keepsEveryPoint(const Chart& chart, VectorCost cost, double limitBytes = kVectorFileLimit);

} // namespace chart
