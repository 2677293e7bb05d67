#include "runtime/convert.h"
#include "table/measurementtable.h"
#include "table/shotstatistics.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr std::size_t kRows = 65535;

table::StringGrid fullTable()
{
    table::StringGrid grid = table::makeGrid();
    grid.setRowCount(kRows + 1);
    for (std::size_t r = 1; r <= kRows; ++r) {
        grid.setCell(table::ColN, r, std::to_string(r));
        grid.setCell(table::ColV, r, std::to_string(280 + r % 41));
        table::applyEnergyRule(grid, r, "0,547");
    }
    return grid;
}

// What every command that changes the table runs afterwards.
void StatisticsAndDeviation65535(benchmark::State& state)
{
    table::StringGrid grid = fullTable();
    for (auto _ : state) {
        const table::Statistics s = table::statisticsPass(grid);
        table::deviationPass(grid, s.meanVelocity);
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(StatisticsAndDeviation65535)->Unit(benchmark::kMillisecond);

// The statistics pass with the panel's figures, as a download or Open runs them.
void StatisticsWithShotFigures65535(benchmark::State& state)
{
    table::StringGrid grid = fullTable();
    for (auto _ : state) {
        const table::Statistics s = table::statisticsPass(grid);
        const table::ShotStatisticsTexts t =
            table::formatShotStatistics(table::shotStatistics(grid));
        benchmark::DoNotOptimize(s);
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(StatisticsWithShotFigures65535)->Unit(benchmark::kMillisecond);

// What a change of selection spanning the whole table costs the panel.
void ShotFiguresOfSelection65535(benchmark::State& state)
{
    table::StringGrid grid = fullTable();
    for (auto _ : state) {
        const table::ShotStatisticsTexts t =
            table::formatShotStatistics(table::shotStatistics(grid, 1, kRows));
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(ShotFiguresOfSelection65535)->Unit(benchmark::kMillisecond);

void EnergyRule65535(benchmark::State& state)
{
    table::StringGrid grid = fullTable();
    for (auto _ : state)
        table::applyEnergyRule(grid, 1, kRows, rt::parseFloat("0,547"));
}
BENCHMARK(EnergyRule65535)->Unit(benchmark::kMillisecond);

} // namespace
