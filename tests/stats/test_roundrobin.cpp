#include "stats/roundrobin.h"

#include <gtest/gtest.h>

namespace {

TEST(RoundRobin, ShotsGoToLoadsInRotation)
{
    using Split = std::vector<std::vector<std::size_t>>;
    const std::tuple<std::size_t, std::size_t, Split> cases[] = {
        {3, 7, {{0, 3, 6}, {1, 4}, {2, 5}}},
        {1, 3, {{0, 1, 2}}},
        {4, 2, {{0}, {1}, {}, {}}},
        {2, 0, {{}, {}}},
        {0, 5, {}}};
    for (const auto& [loads, shots, split] : cases)
        EXPECT_EQ(stats::roundRobin(loads, shots), split) << loads << " loads, " << shots;
}

} // namespace
