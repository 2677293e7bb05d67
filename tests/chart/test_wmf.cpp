#include "chart/render.h"
#include "chart/wmfcanvas.h"
#include "support/tempdir.h"
#include "support/wmfreader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using namespace chart;

namespace {

// Runs libwmf's converter on the file; its exit status and the SVG it wrote.
std::pair<int, std::string> wmf2svg(const TempDir& dir, const std::string& bytes)
{
    const std::string wmf = dir.file("chart.wmf"), svg = dir.file("chart.svg");
    dir.write("chart.wmf", bytes);
    const std::string command =
        "wmf2svg -o '" + svg + "' '" + wmf + "' 2>'" + dir.file("err") + "'";
    const int status = std::system(command.c_str());
    std::ifstream in(svg);
    return {status, std::string(std::istreambuf_iterator<char>(in), {})};
}

Chart chartWith(std::size_t points, bool view3D, bool marks)
{
    Chart c;
    c.title = "E = f(N)";
    c.leftAxis.title = "E [J]";
    c.bottomAxis.title = "N";
    c.view3D = view3D;
    for (int k = 0; k < 3; ++k) {
        Series& s = c.addSeries(k == 2 ? "Пуля 0,547" : "file" + std::to_string(k));
        for (std::size_t i = 1; i <= points; ++i)
            s.addXY(double(i), 20 + k + double(i % 9) / 3);
        if (points > 0)
            s.setHollow(points / 2);
        s.setMarksVisible(marks);
    }
    return c;
}

std::string render(const Chart& c, int w, int h)
{
    WmfCanvas canvas(w, h);
    drawChart(c, canvas, {0, 0, double(w), double(h)}, ',');
    return canvas.finish();
}

} // namespace

TEST(WmfWriter, HeadersAndObjectSlotsAreConsistent)
{
    for (bool view3D : {false, true}) {
        const std::string bytes = render(chartWith(40, view3D, true), 361, 383);
        const WmfFile f = readWmf(bytes);
        EXPECT_TRUE(f.problems.empty()) << f.problems.front();
        EXPECT_EQ(f.width, 361);
        EXPECT_EQ(f.height, 383);
        EXPECT_LE(f.objectCount, 4) << "pens, brushes and fonts are deleted as they are replaced";
    }
}

TEST(WmfWriter, LongLinesAreSplitWithoutGaps)
{
    WmfCanvas canvas(1000, 700);
    std::vector<PointF> pts;
    for (int i = 0; i < 10000; ++i)
        pts.push_back({i / 10.0, double(i % 700)});
    canvas.polyline(pts.data(), pts.size());
    const WmfFile f = readWmf(canvas.finish());
    ASSERT_TRUE(f.problems.empty());
    std::vector<const WmfRecord*> lines;
    for (const WmfRecord& r : f.records)
        if (r.function == 0x0325)
            lines.push_back(&r);
    ASSERT_EQ(lines.size(), 3u);
    std::size_t total = 0;
    for (const WmfRecord* r : lines) {
        EXPECT_LE(r->params[0], WmfCanvas::kMaxPolyPoints);
        total += r->params[0];
    }
    EXPECT_EQ(total, 10000u + 2) << "each chunk repeats the last point of the one before";
    // The second chunk starts at the point where the first ended.
    const WmfRecord& a = *lines[0];
    const WmfRecord& b = *lines[1];
    EXPECT_EQ(a.params[2 * a.params[0] - 1], b.params[1]);
    EXPECT_EQ(a.params[2 * a.params[0]], b.params[2]);
}

TEST(WmfWriter, TextIsWindows1251WithACyrillicFont)
{
    WmfCanvas canvas(200, 100);
    canvas.setFont(Font{"Arial", 13, true, Color{0, 0, 255}});
    canvas.text({10, 20}, "Пуля ☺", TextAlign::Left, 0);
    const WmfFile f = readWmf(canvas.finish());
    ASSERT_TRUE(f.problems.empty());
    const WmfRecord* font = nullptr;
    const WmfRecord* text = nullptr;
    for (const WmfRecord& r : f.records) {
        if (r.function == 0x02FB)
            font = &r;
        if (r.function == 0x0521)
            text = &r;
    }
    ASSERT_TRUE(font && text);
    EXPECT_EQ(static_cast<std::int16_t>(font->params[0]), -13);
    EXPECT_EQ(font->params[4], 700);
    EXPECT_EQ(font->params[6] >> 8, 204);
    EXPECT_EQ(font->params[9], 'A' | ('r' << 8));
    ASSERT_EQ(text->params[0], 6);
    const std::string expected = "\xCF\xF3\xEB\xFF ?";
    std::string got;
    for (int i = 0; i < 3; ++i) {
        got += static_cast<char>(text->params[1 + i] & 0xFF);
        got += static_cast<char>(text->params[1 + i] >> 8);
    }
    EXPECT_EQ(got, expected);
    EXPECT_EQ(text->params[4], 20);
    EXPECT_EQ(text->params[5], 10);
}

TEST(WmfWriter, CoordinatesBeyondSixteenBitsAreClamped)
{
    WmfCanvas canvas(100, 100);
    const PointF far[2] = {{-1e9, 1e9}, {50, 50}};
    canvas.polyline(far, 2);
    const WmfFile f = readWmf(canvas.finish());
    ASSERT_TRUE(f.problems.empty());
    for (const WmfRecord& r : f.records) {
        if (r.function != 0x0325)
            continue;
        EXPECT_EQ(static_cast<std::int16_t>(r.params[1]), -32768);
        EXPECT_EQ(static_cast<std::int16_t>(r.params[2]), 32767);
    }
}

TEST(WmfWriter, LibwmfReadsEveryKindOfChart)
{
    TempDir dir;
    const std::pair<std::size_t, bool> cases[] = {
        {0, false}, {12, false}, {12, true}, {65535, false}, {3000, true}};
    for (const auto& [points, view3D] : cases) {
        const std::string bytes = render(chartWith(points, view3D, points < 100), 640, 480);
        ASSERT_TRUE(readWmf(bytes).problems.empty());
        const auto [status, svg] = wmf2svg(dir, bytes);
        EXPECT_EQ(status, 0) << readBytes(dir.file("err"));
        EXPECT_NE(svg.find("E = f(N)"), std::string::npos);
        if (points > 0) {
            EXPECT_NE(svg.find("file0"), std::string::npos);
            EXPECT_NE(svg.find("<ellipse"), std::string::npos) << "a hollow point";
        }
    }
}
