#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace chronosim {

inline constexpr const char* defaultLinkPath = "/dev/ttyCHRONO0";

struct Options {
    int shots = 10;
    double mean = 300.0;
    double spread = 3.0;
    std::optional<std::uint64_t> seed; // none: a fresh one per run
    int paceMs = 20;
    std::optional<int> pauseAfter; // shot lines before the pause
    int pauseMs = 300;
    std::optional<std::string> rawSource; // a file name, or "-" for standard input
    bool escape = false;
    std::string linkPath = defaultLinkPath;
    bool link = true;
    bool repeat = false;
    int writeTimeoutMs = 2000;
    bool help = false;
};

struct ParseResult {
    Options options;
    std::string error; // empty when the arguments were good
};

// The arguments after the program name.
ParseResult parseOptions(const std::vector<std::string_view>& args);

std::string usageText(std::string_view programName);

} // namespace chronosim
