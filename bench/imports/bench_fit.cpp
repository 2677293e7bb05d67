// Reading a Xero FIT session of 1,000 shots from the disk, as the import will: under 5 ms.

#include "imports/fitfile.h"
#include "support/fitwriter.h"
#include "support/tempdir.h"

#include <benchmark/benchmark.h>

namespace {

constexpr std::size_t kFitShots = 1'000;

void ReadFitFile(benchmark::State& state)
{
    const std::vector<std::uint8_t> bytes = xeroSessionFile(kFitShots);
    TempDir dir;
    dir.write("06-18-2024_15-47-11.fit", std::string(bytes.begin(), bytes.end()));
    const std::string path = dir.file("06-18-2024_15-47-11.fit");
    std::size_t shots = 0;
    for (auto _ : state) {
        const imports::FitSession session = imports::readFitFile(path);
        shots = session.shots.size();
        benchmark::DoNotOptimize(session.shots.data());
    }
    if (shots != kFitShots)
        state.SkipWithError("the file did not read whole");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

BENCHMARK(ReadFitFile)->Unit(benchmark::kMicrosecond);

} // namespace
