// The serial port over a pseudo-terminal, with this thread as the GUI thread serving
// hand-overs the way the Qt binding does: it sleeps until a hand-over arrives.
#include "runtime/handover.h"
#include "serial/comport.h"
#include "support/ptyline.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// CPU time of the whole process while a port stays open and the line is silent.
void BM_IdleOpenPort(benchmark::State& state)
{
    PtyLine line;
    TComPort port;
    port.SetPort(line.name());
    port.Open();
    double cpu = 0;
    for (auto _ : state) {
        const double before = cpuSeconds();
        std::this_thread::sleep_for(std::chrono::seconds(10));
        cpu = cpuSeconds() - before;
    }
    state.counters["cpu_ms_per_10s"] = cpu * 1000;
    port.Close();
}
BENCHMARK(BM_IdleOpenPort)->Iterations(1)->Unit(benchmark::kMillisecond);

// From a byte written at the other end to the link's OnRxData on this thread.
void BM_RxLatency(benchmark::State& state)
{
    PtyLine line;
    TComPort port;
    port.SetPort(line.name());
    bool got = false;
    TComLink link;
    link.OnRxData = [&](TCustomComPort*, const AnsiChar*, int) { got = true; };
    port.RegisterLink(&link);
    port.Open();
    std::vector<double> micros;
    for (auto _ : state) {
        got = false;
        const auto start = Clock::now();
        line.send("x");
        rt::HandOverQueue::main().serveUntil([&] { return got; });
        const auto end = Clock::now();
        const double s = std::chrono::duration<double>(end - start).count();
        micros.push_back(s * 1e6);
        state.SetIterationTime(s);
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    port.Close();
    port.UnregisterLink(&link);
}
BENCHMARK(BM_RxLatency)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);

// Bytes per second through the receive path to a link, the other end writing flat out.
void BM_RxThroughput(benchmark::State& state)
{
    constexpr std::size_t total = 8 << 20;
    PtyLine line;
    TComPort port;
    port.SetPort(line.name());
    std::size_t received = 0;
    TComLink link;
    link.OnRxData = [&](TCustomComPort*, const AnsiChar*, int n) { received += n; };
    port.RegisterLink(&link);
    port.Open();
    for (auto _ : state) {
        received = 0;
        std::thread writer([&] {
            const std::string chunk(4096, 'v');
            for (std::size_t sent = 0; sent < total; sent += chunk.size())
                line.send(chunk);
        });
        rt::HandOverQueue::main().serveUntil([&] { return received >= total; });
        writer.join();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total));
    port.Close();
    port.UnregisterLink(&link);
}
BENCHMARK(BM_RxThroughput)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
