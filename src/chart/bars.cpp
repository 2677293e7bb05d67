#include "chart/bars.h"

#include <algorithm>

namespace chart {

std::vector<RectF> barRects(const Series& series, const Layout& l)
{
    std::vector<RectF> rects;
    rects.reserve(series.count());
    const RectF& p = l.plot;
    for (std::size_t i = 0; i < series.count(); ++i) {
        const double left = std::max(p.left, l.mapX(series.x(i)));
        const double right = std::min(p.right(), l.mapX(series.x(i) + series.barWidth()));
        // The y axis runs downwards on screen: a negative count would stand below 0.
        const double a = l.mapY(0);
        const double b = l.mapY(series.y(i));
        const double top = std::max(p.top, std::min(a, b));
        const double bottom = std::min(p.bottom(), std::max(a, b));
        if (right > left && bottom > top)
            rects.push_back({left, top, right - left, bottom - top});
    }
    return rects;
}

} // namespace chart
