#include "chart/axis.h"
#include "chart/bars.h"
#include "chart/chart.h"
#include "chart/decimation.h"
#include "chart/geometry.h"
#include "chart/layout.h"
#include "chart/render.h"
#include "recordingcanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <set>
#include <utility>

using namespace chart;
using Kind = RecordingCanvas::Kind;

namespace {

Chart sampleChart(std::size_t series, std::size_t points)
{
    Chart c;
    c.title = "V = f(N)";
    c.leftAxis.title = "V [m/s]";
    c.bottomAxis.title = "N";
    for (std::size_t s = 0; s < series; ++s) {
        Series& line = c.addSeries("series " + std::to_string(s));
        for (std::size_t i = 1; i <= points; ++i)
            line.addXY(double(i), 280 + 10 * std::sin(double(i + s)));
    }
    return c;
}

} // namespace

TEST(MarkFormat, GroupsThousandsAndKeepsAtMostThreeDecimals)
{
    const struct {
        double value;
        char separator;
        const char* text;
    } cases[] = {
        {0, ',', "0"},
        {5.4, ',', "5,4"},
        {1234.5, ',', "1 234,5"},
        {1234.5, '.', "1,234.5"},
        {2.0004, ',', "2"},
        {0.0005, ',', "0,001"},
        {-3.33, ',', "-3,33"},
        {-0.0001, ',', "0"},
        {1234567.125, '.', "1,234,567.125"},
        {999.9996, ',', "1 000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatValue(c.value, c.separator), c.text) << c.value;
}

TEST(AxisRange, FixedMinimumStaysAndAutomaticEndsSnapToSteps)
{
    const AxisRange v = axisRange(280, 313, false, 0, true, 0, 8, true, 0);
    EXPECT_EQ(v.min, 0);
    EXPECT_GE(v.max, 313);
    EXPECT_NEAR(std::remainder(v.max, v.step), 0, 1e-9);

    const AxisRange dv = axisRange(-3.33, 3.33, true, 0, true, 0, 8, true, 0);
    EXPECT_LE(dv.min, -3.33);
    EXPECT_GE(dv.max, 3.33);

    // Degenerate data still gives a range to draw in.
    for (const AxisRange& r : {axisRange(300, 300, true, 0, true, 0, 5, true, 0),
                               axisRange(0, 0, false, 0, true, 0, 5, true, 0),
                               axisRange(-5, -1, false, 0, true, 0, 5, true, 0),
                               axisRange(NAN, NAN, true, 0, true, 0, 5, true, 0),
                               axisRange(-1e308, 1e308, true, 0, true, 0, 5, true, 0)}) {
        EXPECT_GT(r.max, r.min);
        EXPECT_GT(r.step, 0);
        EXPECT_LE(tickValues(r.min, r.max, r.step).size(), 10001u);
    }
    EXPECT_EQ(niceStep(0.7), 1);
    EXPECT_EQ(niceStep(1.2), 2);
    EXPECT_EQ(niceStep(30), 50);
}

TEST(Palette, SeriesTakeTheFirstFreeColourInOrder)
{
    Chart a = sampleChart(3, 2), b = sampleChart(3, 5);
    std::set<std::tuple<int, int, int>> distinct;
    for (std::size_t s = 0; s < 3; ++s) {
        EXPECT_EQ(a.series(s).color(), b.series(s).color());
        EXPECT_EQ(a.series(s).color(), palette()[s]);
        const Color c = a.series(s).color();
        distinct.insert({c.r, c.g, c.b});
    }
    EXPECT_EQ(distinct.size(), 3u);
    a.removeAllSeries();
    EXPECT_EQ(a.addSeries().color(), palette()[0]);
    // More series than colours: the palette repeats instead of failing.
    Chart many = sampleChart(25, 1);
    EXPECT_EQ(many.series(24).color(), palette()[24 % palette().size()]);
}

TEST(Geometry, ClippingSplitsALineThatLeavesAndReturns)
{
    const RectF r{0, 0, 100, 100};
    const auto parts = clipPolyline({{10, 50}, {50, -50}, {90, 50}}, r);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].front(), (PointF{10, 50}));
    EXPECT_NEAR(parts[0].back().y, 0, 1e-9);
    EXPECT_NEAR(parts[1].front().y, 0, 1e-9);
    EXPECT_EQ(parts[1].back(), (PointF{90, 50}));
    EXPECT_TRUE(clipPolyline({{-10, -10}, {-5, 200}}, r).empty());
    EXPECT_EQ(clipPolyline({{5, 5}}, r).size(), 1u);
}

TEST(Decimation, KeepsFirstLowestHighestAndLastOfEachColumnRunAndKeptPointsApart)
{
    const struct {
        const char* name;
        std::vector<PointF> points;
        double pixelsPerUnit;
        std::vector<std::size_t> keep, expected;
    } cases[] = {
        // clang-format off
        {"one column", {{.1, 5}, {.2, 9}, {.25, 7}, {.3, 1}, {.4, 4}, {.45, 6}}, 1, {},
         {0, 1, 3, 5}},
        {"two device pixels a unit", {{.1, 5}, {.2, 1}, {.3, 2}, {.35, 9}, {.4, 3}, {.6, 4},
         {.7, 0}, {.8, 4}}, 2, {}, {0, 1, 3, 4, 5, 6, 7}},
        {"kept points split runs", {{.1, 5}, {.1, 1}, {.1, 3}, {.1, 9}, {.1, 2}, {.1, 4}, {.1, 7},
         {.1, 6}, {.1, 0}, {.1, 8}, {.1, 2}, {.1, 3}, {.1, 5}}, 1, {6, 40},
         {0, 1, 3, 5, 6, 7, 8, 9, 12}},
        {"a line turning back", {{.5, 0}, {1.5, 0}, {.6, 1}, {.7, 2}, {.8, 3}, {.9, 1}}, 1, {},
         {0, 1, 2, 4, 5}},
        // clang-format on
    };
    for (const auto& c : cases)
        EXPECT_EQ(decimate(c.points, c.pixelsPerUnit, c.keep), c.expected) << c.name;
}

class LayoutAtSize : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(LayoutAtSize, LabelsNeverOverlapAndEverythingStaysInside)
{
    const auto [w, h] = GetParam();
    Chart c = sampleChart(4, 65);
    c.legendVisible = true;
    for (bool view3D : {false, true}) {
        c.view3D = view3D;
        RecordingCanvas canvas;
        const Layout l = computeLayout(c, {0, 0, double(w), double(h)}, canvas, ',');
        if (!l.plotVisible)
            continue;
        EXPECT_GE(l.plot.left, 0);
        EXPECT_LE(l.plot.right() + l.depthX, w);
        EXPECT_GE(l.plot.top - l.depthY, 0);
        EXPECT_LE(l.plot.bottom(), h);
        for (std::size_t i = 1; i < l.bottomTicks.size(); ++i) {
            const Tick& a = l.bottomTicks[i - 1];
            const Tick& b = l.bottomTicks[i];
            EXPECT_LT(a.pos + 3.0 * a.label.size(), b.pos - 3.0 * b.label.size())
                << a.label << " / " << b.label;
        }
        for (std::size_t i = 1; i < l.leftTicks.size(); ++i)
            EXPECT_GE(l.leftTicks[i - 1].pos - l.leftTicks[i].pos, 12.0);
        if (l.legendVisible) {
            EXPECT_LE(l.legend.right(), w);
            EXPECT_LE(l.legend.bottom(), h);
            EXPECT_GE(l.legend.left, l.plot.right() + l.depthX);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, LayoutAtSize,
                         ::testing::Values(std::pair{361, 383}, std::pair{1000, 700},
                                           std::pair{2400, 300}, std::pair{150, 120},
                                           std::pair{60, 40}, std::pair{1, 1}));

TEST(Drawing, TwoDimensionalChartDrawsTitleAxesLinesAndLegend)
{
    Chart c = sampleChart(2, 12);
    c.legendVisible = true;
    RecordingCanvas canvas;
    const Layout l = drawChart(c, canvas, {0, 0, 400, 300}, ',');
    const auto texts = canvas.texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0]->text, "V = f(N)");

