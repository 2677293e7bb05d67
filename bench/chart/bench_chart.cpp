// Redraw, painting and export of the biggest charts the program makes: a full table of
// 65,535 shots under 255 external series of 255 points.
#include "chart/render.h"
#include "chart/ui/chartwidget.h"
#include "chart/ui/qpaintercanvas.h"
#include "charts/chartexport.h"
#include "charts/redraw.h"
#include "table/measurementtable.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

table::StringGrid fullTable()
{
    table::StringGrid t = table::makeGrid();
    t.setRowCount(65536);
    for (std::size_t r = 1; r < 65536; ++r) {
        t.setCell(table::ColV, r, std::to_string(280 + r % 40));
        t.setCell(table::ColE, r, r % 100 ? "22,5" : "####");
        t.setCell(table::ColDV, r, "-1,25");
    }
    return t;
}

charts::ExternalSeriesStore fullStore(std::vector<std::string>& items)
{
    charts::ExternalSeriesStore store;
    for (int k = 0; k < 255; ++k) {
        charts::ExternalSeries s;
        for (int i = 0; i < 255; ++i)
            s.append(std::to_string(270 + (i * k) % 50), "21,9", "0,35");
        store.add(std::move(s));
        items.push_back("series" + std::to_string(k) + ".vxm");
    }
    return store;
}

void velocityChart(chart::Chart& c)
{
    c.title = "V = f(N)";
    c.leftAxis.title = "V [m/s]";
    c.bottomAxis.title = "N";
    c.setLeftAxisMinimum(0);
    chart::Series& s = c.addSeries("No name");
    for (int i = 1; i <= 65535; ++i)
        s.addXY(i, 280 + (i * 7919) % 40);
}

void BM_Redraw(benchmark::State& state)
{
    const table::StringGrid t = fullTable();
    std::vector<std::string> items;
    const charts::ExternalSeriesStore store = fullStore(items);
    const std::string current = "/data/mar07.vxm";
    chart::Chart v, e, dV;
    for (auto _ : state) {
        charts::redraw(v, e, dV, {t, store, items, current, {false, false, true}});
        benchmark::DoNotOptimize(v.seriesCount());
    }
}
BENCHMARK(BM_Redraw)->Unit(benchmark::kMillisecond);

// One paint through the screen's canvas, as the window's chart (361 x 411) and a large one;
// the third argument is the 3D view.
void BM_PaintVelocityChart(benchmark::State& state)
{
    chart::Chart c;
    velocityChart(c);
    c.view3D = state.range(2) != 0;
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    QImage image(w, h, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        chart::QPainterCanvas canvas(painter);
        chart::drawChart(c, canvas, {0, 0, double(w), double(h)}, ',');
    }
}
BENCHMARK(BM_PaintVelocityChart)
    ->Args({361, 411, 0})
    ->Args({1000, 700, 0})
    ->Args({361, 411, 1})
    ->Unit(benchmark::kMillisecond);

void BM_ExportBmp(benchmark::State& state)
{
    chart::ChartWidget widget;
    velocityChart(widget.edit());
    const std::string path = "/tmp/vexorel-bench-chart.bmp";
    for (auto _ : state)
        charts::saveBmp(widget, QSize(1000, 700), path);
    std::remove(path.c_str());
}
BENCHMARK(BM_ExportBmp)->Unit(benchmark::kMillisecond);

void BM_ExportWmf(benchmark::State& state)
{
    chart::ChartWidget widget;
    velocityChart(widget.edit());
    const std::string path = "/tmp/vexorel-bench-chart.wmf";
    for (auto _ : state)
        charts::saveWmf(widget, QSize(1000, 700), path);
    std::remove(path.c_str());
}
BENCHMARK(BM_ExportWmf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Fonts and widgets need an application; no display is needed for any of this.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
