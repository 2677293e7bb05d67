// A load test of 50 strings of 100 shots each, every shot with its details, through the real
// load-development window (offscreen): opened from its file with every figure, the table and
// the chart computed, and the chart drawn (under 50 ms); one more string added and everything
// recomputed (under 5 ms).

#include "chart/ui/chartwidget.h"
#include "loaddev/loaddevwindow.h"
#include "session/loadtestfile.h"
#include "support/tempdir.h"
#include "table/measurementtable.h"

#include <QImage>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

constexpr std::size_t kStrings = 50;
constexpr std::size_t kShots = 100;
// The chart as a window of 1000 × 720 shows it.
constexpr QSize kChartSize(740, 430);

table::StringGrid string(std::size_t load)
{
    table::CellRows rows(table::kGridColumnCount);
    for (std::size_t i = 1; i <= kShots; ++i) {
        // A ladder rising 4 m/s a step, with a flat stretch in the middle, scattered ±5.
        const std::size_t step = load < 20 ? load : load < 26 ? 20 : load - 6;
        const std::string v =
            std::to_string(780 + 4 * step + (i * 7919) % 11) + "," + std::to_string(i % 10);
        char time[32];
        std::snprintf(time, sizeof time, "2024-05-11T%02zu:%02zu:%02zu", 9 + load / 10,
                      (load * 6 + i / 20) % 60, i % 60);
        const std::string n = std::to_string(i);
        const std::string note = "shot " + n;
        std::array<std::string_view, table::kGridColumnCount> cells{};
        cells[table::ColN] = n;
        cells[table::ColV] = v;
        cells[table::ColE] = "3932";
        cells[table::ColM] = "10,886";
        cells[table::ColBullet] = "308 Win 168 SMK";
        cells[table::ColDV] = "0,29";
        cells[table::ColTime] = time;
        cells[table::ColNote] = note;
        cells[table::ColExcluded] = i % 25 == 0 ? table::kExcludedMark : "";
        rows.appendRow(cells.data());
    }
    table::StringGrid grid = table::makeGrid();
    grid.replaceRowsFrom(1, std::move(rows));
    return grid;
}

std::string writeTest(const TempDir& dir)
{
    session::LoadTest test;
    test.title = "308 Win Varget ladder";
    for (std::size_t load = 0; load < kStrings; ++load) {
        table::StringDetails details;
        details.title = "Load " + std::to_string(load + 1);
        details.rifle = "Tikka T3x";
        details.powder = "Varget";
        test.strings.push_back(session::makeString(string(load), details, test.variable));
        session::setValue(test.strings.back(),
                          std::to_string(40 + load / 5) + "." + std::to_string(load % 5 * 2),
                          test.variable);
    }
    test.comparisons = {{20, 25}, {0, 49}};
    const std::string path = dir.file("ladder.vxl");
    session::writeLoadTest(test, path);
    return path;
}

void OpenRecomputeAndDraw50x100(benchmark::State& state)
{
    const TempDir dir;
    const QString path = QString::fromStdString(writeTest(dir));
    loaddev::LoadDevWindow window;
    for (auto _ : state) {
        if (!window.openFile(path)) {
            state.SkipWithError("the load test did not open");
            break;
        }
        const QImage picture = window.ladderChart()->toImage(kChartSize);
        benchmark::DoNotOptimize(picture.constBits());
    }
    if (window.figures().rows.size() != kStrings || !window.figures().fit ||
        window.figures().flatSpots.empty())
        state.SkipWithError("the ladder is not what was written");
    state.counters["shots"] = static_cast<double>(kStrings * kShots);
}
BENCHMARK(OpenRecomputeAndDraw50x100)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void AddOneStringTo50(benchmark::State& state)
{
    const TempDir dir;
    const QString path = QString::fromStdString(writeTest(dir));
    loaddev::LoadDevWindow window;
    const table::StringGrid added = string(kStrings);
    const table::StringDetails details;
    for (auto _ : state) {
        state.PauseTiming();
        window.openFile(path);
        state.ResumeTiming();
        window.addString(added, details);
    }
    if (window.figures().rows.size() != kStrings + 1)
        state.SkipWithError("the string was not added");
}
BENCHMARK(AddOneStringTo50)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