    std::vector<const RecordingCanvas::Op*> lines;
    for (const auto* op : canvas.of(Kind::Polyline))
        if (op->pen.width == 2 && op->points.size() == 12)
            lines.push_back(op);
    ASSERT_EQ(lines.size(), 2u + 0);
    EXPECT_EQ(lines[0]->pen.color, c.series(0).color());
    EXPECT_EQ(lines[1]->pen.color, c.series(1).color());
    EXPECT_DOUBLE_EQ(lines[0]->points[0].x, l.plot.left);
    EXPECT_DOUBLE_EQ(lines[0]->points[11].x, l.plot.right());

    std::vector<std::string> legend;
    for (const auto* t : texts)
        if (t->text.rfind("series", 0) == 0)
            legend.push_back(t->text);
    EXPECT_EQ(legend, (std::vector<std::string>{"series 0", "series 1"}));
    bool rotated = false;
    for (const auto* t : texts)
        rotated |= t->text == "V [m/s]" && t->angle == 90;
    EXPECT_TRUE(rotated);
    EXPECT_TRUE(canvas.of(Kind::Polygon).empty()) << "no 3D faces in 2D";
}

TEST(Drawing, ThreeDimensionalRibbonsAndWalls)
{
    Chart c = sampleChart(2, 10);
    c.view3D = true;
    c.wallsVisible = true;
    RecordingCanvas canvas;
    const Layout l = drawChart(c, canvas, {0, 0, 500, 400}, ',');
    EXPECT_GT(l.depthX, 0);
    std::size_t ribbonFaces = 0, walls = 0;
    for (const auto* op : canvas.of(Kind::Polygon)) {
        if (op->brush.color == c.series(0).color() || op->brush.color == c.series(1).color())
            ++ribbonFaces;
        else
            ++walls;
    }
    EXPECT_EQ(ribbonFaces, 2u * 9);
    EXPECT_EQ(walls, 2u) << "left and bottom wall";
    // The back series is drawn first, one series depth behind the front one.
    const auto polys = canvas.of(Kind::Polygon);
    EXPECT_EQ(polys[2]->brush.color, c.series(1).color());

    c.wallsVisible = false;
    RecordingCanvas bare;
    drawChart(c, bare, {0, 0, 500, 400}, ',');
    EXPECT_EQ(bare.of(Kind::Polygon).size(), 2u * 9);
}

TEST(Drawing, MarksShowValuesWithoutOverlapping)
{
    Chart c;
    Series& s = c.addSeries("a");
    for (int i = 1; i <= 2000; ++i)
        s.addXY(i, 1234.5 + i % 3);
    s.setMarksVisible(true);
    RecordingCanvas canvas;
    drawChart(c, canvas, {0, 0, 600, 400}, ',');
    std::vector<const RecordingCanvas::Op*> marks;
    for (const auto* t : canvas.texts())
        if (t->font == markFont())
            marks.push_back(t);
    ASSERT_GT(marks.size(), 5u);
    EXPECT_LT(marks.size(), 200u) << "crowded marks are thinned out";
    EXPECT_EQ(marks[0]->text, "1 235,5");
    for (std::size_t i = 1; i < marks.size(); ++i) {
        const double prevRight = marks[i - 1]->points[0].x + 3.0 * marks[i - 1]->text.size();
        const double left = marks[i]->points[0].x - 3.0 * marks[i]->text.size();
        EXPECT_LT(prevRight, left);
    }
}

TEST(Drawing, HugeSeriesIsReducedToWhatThePlotCanShow)
{
    Chart c;
    Series& s = c.addSeries("big");
    for (int i = 1; i <= 65535; ++i)
        s.addXY(i, 300 + (i * 7919) % 23);
    RecordingCanvas canvas;
    const Layout l = drawChart(c, canvas, {0, 0, 1000, 700}, '.');
    std::size_t points = 0;
    for (const auto* op : canvas.of(Kind::Polyline))
        if (op->pen.width == 2)
            points += op->points.size();
    EXPECT_GT(points, l.plot.width);
    EXPECT_LE(points, 4 * (l.plot.width + 2));
}

TEST(Drawing, LinesThinToTheResolutionUnlessLabelledAndKeepHollowPoints)
{
    const struct {
        bool view3D, marks;
        double resolution;
    } cases[] = {{false, false, 1},
                 {false, false, 2.5},
                 {false, true, 1},
                 {true, false, 1},
                 {true, true, 1}};
    const std::size_t hollow[] = {0, 5000, 5001, 19999};
    for (const auto& c : cases) {
        Chart chart = sampleChart(0, 0);
        chart.view3D = c.view3D;
        Series& s = chart.addSeries("big");
        for (int i = 1; i <= 20000; ++i)
            s.addXY(i, 300 + (i * 7919) % 23);
        for (std::size_t i : hollow)
            s.setHollow(i);
        s.setMarksVisible(c.marks);
        RecordingCanvas canvas;
        const Layout l = drawChart(chart, canvas, {0, 0, 600, 400}, ',', c.resolution);
        // The line's vertices: its polyline's (not the legend's), its faces' front edges.
        std::vector<PointF> vertices;
        for (const RecordingCanvas::Op& op : canvas.ops) {
            if (op.kind == Kind::Polyline && op.pen.color == s.color() && op.points.size() > 2)
                vertices.insert(vertices.end(), op.points.begin(), op.points.end());
            if (op.kind == Kind::Polygon && op.brush.color == s.color())
                vertices.insert(vertices.end(), op.points.begin() + (vertices.empty() ? 0 : 1),
                                op.points.begin() + 2);
        }
        SCOPED_TRACE(testing::Message()
                     << "3D " << c.view3D << ", marks " << c.marks << ", " << c.resolution);
        if (c.marks)
            EXPECT_EQ(vertices.size(), s.count());
        else // ribbons thin at a quarter pixel and keep their last pixel column
            EXPECT_LE(vertices.size(),
                      (c.view3D ? 16 : 4) * (c.resolution * l.plot.width + 2) + 64);
        const auto circles = canvas.of(Kind::Ellipse);
        ASSERT_EQ(circles.size(), std::size(hollow));
        for (std::size_t k = 0; k < circles.size(); ++k) {
            const PointF centre{l.mapX(s.x(hollow[k])), l.mapY(s.y(hollow[k]))};
            EXPECT_NEAR(circles[k]->points[0].x + circles[k]->points[1].x, 2 * centre.x, 1e-9);
            EXPECT_NE(std::find(vertices.begin(), vertices.end(), centre), vertices.end());
        }
    }
}

TEST(Drawing, PointsOutsideAFixedMinimumAreCutAtTheFrame)
{
    Chart c;
    c.setLeftAxisMinimum(0);
    Series& s = c.addSeries("neg");
    for (double y : {5.0, -20.0, 5.0})
        s.addXY(s.count() + 1, y);
    RecordingCanvas canvas;
    const Layout l = drawChart(c, canvas, {0, 0, 400, 300}, ',');
    for (const auto* op : canvas.of(Kind::Polyline)) {
        if (op->pen.width != 2)
            continue;
        for (const PointF& p : op->points)
            EXPECT_LE(p.y, l.plot.bottom() + 0.5 + 1e-9);
    }
}

namespace {

bool isNiceStep(double step)
{
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
    return std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 ||
           std::fabs(mantissa - 5) < 1e-9;
}

bool onStep(double value, double step)
{
    return std::fabs(std::remainder(value, step)) < step * 1e-6;
}

} // namespace

