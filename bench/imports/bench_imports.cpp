// Reading a 10,000-shot export of each format and putting it into the table: the core of an
// import, which together with the window's statistics and charts must stay under 100 ms.

#include "imports/importfile.h"
#include "support/tempdir.h"
#include "table/measurementtable.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int kShots = 10'000;

std::string velocity(int i, int base)
{
    return std::to_string(base + i % 41) + "." + std::to_string(i % 10) + "0";
}

std::string labRadarReport()
{
    std::string text =
        "sep=;\r\nDevice ID;LBR-0012345;;\r\n\r\nSeries No;0007;;\r\n"
        "Units velocity;fps;;\r\nUnits weight;grain;;\r\n\r\n"
        "Shot ID;V0;V10.00;V20.00;Ke0;Ke10.00;Ke20.00;PF10.00;Proj. Weight;Date;Time\r\n";
    for (int i = 1; i <= kShots; ++i)
        text += std::to_string(i) + ";" + velocity(i, 2780) +
                ";2760.11;2716.90;2926.55;2835.70;2747.12;469.80;168.00;2024-05-11;09:41:02;\r\n";
    return text;
}

std::string garminXero()
{
    std::string text =
        "\xEF\xBB\xBF\"308 Win 168 SMK\"\n#,SPEED (FPS),\xCE\x94 AVG (FPS),KE (FT-LB),"
        "POWER FACTOR,TIME,CLEAN BORE,COLD BORE,SHOT NOTES\n";
    for (int i = 1; i <= kShots; ++i)
        text += std::to_string(i) + ", " + velocity(i, 2780) +
                ", 2.5, 2932.6, 471.1, 9:41:02 AM, , , \"\" \n";
    return text + "-,,,,,,\nAVERAGE SPEED,2801.5,,,,,,,\n\xEF\xBB\xBF";
}

std::string magnetoSpeedLog()
{
    std::string text;
    constexpr int kSeries = 10;
    for (int s = 1; s <= kSeries; ++s) {
        text += "Series," + std::to_string(s) +
                ", Shots:, 1000\r\nMin, 801, Max, 841\r\n"
                "Avg, 821 ,S-D, 11.8\r\nES ,  40\r\n\r\nSeries,Shot,Speed\r\n";
        for (int i = 1; i <= kShots / kSeries; ++i)
            text += std::to_string(s) + ", " + std::to_string(i) + ",  " +
                    std::to_string(801 + i % 41) + ", m/s    \r\n";
        text += "----,----,----,----\r\n";
    }
    return text;
}

std::string plainList()
{
    std::string text = "N;V (m/s);Note\r\n";
    for (int i = 1; i <= kShots; ++i)
        text += std::to_string(i) + ";" + std::to_string(280 + i % 41) + "," +
                std::to_string(i % 10) + ";\r\n";
    return text;
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
            shots += series.velocities.size();
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
