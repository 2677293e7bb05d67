// The panel's figures with confidence and the distribution chart over a full table, through
// the real main window (offscreen): 65,535 shots around 850 m/s typed to a tenth, one flyer.

#include "app/forms.h"
#include "app/shotstatisticspanel.h"
#include "app/tform1.h"
#include "chart/ui/chartwidget.h"
#include "charts/distribution.h"
#include "support/benchwindows.h"
#include "table/measurementtable.h"
#include "ui/gridview.h"

#include <QImage>
#include <QLabel>

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>

namespace {

constexpr std::size_t kRows = 65'535;

void fillTable()
{
    std::mt19937 random(7);
    std::normal_distribution<double> shot(850, 3);
    table::StringGrid& t = Form1->table();
    {
        table::GridUpdate update(t);
        t.setRowCount(kRows + 1);
        for (std::size_t r = 1; r <= kRows; ++r) {
            const double v = r == kRows / 2 ? 900 : shot(random);
            std::string text = std::to_string(std::lround(v * 10));
            text.insert(text.size() - 1, ",");
            t.setCell(table::ColN, r, std::to_string(r));
            t.setCell(table::ColV, r, text);
        }
    }
    Form1->deviationPass(Form1->statisticsPass());
}

// Every figure of the panel over all rows (shots, mean, ES, SDs, CV, median, both ranges, the
// shots needed, Grubbs' test) and over a whole-table selection, written into its labels.
void PanelFiguresOf65535Shots(benchmark::State& state)
{
    const BenchWindows windows("vexorel-bench-confidence");
    fillTable();
    Form1->Grid->selectRows(1, kRows);
    for (auto _ : state)
        Form1->updateShotStatistics();
    const ShotStatisticsPanel* panel = Form1->ShotStatisticsDock;
    if (!panel->FlyerLabel->text().startsWith(QStringLiteral("Shot ")))
        state.SkipWithError("the flyer was not found");
    if (panel->SelectedSdRangeValue->text().isEmpty())
        state.SkipWithError("the selection has no ranges");
}
BENCHMARK(PanelFiguresOf65535Shots)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The distribution chart built from the table and drawn at the window's size.
void DistributionChartOf65535ShotsDrawn(benchmark::State& state)
{
    const BenchWindows windows("vexorel-bench-distribution");
    fillTable();
    chart::ChartWidget* widget = Form1->ChartDistribution;
    const QSize size(361, 383);
    for (auto _ : state) {
        charts::distributionChart(widget->edit(), Form1->table(), Form1->units());
        benchmark::DoNotOptimize(widget->toImage(size));
    }
    if (widget->seriesCount() != 3)
        state.SkipWithError("no bars, curve and mean");
}
BENCHMARK(DistributionChartOf65535ShotsDrawn)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace
