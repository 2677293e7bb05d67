// Reading a 10,000-shot export of each format and putting it into the table: the core of an
// import, which together with the window's statistics and charts must stay under 100 ms.

#include "imports/importfile.h"
#include "support/exportfiles.h"
#include "support/tempdir.h"
#include "table/measurementtable.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace exportfiles;

std::string magnetoSpeedLog()
{
    return exportfiles::magnetoSpeedLog(10);
}

// The reader alone, and the reader with every series put into the table.
void Read(benchmark::State& state, std::string (*make)())
{
    TempDir dir;
    dir.write("import.csv", make());
    std::size_t shots = 0;
    for (auto _ : state) {
        const imports::ImportedFile file = imports::readImportFile(dir.file("import.csv"));
        shots = 0;
        for (const imports::ImportedSeries& series : file.series)
            shots += series.shots.size();
    }
    if (shots != kShots)
        state.SkipWithError("the file did not read whole");
}

void ReadAndPut(benchmark::State& state, std::string (*make)())
{
    TempDir dir;
    dir.write("import.csv", make());
    table::StringGrid grid = table::makeGrid();
    std::size_t rows = 0;
    for (auto _ : state) {
        const imports::ImportedFile file = imports::readImportFile(dir.file("import.csv"));
        rows = 0;
        for (const imports::ImportedSeries& series : file.series) {
            imports::putSeries(grid, series, imports::VelocityUnit::MetresPerSecond, "0,547",
                               "import");
            rows += grid.rowCount() - 1;
        }
    }
    if (rows != kShots)
        state.SkipWithError("the file did not read whole");
}

BENCHMARK_CAPTURE(Read, LabRadar, labRadarReport)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadAndPut, LabRadar, labRadarReport)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, GarminXero, garminXero)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadAndPut, GarminXero, garminXero)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, MagnetoSpeed, magnetoSpeedLog)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadAndPut, MagnetoSpeed, magnetoSpeedLog)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, PlainList, plainList)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadAndPut, PlainList, plainList)->Unit(benchmark::kMillisecond);

} // namespace
