#include "chart/geometry.h"

#include <algorithm>
#include <cmath>

namespace chart {

namespace {

// Liang-Barsky: the part of segment a-b inside rect as parameters t0..t1, or false.
bool clipSegment(PointF a, PointF b, const RectF& r, double& t0, double& t1)
{
    t0 = 0;
    t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - r.left, r.right() - a.x, a.y - r.top, r.bottom() - a.y};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0)
                return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

} // namespace

std::vector<std::vector<PointF>> clipPolyline(const std::vector<PointF>& points, RectF rect)
{
    std::vector<std::vector<PointF>> parts;
    if (points.size() == 1) {
        const PointF& p = points[0];
        if (p.x >= rect.left && p.x <= rect.right() && p.y >= rect.top && p.y <= rect.bottom())
            parts.push_back(points);
        return parts;
    }
    std::vector<PointF> current;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const PointF a = points[i - 1], b = points[i];
        double t0, t1;
        if (!clipSegment(a, b, rect, t0, t1)) {
            if (!current.empty())
                parts.push_back(std::move(current));
            current.clear();
            continue;
        }
        const PointF from{a.x + (b.x - a.x) * t0, a.y + (b.y - a.y) * t0};
        const PointF to{a.x + (b.x - a.x) * t1, a.y + (b.y - a.y) * t1};
        if (current.empty() || t0 > 0) {
            if (!current.empty())
                parts.push_back(std::move(current));
            current.clear();
            current.push_back(from);
        }
        current.push_back(to);
        if (t1 < 1) {
            parts.push_back(std::move(current));
            current.clear();
        }
    }
    if (!current.empty())
        parts.push_back(std::move(current));
    return parts;
}

} // namespace chart
