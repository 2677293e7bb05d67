#include "runtime/decimalseparator.h"
#include "runtime/errors.h"
#include "support/thrown.h"
#include "table/velocity.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <utility>

namespace {

// A file written on a machine with the other separator must read the same here.
class Velocity : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override { rt::setDecimalSeparator(GetParam()); }
    void TearDown() override { rt::setDecimalSeparator(','); }
};

INSTANTIATE_TEST_SUITE_P(Separators, Velocity, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

TEST_P(Velocity, WholeOrWithEitherSeparator)
{
    const std::pair<const char*, double> cases[] = {
        {"285", 285},
        {"+290", 290},
        {"-3", -3},
        {"007", 7},
        {"285,5", 285.5},
        {"285.5", 285.5},
        {"290,25", 290.25},
        {"-280.75", -280.75},
        {"+0,05", 0.05},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483646,75", 2147483646.75},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(table::velocityOf(text), expected);
    }
    // The double nearest the text, as the compiler reads the literal, digits past a double's
    // included.
    EXPECT_EQ(table::velocityOf("285,55"), 285.55);
    EXPECT_EQ(table::velocityOf("0.1"), 0.1);
    EXPECT_EQ(table::velocityOf("299.7924580000000000000001"), 299.792458);
}

TEST_P(Velocity, AnythingElseIsRefusedWithTheWholeNumberText)
{
    const char* cases[] = {
        "",       "-",   "+",   " 285",       "285 ",         "285\t",         "28 5",
        "285,",   ",5",  ".5",  "-,5",        "285,5,0",      "285.5.0",       "285,.5",
        "285,-5", "+-5", "28a", "285,5a",     "3e2",          "2.85e2",        "2,85E2",
        "0x1A",   "inf", "nan", "2147483648", "2147483647,5", "-2147483648,5", "285;5",
        "285٫5",  "٣٠٠",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        const auto e = thrown<rt::ConvertError>([&] { table::velocityOf(text); });
        ASSERT_TRUE(e);
        EXPECT_EQ(std::string(e->what()),
                  "'" + std::string(text) + "' is not a valid integer value");
    }
}

TEST_P(Velocity, WholeMeansWithoutASeparator)
{
    EXPECT_TRUE(table::isWholeVelocity("285"));
    EXPECT_TRUE(table::isWholeVelocity("-3"));
    EXPECT_FALSE(table::isWholeVelocity("285,0"));
    EXPECT_FALSE(table::isWholeVelocity("285.0"));
}

} // namespace
