#include "runtime/convert.h"
#include "runtime/decimalseparator.h"
#include "runtime/errors.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <utility>

namespace {

std::string messageOf(auto&& call)
{
    try {
        call();
    } catch (const rt::ConvertError& e) {
        return e.what();
    }
    return "<no ConvertError>";
}

TEST(StrToInt, AcceptsSignedDigitsWithinIntRange)
{
    const std::pair<const char*, int> cases[] = {{"0", 0},
                                                 {"-0", 0},
                                                 {"+17", 17},
                                                 {"-17", -17},
                                                 {"007", 7},
                                                 {"2147483647", INT_MAX},
                                                 {"+2147483647", INT_MAX},
                                                 {"-2147483648", INT_MIN}};
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(rt::strToInt(text), expected);
    }
}

TEST(StrToInt, RejectsEverythingElseQuotingTheText)
{
    const char* cases[] = {"", "-", " 12", "12a", "1,5", "0x10", "2147483648", "-2147483649"};
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(messageOf([&] { rt::strToInt(text); }),
                  "'" + std::string(text) + "' is not a valid integer value");
    }
}

// A cell of megabytes must not make a message of megabytes; the cut counts characters.
TEST(Convert, MessagesQuoteAtMost64Characters)
{
    std::string cyrillic;
    for (int i = 0; i < 100; ++i)
        cyrillic += "ж";
    EXPECT_EQ(messageOf([&] { rt::strToInt(std::string(100000, 'x')); }),
              "'" + std::string(64, 'x') + "' is not a valid integer value");
    EXPECT_EQ(messageOf([&] { rt::strToFloat(cyrillic); }),
              "'" + cyrillic.substr(0, 128) + "' is not a valid floating point value");
    EXPECT_EQ(messageOf([&] { rt::strToInt(std::string(64, 'y')); }),
              "'" + std::string(64, 'y') + "' is not a valid integer value");
}

// The separator setting must not matter: weights always come with a comma, the locale may
// use a point.
class StrToFloat : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override { rt::setDecimalSeparator(GetParam()); }
    void TearDown() override { rt::setDecimalSeparator(','); }
};

TEST_P(StrToFloat, AcceptsEitherSeparatorBlanksAndExponent)
{
    const std::pair<const char*, double> cases[] = {
        {"1,5", 1.5},    {"1.5", 1.5},   {" \t1,5\t ", 1.5}, {"-2,25", -2.25},   {"+3", 3.0},
        {",5", 0.5},     {"5.", 5.0},    {"1E3", 1000.0},    {"1,5e-2", 0.015},  {"2e+2", 200.0},
        {"-.5E1", -5.0}, {"0e999", 0.0}, {"1e-310", 1e-310}, {"0001,2500", 1.25}};
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(rt::strToFloat(text), expected);
    }
    EXPECT_TRUE(std::signbit(rt::strToFloat("-0")));
}

TEST_P(StrToFloat, RejectsMalformedOrOutOfRangeQuotingTheUntrimmedText)
{
    const char* cases[] = {"",       " ",   "1,2,3", "1.2,3", "12a", "0x10",   "1e999",
                           "1e-999", "inf", "nan",   "1e",    "1 2", " 1,2,3 "};
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(messageOf([&] { rt::strToFloat(text); }),
                  "'" + std::string(text) + "' is not a valid floating point value");
    }
}

INSTANTIATE_TEST_SUITE_P(Separators, StrToFloat, ::testing::Values(',', '.'));

} // namespace
