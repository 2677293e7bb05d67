#include "chart/render.h"

#include "chart/bars.h"
#include "chart/decimation.h"
#include "chart/geometry.h"

#include <algorithm>
#include <cmath>

namespace chart {

namespace {

constexpr Color kWhite{0xFF, 0xFF, 0xFF};
constexpr Color kBlack{0, 0, 0};
constexpr Color kGrid{0xDD, 0xDD, 0xDD};
constexpr Color kWall{0xF2, 0xF2, 0xF2};
constexpr Color kFrame{0x80, 0x80, 0x80};
constexpr Color kMarkBack{0xFF, 0xFF, 0xE1};
constexpr double kHollowRadius = 3.5;
constexpr double kPointRadius = 3;
constexpr double kErrorCap = 4;

Color darker(Color c)
{
    return {static_cast<std::uint8_t>(c.r * 3 / 4), static_cast<std::uint8_t>(c.g * 3 / 4),
            static_cast<std::uint8_t>(c.b * 3 / 4)};
}

// A bar's fill: light enough that a line drawn over it stays plain.
Color lighter(Color c)
{
    const auto mix = [](std::uint8_t v) {
        return static_cast<std::uint8_t>(v + (255 - v) * 3 / 5);
    };
    return {mix(c.r), mix(c.g), mix(c.b)};
}

void line(Canvas& canvas, PointF a, PointF b)
{
    const PointF pts[2] = {a, b};
    canvas.polyline(pts, 2);
}

void quad(Canvas& canvas, PointF a, PointF b, PointF c, PointF d)
{
    const PointF pts[4] = {a, b, c, d};
    canvas.polygon(pts, 4);
}

PointF shifted(PointF p, double z)
{
    return {p.x + z, p.y - z};
}

PointF project(const Series& series, std::size_t i, const Layout& l)
{
    return {l.mapX(series.x(i)), l.mapY(series.y(i))};
}

// Where a point's mark goes: a bar's mark stands over its middle.
PointF markAt(const Series& series, std::size_t i, const Layout& l)
{
    const double x = series.isBars() ? series.x(i) + series.barWidth() / 2 : series.x(i);
    return {l.mapX(x), l.mapY(series.y(i))};
}

// Whether a point (shifted to its series' depth) lies on the plot, give or take a pixel.
bool onPlot(PointF at, const Layout& l)
{
    return at.x >= l.plot.left - 1 && at.x <= l.plot.right() + l.depthX + 1 &&
           at.y >= l.plot.top - l.depthY - 1 && at.y <= l.plot.bottom() + 1;
}

// A ribbon's faces show an edge at every point, and where points crowd, those edges fill
// the faces. Thinned to four points a pixel column the faces would show stripes; at a
// quarter pixel the edges still lie close enough to fill them. No later face covers the
// ribbon's last pixel column, so its points all stay.
constexpr double kRibbonColumnsPerPixel = 4;

// The hollow points and, on a ribbon, those of its last device pixel column.
std::vector<std::size_t> pointsToKeep(const Series& series, const std::vector<PointF>& points,
                                      bool ribbon, double resolution)
{
    std::vector<std::size_t> keep = series.hollowPoints();
    if (!ribbon || points.empty())
        return keep;
    std::size_t tail = points.size() - 1;
    while (tail > 0 && !(points[tail - 1].x < points.back().x - 1 / resolution))
        --tail;
    while (!keep.empty() && keep.back() >= tail)
        keep.pop_back();
    for (std::size_t i = tail; i < points.size(); ++i)
        keep.push_back(i);
    return keep;
}

// The series' points in pixels, thinned for the resolution and cut to the plot. A line whose
// values are labelled keeps every point.
std::vector<std::vector<PointF>> seriesLines(const Series& series, const Layout& l,
                                             double resolution, bool ribbon)
{
    std::vector<PointF> points(series.count());
    for (std::size_t i = 0; i < series.count(); ++i)
        points[i] = project(series, i, l);
    if (resolution > 0 && !series.marksVisible()) {
        const std::vector<std::size_t> kept =
            decimate(points, ribbon ? resolution * kRibbonColumnsPerPixel : resolution,
                     pointsToKeep(series, points, ribbon, resolution));
        for (std::size_t k = 0; k < kept.size(); ++k)
            points[k] = points[kept[k]];
        points.resize(kept.size());
    }
    // A rectangle a hair larger keeps points lying on the frame.
    const RectF clip{l.plot.left - 0.5, l.plot.top - 0.5, l.plot.width + 1, l.plot.height + 1};
    return clipPolyline(points, clip);
}

void drawWallsAndGrid(const Chart& chart, Canvas& canvas, const Layout& l)
{
    const RectF& p = l.plot;
    const double d = l.depthX;
    const PointF bl{p.left, p.bottom()}, tl{p.left, p.top}, br{p.right(), p.bottom()};
    if (chart.view3D && chart.wallsVisible) {
        canvas.setPen(Pen{kFrame, 1, true});
        canvas.setBrush(Brush{kWall, true});
        quad(canvas, bl, tl, shifted(tl, d), shifted(bl, d));
        quad(canvas, bl, br, shifted(br, d), shifted(bl, d));
    }
    if (!chart.view3D || chart.wallsVisible) {
        canvas.setPen(Pen{kFrame, 1, true});
        canvas.setBrush(Brush{kWhite, false});
        canvas.rectangle({p.left + d, p.top - d, p.width, p.height});
    }
    // On the back plane, under the grid.
    for (const Band& band : chart.bands) {
        const double left = std::max(p.left, l.mapX(std::min(band.from, band.to)));
        const double right = std::min(p.right(), l.mapX(std::max(band.from, band.to)));
        if (!(right > left))
            continue;
        canvas.setPen(Pen{band.color, 1, false});
        canvas.setBrush(Brush{band.color, true});
        canvas.rectangle({left + d, p.top - d, right - left, p.height});
    }

    canvas.setPen(Pen{kGrid, 1, true});
    for (const Tick& t : l.leftTicks) {
        line(canvas, shifted({p.left, t.pos}, d), shifted({p.right(), t.pos}, d));
        if (chart.view3D)
            line(canvas, {p.left, t.pos}, shifted({p.left, t.pos}, d));
    }
    for (const Tick& t : l.bottomTicks) {
        line(canvas, shifted({t.pos, p.top}, d), shifted({t.pos, p.bottom()}, d));
        if (chart.view3D)
            line(canvas, {t.pos, p.bottom()}, shifted({t.pos, p.bottom()}, d));
    }
}

void drawAxes(const Chart& chart, Canvas& canvas, const Layout& l)
{
    const RectF& p = l.plot;
    canvas.setPen(Pen{kBlack, 1, true});
    line(canvas, {p.left, p.top}, {p.left, p.bottom()});
    line(canvas, {p.left, p.bottom()}, {p.right(), p.bottom()});

    canvas.setFont(labelFont());
    const double h = canvas.textHeight();
    for (const Tick& t : l.leftTicks) {
        line(canvas, {p.left - kTickLength, t.pos}, {p.left, t.pos});
        canvas.text({p.left - kTickLength - 3, t.pos - h / 2}, t.label, TextAlign::Right);
    }
    for (const Tick& t : l.bottomTicks) {
        line(canvas, {t.pos, p.bottom()}, {t.pos, p.bottom() + kTickLength});
        // A label wider than the margin beside the plot ("2 840" at its right end) stays inside
        // the chart, a little off its tick.
        const double x = std::min(t.pos, l.bounds.right() - canvas.textWidth(t.label) / 2);
        canvas.text({x, p.bottom() + kTickLength + 1}, t.label, TextAlign::Center);
    }

    canvas.setFont(axisTitleFont());
    if (!chart.leftAxis.title.empty())
        canvas.text(l.leftTitleAt, chart.leftAxis.title, TextAlign::Center, 90);
    if (!chart.bottomAxis.title.empty())
        canvas.text(l.bottomTitleAt, chart.bottomAxis.title, TextAlign::Center);
}

void drawSeries2D(const Series& series, Canvas& canvas, const Layout& l, double resolution)
{
    if (!series.lineVisible())
        return;
    canvas.setPen(Pen{series.color(), 2, true});
    for (const auto& part : seriesLines(series, l, resolution, false))
        canvas.polyline(part.data(), part.size());
}

void drawSeries3D(const Series& series, std::size_t index, Canvas& canvas, const Layout& l,
                  double resolution)
{
    if (!series.lineVisible())
        return;
    const double z0 = index * l.seriesDepth;
    const double z1 = z0 + l.seriesDepth;
    canvas.setPen(Pen{darker(series.color()), 1, true});
    canvas.setBrush(Brush{series.color(), true});
    for (const auto& part : seriesLines(series, l, resolution, true)) {
        if (part.size() == 1) {
            line(canvas, shifted(part[0], z0), shifted(part[0], z1));
            continue;
        }
        for (std::size_t i = 1; i < part.size(); ++i)
            quad(canvas, shifted(part[i - 1], z0), shifted(part[i], z0), shifted(part[i], z1),
                 shifted(part[i - 1], z1));
    }
}

// Flat in the 3D view too, at the series' depth: a histogram's bins are no ribbon.
void drawBars(const Series& series, std::size_t index, Canvas& canvas, const Layout& l)
{
    canvas.setPen(Pen{series.color(), 1, true});
    canvas.setBrush(Brush{lighter(series.color()), true});
    const double z = index * l.seriesDepth;
    for (const RectF& r : barRects(series, l))
        canvas.rectangle({r.left + z, r.top - z, r.width, r.height});
}

// On the front edge of a 3D ribbon, where the marks point too.
void drawHollowPoints(const Series& series, std::size_t index, Canvas& canvas, const Layout& l)
{
    if (series.hollowPoints().empty())
        return;
    canvas.setPen(Pen{series.color(), 2, true});
    canvas.setBrush(Brush{kWhite, true});
    const double z = index * l.seriesDepth;
    for (const std::size_t i : series.hollowPoints()) {
        if (i >= series.count())
            break;
        const PointF at = shifted(project(series, i, l), z);
        if (onPlot(at, l))
            canvas.ellipse(
                {at.x - kHollowRadius, at.y - kHollowRadius, 2 * kHollowRadius, 2 * kHollowRadius});
    }
}

// Every point, filled, but for the hollow ones, which have their own circle.
void drawPoints(const Series& series, std::size_t index, Canvas& canvas, const Layout& l)
{
    if (!series.pointsVisible())
        return;
    canvas.setPen(Pen{darker(series.color()), 1, true});
    canvas.setBrush(Brush{series.color(), true});
    const double z = index * l.seriesDepth;
    for (std::size_t i = 0; i < series.count(); ++i) {
        const PointF at = shifted(project(series, i, l), z);
        if (onPlot(at, l) && !series.isHollow(i))
            canvas.ellipse(
                {at.x - kPointRadius, at.y - kPointRadius, 2 * kPointRadius, 2 * kPointRadius});
    }
}

// Cut to the plot; a cap only where its end lies on it.
void drawErrorBars(const Series& series, std::size_t index, Canvas& canvas, const Layout& l)
{
    canvas.setPen(Pen{series.color(), 1, true});
    const double z = index * l.seriesDepth;
    for (const Series::ErrorBar& bar : series.errorBars()) {
        const double x = l.mapX(bar.x) + z;
        if (!(x >= l.plot.left - 1 && x <= l.plot.right() + l.depthX + 1))
            continue;
        const double top = l.mapY(std::max(bar.low, bar.high)) - z;
        const double bottom = l.mapY(std::min(bar.low, bar.high)) - z;
        const double plotTop = l.plot.top - z;
        const double plotBottom = l.plot.bottom() - z;
        if (bottom < plotTop || top > plotBottom)
            continue;
        line(canvas, {x, std::max(top, plotTop)}, {x, std::min(bottom, plotBottom)});
        for (const double end : {top, bottom}) {
            if (end >= plotTop && end <= plotBottom)
                line(canvas, {x - kErrorCap, end}, {x + kErrorCap, end});
        }
    }
}

void drawNotes(const Chart& chart, Canvas& canvas, const Layout& l)
{
    if (l.notes.isEmpty())
        return;
    canvas.setPen(Pen{kFrame, 1, true});
    canvas.setBrush(Brush{kWhite, true});
    canvas.rectangle(l.notes);
    canvas.setFont(labelFont());
    const double h = canvas.textHeight();
    for (std::size_t i = 0; i < chart.notes.size(); ++i) {
        const double top = l.notes.top + 2 + static_cast<double>(i) * h;
        if (top + h > l.notes.bottom())
            break;
        canvas.text({l.notes.left + 4, top}, chart.notes[i], TextAlign::Left);
    }
}

void drawMarks(const Series& series, std::size_t index, Canvas& canvas, const Layout& l,
               char decimalSeparator)
{
    canvas.setFont(markFont());
    const double h = canvas.textHeight();
    const double z = index * l.seriesDepth;
    // A mark that would touch the one before it is left out, so those shown stay legible.
    double lastRight = -1e300;
    canvas.setPen(Pen{kFrame, 1, true});
    canvas.setBrush(Brush{kMarkBack, true});
    for (std::size_t i = 0; i < series.count(); ++i) {
        const PointF at = shifted(markAt(series, i, l), z);
        if (!onPlot(at, l))
            continue;
        if (at.x - 4 <= lastRight + 2)
            continue;
        const std::string text = formatValue(series.y(i), decimalSeparator);
        const double w = canvas.textWidth(text) + 4;
        const double left = at.x - w / 2;
        if (left <= lastRight + 2)
            continue;
        const double top = std::max(l.bounds.top, at.y - h - 8);
        canvas.rectangle({left, top, w, h + 2});
        canvas.text({at.x, top + 1}, text, TextAlign::Center);
        lastRight = left + w;
    }
}

void drawLegend(Canvas& canvas, const Layout& l)
{
    canvas.setPen(Pen{kFrame, 1, true});
    canvas.setBrush(Brush{kWhite, true});
    canvas.rectangle(l.legend);
    canvas.setFont(labelFont());
    const double h = canvas.textHeight();
    for (const LegendEntry& e : l.legendEntries) {
        const double mid = e.y + h / 2;
        if (e.bars) {
            canvas.setPen(Pen{e.color, 1, true});
            canvas.setBrush(Brush{lighter(e.color), true});
            canvas.rectangle({l.legend.left + 9, mid - 4, 14, 8});
        } else {
            canvas.setPen(Pen{e.color, 2, true});
            if (e.line)
                line(canvas, {l.legend.left + 6, mid}, {l.legend.left + 26, mid});
            if (e.dot) {
                canvas.setPen(Pen{darker(e.color), 1, true});
                canvas.setBrush(Brush{e.color, true});
                canvas.ellipse({l.legend.left + 16 - kPointRadius, mid - kPointRadius,
                                2 * kPointRadius, 2 * kPointRadius});
            }
        }
        canvas.text({l.legend.left + 30, e.y}, e.text, TextAlign::Left);
    }
}

} // namespace

Layout drawChart(const Chart& chart, Canvas& canvas, RectF bounds, char decimalSeparator,
                 double resolution)
{
    const Layout l = computeLayout(chart, bounds, canvas, decimalSeparator);

    canvas.setPen(Pen{kWhite, 1, false});
    canvas.setBrush(Brush{kWhite, true});
    canvas.rectangle(bounds);

    if (!chart.title.empty()) {
        canvas.setFont(titleFont());
        canvas.text(l.titleAt, chart.title, TextAlign::Center);
    }
    if (!l.plotVisible)
        return l;

    drawWallsAndGrid(chart, canvas, l);
    if (chart.view3D) {
        // Back to front: the first series is nearest to the viewer.
        for (std::size_t s = chart.seriesCount(); s-- > 0;) {
            if (chart.series(s).isBars()) {
                drawBars(chart.series(s), s, canvas, l);
            } else {
                drawSeries3D(chart.series(s), s, canvas, l, resolution);
                drawErrorBars(chart.series(s), s, canvas, l);
                drawPoints(chart.series(s), s, canvas, l);
            }
            drawHollowPoints(chart.series(s), s, canvas, l);
        }
    } else {
        for (std::size_t s = 0; s < chart.seriesCount(); ++s) {
            if (chart.series(s).isBars())
                drawBars(chart.series(s), 0, canvas, l);
            else
                drawSeries2D(chart.series(s), canvas, l, resolution);
        }
        // Over every line, so no other series hides one.
        for (std::size_t s = 0; s < chart.seriesCount(); ++s) {
            drawErrorBars(chart.series(s), 0, canvas, l);
            drawPoints(chart.series(s), 0, canvas, l);
            drawHollowPoints(chart.series(s), 0, canvas, l);
        }
    }
    drawAxes(chart, canvas, l);
    for (std::size_t s = 0; s < chart.seriesCount(); ++s) {
        if (chart.series(s).marksVisible())
            drawMarks(chart.series(s), chart.view3D ? s : 0, canvas, l, decimalSeparator);
    }
    drawNotes(chart, canvas, l);
    if (l.legendVisible)
        drawLegend(canvas, l);
    return l;
}

} // namespace chart
