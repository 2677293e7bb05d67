#include "stats/grubbs.h"
#include "stats/histogram.h"
#include "stats/intervals.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// A full table's worth of velocities: around 850 m/s, SD 3, typed to one decimal.
std::vector<double> velocities65535()
{
    std::mt19937 random(7);
    std::normal_distribution<double> shot(850, 3);
    std::vector<double> v(65535);
    for (double& x : v)
        x = std::round(shot(random) * 10) / 10;
    return v;
}

// What the panel shows with confidence: both intervals, the shots for ±1 m/s, the outlier test.
void PanelFigures65535(benchmark::State& state)
{
    const std::vector<double> v = velocities65535();
    for (auto _ : state) {
        const auto s = stats::meanAndSd(v);
        benchmark::DoNotOptimize(stats::meanInterval(*s, 0.95));
        benchmark::DoNotOptimize(stats::sdInterval(*s, 0.95));
        benchmark::DoNotOptimize(stats::shotsNeeded(s->sd, 1.0, 0.95));
        benchmark::DoNotOptimize(stats::grubbsTest(v, 0.95));
    }
}
BENCHMARK(PanelFigures65535)->Unit(benchmark::kMillisecond);

// The bisection alone, for a target that needs many shots (about 35,000).
void ShotsNeeded(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(stats::shotsNeeded(3, 0.0314, 0.95));
}
BENCHMARK(ShotsNeeded)->Unit(benchmark::kMicrosecond);

// The distribution chart's bars for the whole table.
void Histogram65535(benchmark::State& state)
{
    const std::vector<double> v = velocities65535();
    for (auto _ : state)
        benchmark::DoNotOptimize(stats::histogram(v, 0.1));
}
BENCHMARK(Histogram65535)->Unit(benchmark::kMillisecond);

} // namespace
