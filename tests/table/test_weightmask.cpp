#include "table/weightmask.h"

#include <gtest/gtest.h>

namespace {

TEST(WeightMask, LoadedWeightGoesIntoThePositions)
{
    struct Case {
        const char* weight;
        const char* display;
    };
    const Case cases[] = {
        {"0,510", "0,510"},
        {"", "_,___"},
        {"####", "_,___"},
        {"0,51", "0,51_"},
        {"1,2", "1,2__"},
        {" ,12 ", "_,12_"},
        {"0.510", "0,510"},
        {"12345678", "1,345"},
        {"Пуля,1", "_,___"},
        {"7,62мм", "7,62_"},
        {"0,5100000000000000000000000000000000000000", "0,510"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(table::weightDisplayFor(c.weight), c.display) << c.weight;
}

} // namespace
