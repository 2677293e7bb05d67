#include "chart/decimation.h"

#include "chart/chart.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace chart {

std::vector<std::size_t> decimate(std::span<const PointF> points, double pixelsPerUnit,
                                  std::span<const std::size_t> keep)
{
    std::vector<std::size_t> out;
    if (!(pixelsPerUnit > 0)) {
        out.resize(points.size());
        std::iota(out.begin(), out.end(), std::size_t{0});
        return out;
    }
    auto nextKeep = keep.begin();
    std::size_t i = 0;
    while (i < points.size()) {
        while (nextKeep != keep.end() && *nextKeep < i)
            ++nextKeep;
        // A kept point ends the run before it and stands alone.
        const std::size_t stop =
            nextKeep != keep.end() ? std::min(*nextKeep, points.size()) : points.size();
        if (i == stop) {
            out.push_back(i++);
            continue;
        }
        const double column = std::floor(points[i].x * pixelsPerUnit);
        std::size_t end = i + 1, lo = i, hi = i;
        while (end < stop && std::floor(points[end].x * pixelsPerUnit) == column) {
            if (points[end].y < points[lo].y)
                lo = end;
            if (points[end].y > points[hi].y)
                hi = end;
            ++end;
        }
        for (const std::size_t k : {i, std::min(lo, hi), std::max(lo, hi), end - 1}) {
            if (out.empty() || out.back() < k)
                out.push_back(k);
        }
        i = end;
    }
    return out;
}

bool keepsEveryPoint(const Chart& chart, VectorCost cost, double limitBytes)
{
    const double perPoint = chart.view3D ? cost.perRibbonFace : cost.perLinePoint;
    double bytes = 0;
    for (std::size_t s = 0; s < chart.seriesCount(); ++s)
        bytes += perPoint * static_cast<double>(chart.series(s).count());
    return bytes <= limitBytes;
}

} // namespace chart
