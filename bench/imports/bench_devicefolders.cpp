// Listing a LabRadar card of 500 series (numbers with gaps, each report of ten shots beside its
// track folder) and a Xero drive of 500 sessions, as Import Folder does before its picker
// shows: under 1 s. And a line of nothing but byte-order marks, which took 7.5 ms when the
// marks went one by one.

#include "imports/devicefolders.h"
#include "imports/importfile.h"
#include "support/devicetrees.h"
#include "support/fitwriter.h"
#include "support/tempdir.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kStrings = 500;

void ListCard(benchmark::State& state)
{
    TempDir dir;
    const std::vector<SdShot> shots(10, SdShot{"2804", "05-10-2024", "09:41:02"});
    for (int i = 0; i < kStrings; ++i) {
        char folder[32];
        // Every third number deleted.
        std::snprintf(folder, sizeof folder, "LBR/SR%04d/", i + i / 2 + 1);
        putFile(dir, folder + std::string(folder + 4, 6) + " Report.csv",
                labRadarSdReport(i + i / 2 + 1, "fps", shots));
        putFile(dir, folder + std::string("TRK/Shot0001 Track.csv"), "sep=;\r\n");
    }
    std::size_t listed = 0;
    for (auto _ : state) {
        const imports::DeviceListing listing =
            imports::listDeviceFolder({imports::Device::LabRadar, dir.file("LBR")});
        listed = listing.strings.size();
        if (!listing.strings.back().refusal.empty())
            state.SkipWithError(listing.strings.back().refusal.c_str());
    }
    if (listed != kStrings)
        state.SkipWithError("not every series was listed");
}

void ListXeroDrive(benchmark::State& state)
{
    TempDir dir;
    const std::vector<std::uint8_t> bytes = xeroSessionFile(10);
    for (int i = 0; i < kStrings; ++i)
        putFile(dir, "Shot_Sessions/session" + std::to_string(i) + ".fit",
                std::string(bytes.begin(), bytes.end()));
    std::size_t listed = 0;
    for (auto _ : state)
        listed = imports::listDeviceFolder({imports::Device::XeroC1, dir.file("Shot_Sessions")})
                     .strings.size();
    if (listed != kStrings)
        state.SkipWithError("not every session was listed");
}

// 64 lines of 65,532 bytes of marks before a velocity: the time is per line.
void ByteOrderMarkLines(benchmark::State& state)
{
    constexpr int kLines = 64;
    std::string line;
    while (line.size() + 3 <= 64 * 1024)
        line += "\xEF\xBB\xBF";
    std::string file;
    for (int i = 0; i < kLines; ++i)
        file += line + "\n";
    TempDir dir;
    dir.write("marks.txt", file + "300\n");
    for (auto _ : state)
        benchmark::DoNotOptimize(imports::readImportFile(dir.file("marks.txt")));
    state.SetItemsProcessed(state.iterations() * kLines);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

BENCHMARK(ListCard)->Unit(benchmark::kMillisecond);
BENCHMARK(ListXeroDrive)->Unit(benchmark::kMillisecond);
BENCHMARK(ByteOrderMarkLines)->Unit(benchmark::kMillisecond);

} // namespace
