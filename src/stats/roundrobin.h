#pragma once

#include <cstddef>
#include <vector>

// A round-robin ladder fires one string in rotation over k loads, so that drift of barrel and
// weather spreads over all loads instead of favouring the first.
namespace stats {

// For each load, the indexes (from 0, in firing order) of its shots: shot i goes to load
// i mod k. No loads gives no lists.
std::vector<std::vector<std::size_t>> roundRobin(std::size_t loads, std::size_t shots);

} // namespace stats