TEST(FittedRange, WorkedExamples)
{
    const struct {
        const char* name;
        double lo, hi;
        int maxTicks;
        AxisRange expected;
    } cases[] = {
        // A narrow string: a step is more than 5 % of the range, so the margin is a step.
        {"narrow, room for ten steps", 282, 290, 10, {281, 291, 1}},
        {"narrow, room for eight steps", 282, 290, 8, {280, 292, 2}},
        {"single shot", 300, 300, 8, {299, 301, 0.5}},
        {"wide", 0, 1000, 8, {-200, 1200, 200}},
        // Here 5 % of the range (50) is more than a step (20).
        {"wide with many steps", 100, 1100, 100, {40, 1160, 20}},
        {"negative", -12.5, -3.2, 8, {-16, 0, 2}},
        {"ends given the other way round", 290, 282, 10, {281, 291, 1}},
    };
    for (const auto& c : cases) {
        const AxisRange r = fittedRange(c.lo, c.hi, c.maxTicks);
        EXPECT_NEAR(r.min, c.expected.min, 1e-9) << c.name;
        EXPECT_NEAR(r.max, c.expected.max, 1e-9) << c.name;
        EXPECT_DOUBLE_EQ(r.step, c.expected.step) << c.name;
    }
}

TEST(FittedRange, MarginsOfAtLeastAStepAndFivePercentOnWholeSteps)
{
    const std::pair<double, double> data[] = {
        {282, 290}, {281.7, 289.35}, {0.02, 0.07}, {-3.33, 3.33},   {-910, -905}, {5.4, 5.6},
        {0, 65535}, {1e-6, 2e-6},    {12.5, 1e7},  {-1e300, 1e300}, {299, 300.5}, {1.1, 1.1000001}};
    for (const auto& [lo, hi] : data) {
        for (int maxTicks = 0; maxTicks <= 30; ++maxTicks) {
            const AxisRange r = fittedRange(lo, hi, maxTicks);
            const std::string at =
                std::to_string(lo) + ".." + std::to_string(hi) + " in " + std::to_string(maxTicks);
            const double range = hi - lo;
            const double slack = r.step * 1e-6;
            EXPECT_TRUE(isNiceStep(r.step)) << at << ": step " << r.step;
            EXPECT_LE(r.min, lo - std::max(r.step, 0.05 * range) + slack) << at;
            EXPECT_GE(r.max, hi + std::max(r.step, 0.05 * range) - slack) << at;
            EXPECT_TRUE(onStep(r.min, r.step) && onStep(r.max, r.step)) << at;
            EXPECT_LE((r.max - r.min) / r.step, std::max(maxTicks, 4) + 1e-6) << at;
        }
    }
}

TEST(FittedRange, NoDataOrNoNumbersStillGiveARangeToDrawIn)
{
    for (const AxisRange& r : {fittedRange(NAN, NAN, 8), fittedRange(NAN, 5, 8),
                               fittedRange(-INFINITY, INFINITY, 8), fittedRange(1e20, 1e20, 8)}) {
        EXPECT_TRUE(std::isfinite(r.min) && std::isfinite(r.max));
        EXPECT_GT(r.max, r.min);
        EXPECT_GT(r.step, 0);
        EXPECT_LE(tickValues(r.min, r.max, r.step).size(), 10001u);
    }
}

TEST(Drawing, FittedAxisSpansTheBoundsAndCutsWhatLiesOutside)
{
    // The point at 0 stands for an energy that did not convert: drawn, but not fitted.
    Chart c;
    c.setLeftAxisMinimum(0);
    Series& s = c.addSeries("e");
    for (double y : {282.0, 290.0, 0.0, 286.0})
        s.addXY(s.count() + 1, y);
    s.setMarksVisible(true);

    RecordingCanvas unfitted;
    EXPECT_EQ(drawChart(c, unfitted, {0, 0, 400, 300}, ',').y.min, 0);

    c.leftAxis.fitTo = DataBounds{282, 290};
    RecordingCanvas canvas;
    const Layout l = drawChart(c, canvas, {0, 0, 400, 300}, ',');
    EXPECT_LE(l.y.min, 282 - l.y.step);
    EXPECT_GT(l.y.min, 270);
    EXPECT_GE(l.y.max, 290 + l.y.step);
    EXPECT_LT(l.y.max, 300);

    std::size_t linePoints = 0;
    for (const auto* op : canvas.of(Kind::Polyline)) {
        if (op->pen.width != 2)
            continue;
        for (const PointF& p : op->points) {
            ++linePoints;
            EXPECT_LE(p.y, l.plot.bottom() + 0.5 + 1e-9);
        }
    }
    EXPECT_GE(linePoints, 4u) << "the line is cut at the frame, not left out";
    std::vector<std::string> marks;
    for (const auto* t : canvas.texts())
        if (t->font == markFont())
            marks.push_back(t->text);
    EXPECT_EQ(marks, (std::vector<std::string>{"282", "290", "286"})) << "no mark below the plot";
}

