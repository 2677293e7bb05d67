// The terminal's receive path without a port: shot lines mixed with escape sequences, fed
// in blocks the size a serial read gives, through parser, screen and OnChar.
#include "serial/comterminal.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

class FeedTerminal : public TComTerminal {
public:
    void feed(const std::string& block)
    {
        rxBuf(reinterpret_cast<const AnsiChar*>(block.data()), static_cast<int>(block.size()));
    }
};

std::string mixedStream(std::size_t size)
{
    const std::string esc = "\x1b";
    std::string stream;
    for (int shot = 1; stream.size() < size; ++shot) {
        stream += std::to_string(shot) + "     " + std::to_string(280 + shot % 40) + "\r\n";
        if (shot % 3 == 0)
            stream += esc + "[1;3" + std::to_string(shot % 8) + "m";
        if (shot % 5 == 0)
            stream += esc + "[" + std::to_string(shot % 24 + 1) + ";1H" + esc + "[K";
        if (shot % 7 == 0)
            stream += esc + "7" + esc + "[2J" + esc + "8";
    }
    stream.resize(size);
    return stream;
}

void BM_TerminalMixedStream(benchmark::State& state)
{
    const std::size_t blockSize = static_cast<std::size_t>(state.range(0));
    const std::string stream = mixedStream(1 << 20);
    FeedTerminal terminal;
    std::size_t chars = 0;
    terminal.OnChar = [&chars](TCustomComTerminal*, char) { ++chars; };
    for (auto _ : state) {
        for (std::size_t at = 0; at < stream.size(); at += blockSize)
            terminal.feed(stream.substr(at, blockSize));
        benchmark::DoNotOptimize(chars);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(stream.size()));
}
BENCHMARK(BM_TerminalMixedStream)->Arg(64)->Arg(4096)->Unit(benchmark::kMillisecond);

} // namespace
