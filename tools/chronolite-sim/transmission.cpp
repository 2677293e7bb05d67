#include "chronolite-sim/transmission.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>

namespace chronosim {

namespace {

// In (0, 1], so that the logarithm below stays finite.
double unitInterval(std::mt19937_64& engine)
{
    return static_cast<double>((engine() >> 11) + 1) * 0x1.0p-53;
}

const std::string esc = "\x1b";

} // namespace

std::vector<int> velocities(int count, double mean, double spread, std::uint64_t seed)
{
    std::mt19937_64 engine(seed);
    std::vector<int> result;
    result.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        const double u1 = unitInterval(engine);
        const double u2 = unitInterval(engine);
        const double z = std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
        const double v = std::round(mean + spread * z);
        result.push_back(static_cast<int>(std::clamp(v, 0.0, 2'000'000'000.0)));
    }
    return result;
}

std::vector<std::string> headerLines()
{
    return {"CHRONOLITE v2.1\r\n", "N    V(m/s)\r\n"};
}

std::string shotLine(int number, int velocity)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%3d   %3d\r\n", number, velocity);
    return buf;
}

Transmission generatedTransmission(const Options& options, std::uint64_t seed)
{
    Transmission t;
    for (auto& line : headerLines())
        t.push_back({options.paceMs, line});
    const auto vs = velocities(options.shots, options.mean, options.spread, seed);
    for (int i = 0; i < options.shots; ++i) {
        const bool afterPause = options.pauseAfter && i == *options.pauseAfter;
        t.push_back({afterPause ? options.pauseMs : options.paceMs, shotLine(i + 1, vs[i])});
    }

    if (options.escape) {
        // The sequences a terminal swallows or answers; the text left over is unchanged.
        t[0].bytes = esc + "7" + esc + "[2J" + esc + "[H" + t[0].bytes;
        t[1].bytes = esc + "[5n" + t[1].bytes;
        if (options.shots >= 1) {
            auto& first = t[2].bytes;
            first = esc + "[1m" + first.substr(0, first.size() - 2) + esc + "[0m\r\n";
        }
        if (options.shots >= 2)
            t[3].bytes = esc + "[c" + t[3].bytes;
        // One sequence split across two writes, so that it arrives in two blocks.
        const std::size_t middle = 2 + static_cast<std::size_t>(options.shots) / 2;
        if (middle < t.size()) {
            t[middle - 1].bytes += esc + "[";
            t[middle].bytes = "K" + t[middle].bytes;
        }
        t.back().bytes += esc + "[6n";
    }
    return t;
}

Transmission rawTransmission(std::string_view bytes, const Options& options, std::size_t maxPiece)
{
    Transmission t;
    int lineFeeds = 0;
    bool pauseNext = false;
    while (!bytes.empty()) {
        std::size_t n = std::min(bytes.find('\n') + 1, bytes.size()); // npos + 1 wraps to 0
        if (n == 0)
            n = bytes.size();
        n = std::min(n, std::max<std::size_t>(maxPiece, 1));
        t.push_back(
            {pauseNext ? options.pauseMs : options.paceMs, std::string(bytes.substr(0, n))});
        pauseNext = false;
        if (t.back().bytes.back() == '\n' && options.pauseAfter &&
            ++lineFeeds == *options.pauseAfter)
            pauseNext = true;
        bytes.remove_prefix(n);
    }
    return t;
}

std::string joined(const Transmission& transmission)
{
    std::string all;
    for (const auto& piece : transmission)
        all += piece.bytes;
    return all;
}

} // namespace chronosim
