#pragma once

#include "chronolite-sim/options.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace chronosim {

// One write to the line, after a wait.
struct Piece {
    int delayMs = 0;
    std::string bytes;
};

using Transmission = std::vector<Piece>;

// Normally distributed, rounded half away from zero, never below zero. The same seed gives
// the same velocities on every platform: no standard distribution is involved.
std::vector<int> velocities(int count, double mean, double spread, std::uint64_t seed);

// The device's two header lines, CR LF included.
std::vector<std::string> headerLines();

// "  1   305\r\n": the number right-aligned in three places, three spaces, the velocity
// right-aligned in three places, so that the text after the last space is the velocity.
std::string shotLine(int number, int velocity);

// Header and shot lines as the options ask, one piece per line.
Transmission generatedTransmission(const Options& options, std::uint64_t seed);

// Cut after every line feed, and into pieces of at most `maxPiece` bytes within a line.
Transmission rawTransmission(std::string_view bytes, const Options& options,
                             std::size_t maxPiece = 4096);

// All bytes of a transmission in order.
std::string joined(const Transmission& transmission);

} // namespace chronosim
