#include "chart/decimation.h"
#include "chart/render.h"
#include "chart/ui/qpaintercanvas.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage paint(const chart::Chart& c, QSize size, double resolution)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    chart::QPainterCanvas canvas(painter);
    chart::drawChart(c, canvas, {0, 0, double(size.width()), double(size.height())}, ',',
                     resolution);
    return image;
}

// Whether the pixel lies on an edge of the picture: not all of its 3 x 3 neighbours alike.
bool onEdge(const QImage& image, int x, int y)
{
    for (int v = std::max(0, y - 1); v <= std::min(image.height() - 1, y + 1); ++v)
        for (int u = std::max(0, x - 1); u <= std::min(image.width() - 1, x + 1); ++u)
            if (image.pixel(u, v) != image.pixel(x, y))
                return true;
    return false;
}

} // namespace

// Thinning may change how the rim of a crowded line is antialiased, nothing more: a dropped
// extreme would cut into the line, a stray segment would cross plain background. Crowded 3D
// faces may change their shade a little, as fewer edges overlap on them.
TEST(DecimatedPainting, MatchesFullPaintingUpToAntialiasing)
{
    const struct {
        int shots, width;
        bool view3D, steps; // steps: a string drifting in whole steps rather than scattered
        int maxPixels, maxOnEdges, maxElsewhere;
    } cases[] = {
        {10, 361, false, false, 0, 0, 0},          {10, 361, true, false, 0, 0, 0},
        {1000, 1400, false, false, 0, 0, 0},       {1000, 1400, true, false, 0, 0, 0},
        {1000, 361, false, false, 1800, 160, 0},   {65535, 361, false, false, 700, 200, 0},
        {65535, 1400, false, false, 3000, 128, 0}, {65535, 361, false, true, 1200, 200, 0},
        {65535, 361, true, false, 16000, 96, 8},   {65535, 361, true, true, 12000, 255, 8},
    };
    for (const auto& c : cases) {
        chart::Chart chart;
        chart.view3D = c.view3D;
        chart.setLeftAxisMinimum(0);
        chart::Series& s = chart.addSeries("V");
        for (int i = 1; i <= c.shots; ++i)
            s.addXY(i, c.steps ? 280 + (i / 3000) % 40 : 280 + (i * 7919) % 40);
        s.setHollow(std::size_t(c.shots / 2));
        const QSize size(c.width, 411);
        const QImage thinned = paint(chart, size, 1), full = paint(chart, size, chart::kEveryPoint);
        int pixels = 0, onEdges = 0, elsewhere = 0;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const QRgb a = thinned.pixel(x, y), b = full.pixel(x, y);
                const int d =
                    std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
                pixels += d > 0;
                int& worst = onEdge(full, x, y) ? onEdges : elsewhere;
                worst = std::max(worst, d);
            }
        }
        SCOPED_TRACE(testing::Message() << c.shots << " shots, " << c.width << " px, 3D "
                                        << c.view3D << ", steps " << c.steps);
        EXPECT_LE(pixels, c.maxPixels);
        EXPECT_LE(onEdges, c.maxOnEdges);
        EXPECT_LE(elsewhere, c.maxElsewhere);
    }
}