// A histogram's bars as numbers: the x axis runs from the first bar's left edge to the last
// one's right edge, the y axis from 0, and each bar stands on 0 as high as its count. Where
// is given as fractions of the plot: left, top, right, bottom.
TEST(Bars, StandOnZeroEdgeToEdgeAndAreCutToThePlot)
{
    using Fractions = std::array<double, 4>;
    const struct {
        const char* name;
        std::vector<std::pair<double, double>> bins;
        double width;
        std::optional<double> fixedMaximum;
        std::vector<Fractions> expected;
    } cases[] = {
        // clang-format off
        // y axis 0..6 in steps of 1 (smallest step 1), x 850..853.
        {"three bins", {{850, 2}, {851, 6}, {852, 3}}, 1, {},
         {{0, 4 / 6.0, 1 / 3.0, 1}, {1 / 3.0, 0, 2 / 3.0, 1}, {2 / 3.0, 3 / 6.0, 1, 1}}},
        {"an empty bin is no bar", {{850.2, 1}, {850.4, 0}, {850.6, 2}}, 0.2, {},
         {{0, 0.5, 1 / 3.0, 1}, {2 / 3.0, 0, 1, 1}}},
        {"cut at a fixed top", {{10, 1}, {15, 8}}, 5, 4.0, {{0, 0.75, 0.5, 1}, {0.5, 0, 1, 1}}},
        // Ticks labelled "2 770" to "2 800": the last one still inside the chart.
        {"wide labels", {{2770, 2}, {2780, 4}, {2790, 1}}, 10, {},
         {{0, 0.5, 1 / 3.0, 1}, {1 / 3.0, 0, 2 / 3.0, 1}, {2 / 3.0, 0.75, 1, 1}}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Chart chart;
        chart.legendVisible = false;
        chart.setLeftAxisMinimum(0);
        chart.leftAxis.smallestStep = 1;
        chart.bottomAxis.smallestStep = c.width;
        if (c.fixedMaximum) {
            chart.leftAxis.automaticMaximum = false;
            chart.leftAxis.maximum = *c.fixedMaximum;
        }
        Series& s = chart.addSeries("Shots");
        s.setBars(c.width);
        for (const auto& [x, n] : c.bins)
            s.addXY(x, n);
        RecordingCanvas canvas;
        const Layout l = drawChart(chart, canvas, {0, 0, 400, 300}, ',');
        const std::vector<RectF> bars = barRects(s, l);
        ASSERT_EQ(bars.size(), c.expected.size());
        std::vector<const RecordingCanvas::Op*> drawn;
        for (const auto* op : canvas.of(Kind::Rectangle))
            if (op->pen.color == s.color() && op->brush.visible)
                drawn.push_back(op);
        ASSERT_EQ(drawn.size(), bars.size()) << "the bars drawn are the bars computed";
        for (std::size_t i = 0; i < bars.size(); ++i) {
            const RectF& b = bars[i];
            const Fractions at = {(b.left - l.plot.left) / l.plot.width,
                                  (b.top - l.plot.top) / l.plot.height,
                                  (b.right() - l.plot.left) / l.plot.width,
                                  (b.bottom() - l.plot.top) / l.plot.height};
            for (std::size_t k = 0; k < 4; ++k)
                EXPECT_NEAR(at[k], c.expected[i][k], 1e-9) << "bar " << i << ", edge " << k;
            EXPECT_EQ(drawn[i]->points[0], (PointF{b.left, b.top}));
            EXPECT_NE(drawn[i]->brush.color, s.color()) << "filled lighter than outlined";
        }
        // Ticks no closer than a bin, and at least two of them even on a tight string, each
        // label (centred, 6 px a character) inside the chart.
        ASSERT_GE(l.bottomTicks.size(), 2u);
        EXPECT_GE(l.bottomTicks[1].value - l.bottomTicks[0].value, c.width * (1 - 1e-9));
        std::size_t labels = 0;
        for (const auto* label : canvas.texts()) {
            if (label->points[0].y != l.plot.bottom() + kTickLength + 1)
                continue;
            ++labels;
            EXPECT_LE(label->points[0].x + 3.0 * label->text.size(), 400) << label->text;
        }
        EXPECT_EQ(labels, l.bottomTicks.size());
    }
}

namespace {

// A ladder as the load-development window draws it: shots as dots, means with bars, a line,
// shaded flat spots (one reaching past the axis, one wholly outside it) and the line's figures
// in the plot.
class Ladder : public ::testing::Test {
protected:
    Ladder()
    {
        c.bottomAxis.fitTo = DataBounds{40.0, 41.5};
        Series& shots = c.addSeries("Shots");
        shots.setLineVisible(false);
        shots.setPointsVisible(true);
        for (double x : {40.0, 40.5, 41.0, 41.5}) {
            shots.addXY(x, 800 + 16 * (x - 40));
            shots.addXY(x, 804 + 16 * (x - 40));
        }
        shots.setHollow(1);
        Series& means = c.addSeries("Mean \u00B1 SD");
        means.setLineVisible(false);
        means.setPointsVisible(true);
        means.addXY(40.5, 810);
        means.addErrorBar(40.5, 790, 830);
        Series& fit = c.addSeries("Fit");
        fit.addXY(40.0, 802);
        fit.addXY(41.5, 826);
        c.bands = {{40.5, 41.0, {0xEE, 0xEE, 0xCC}},
                   {41.2, 60, {0xCC, 0xEE, 0xEE}},
                   {70, 80, {0xCC, 0xCC, 0xEE}}};
        c.notes = {"+16,0 m/s per grain", "R\u00B2 = 0,99"};
    }

    Layout draw()
    {
        canvas.ops.clear();
        return drawChart(c, canvas, {0, 0, 600, 400}, ',');
    }

    // The error bars' strokes: thin lines in the means' colour.
    std::vector<std::vector<PointF>> errorBars() const
    {
        std::vector<std::vector<PointF>> out;
        for (const auto* op : canvas.of(Kind::Polyline))
            if (op->pen.color == c.series(1).color() && op->pen.width == 1)
                out.push_back(op->points);
        return out;
    }

    Chart c;
    RecordingCanvas canvas;
};

bool near(PointF a, PointF b)
{
    return std::fabs(a.x - b.x) < 1e-9 && std::fabs(a.y - b.y) < 1e-9;
}

} // namespace

TEST_F(Ladder, PointSeriesDrawDotsAndNoLine)
{
    const Layout l = draw();
    const Series& shots = c.series(0);
    for (const auto* op : canvas.of(Kind::Polyline))
        EXPECT_FALSE(op->pen.color == shots.color() && op->pen.width == 2) << "no line";
    std::vector<PointF> dots;
    std::size_t hollow = 0;
    for (const auto* op : canvas.of(Kind::Ellipse)) {
        const PointF centre{(op->points[0].x + op->points[1].x) / 2,
                            (op->points[0].y + op->points[1].y) / 2};
        if (op->brush.color == shots.color()) {
            dots.push_back(centre);
            EXPECT_NEAR(op->points[1].x - op->points[0].x, 6, 1e-9);
        } else if (op->pen.color == shots.color()) {
            ++hollow;
            EXPECT_TRUE(near(centre, {l.mapX(shots.x(1)), l.mapY(shots.y(1))}));
        }
    }
    // The legend's sample is a dot too.
    ASSERT_EQ(dots.size(), shots.count() - 1 + 1);
    for (std::size_t i = 0, k = 0; i < shots.count(); ++i) {
        if (i == 1)
            continue;
        EXPECT_TRUE(near(dots[k++], {l.mapX(shots.x(i)), l.mapY(shots.y(i))})) << i;
    }
    EXPECT_EQ(hollow, 1u);
    ASSERT_EQ(l.legendEntries.size(), 3u);
    EXPECT_EQ(std::pair(l.legendEntries[0].line, l.legendEntries[0].dot), std::pair(false, true));
    EXPECT_EQ(std::pair(l.legendEntries[2].line, l.legendEntries[2].dot), std::pair(true, false));
}

TEST_F(Ladder, ErrorBarsSpanTheirRangeWithCapsAndWidenTheAxis)
{
    const Layout l = draw();
    EXPECT_LE(l.y.min, 790);
    EXPECT_GE(l.y.max, 830);
    const double x = l.mapX(40.5);
    const std::vector<std::vector<PointF>> expected = {
        {{x, l.mapY(830)}, {x, l.mapY(790)}},
        {{x - 4, l.mapY(830)}, {x + 4, l.mapY(830)}},
        {{x - 4, l.mapY(790)}, {x + 4, l.mapY(790)}}};
    const auto bar = errorBars();
    ASSERT_EQ(bar.size(), expected.size());
    for (std::size_t i = 0; i < bar.size(); ++i)
        for (std::size_t k = 0; k < 2; ++k)
            EXPECT_TRUE(near(bar[i][k], expected[i][k])) << i << " " << k;

    // A bar beyond a fixed axis is cut at the frame and loses the cap that is off the plot.
    c.leftAxis.fitTo = DataBounds{800, 820};
    const Layout cut = draw();
    const auto cutBar = errorBars();
    ASSERT_EQ(cutBar.size(), 1u);
    EXPECT_NEAR(cutBar[0][0].y, cut.plot.top, 1e-9);
    EXPECT_NEAR(cutBar[0][1].y, cut.plot.bottom(), 1e-9);
}

TEST_F(Ladder, BandsShadeTheirStretchUnderTheGridAndNotesSitInThePlot)
{
    const Layout l = draw();
    // The bottom axis follows fitTo: a margin of a step beyond 40,0 and 41,5.
    EXPECT_LE(l.x.min, 40.0 - l.x.step + 1e-9);
    EXPECT_GE(l.x.max, 41.5 + l.x.step - 1e-9);
    EXPECT_LT(l.x.step, 1);

    std::vector<const RecordingCanvas::Op*> bands;
    std::size_t firstGridLine = canvas.ops.size();
    for (std::size_t i = 0; i < canvas.ops.size(); ++i) {
        const auto& op = canvas.ops[i];
        if (op.kind == Kind::Rectangle && op.brush.visible &&
            std::any_of(c.bands.begin(), c.bands.end(),
                        [&](const auto& b) { return b.color == op.brush.color; })) {
            bands.push_back(&op);
            EXPECT_LT(i, firstGridLine) << "bands lie under the grid";
        }
        if (op.kind == Kind::Polyline && op.pen.color == Color{0xDD, 0xDD, 0xDD})
            firstGridLine = std::min(firstGridLine, i);
    }
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_TRUE(near(bands[0]->points[0], {l.mapX(40.5), l.plot.top}));
    EXPECT_TRUE(near(bands[0]->points[1], {l.mapX(41.0), l.plot.bottom()}));
    EXPECT_NEAR(bands[1]->points[1].x, l.plot.right(), 1e-9);

    ASSERT_FALSE(l.notes.isEmpty());
    EXPECT_GE(l.notes.left, l.plot.left);
    EXPECT_LE(l.notes.right(), l.plot.right());
    EXPECT_GE(l.notes.top, l.plot.top);
    EXPECT_LE(l.notes.bottom(), l.plot.bottom());
    std::vector<std::string> notes;
    for (const auto* t : canvas.texts()) {
        if (t->points[0].x > l.notes.left && t->points[0].x < l.notes.right() &&
            t->points[0].y >= l.notes.top && t->points[0].y < l.notes.bottom())
            notes.push_back(t->text);
    }
    EXPECT_EQ(notes, c.notes);
    // Wide enough for the longer note at the canvas's 6 px a character.
    EXPECT_NEAR(l.notes.width, 6.0 * c.notes[0].size() + 8, 1e-9);
}
