#include "runtime/convert.h"
#include "runtime/decimalseparator.h"
#include "runtime/numberformat.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kTiniest = std::numeric_limits<double>::denorm_min();

struct Case {
    double value;
    const char* expected; // written with ','
};

// Every format runs once per separator; the tables are written with a comma.
class NumberFormat : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override { rt::setDecimalSeparator(GetParam()); }
    void TearDown() override { rt::setDecimalSeparator(','); }

    std::string localized(std::string text) const
    {
        for (char& c : text) {
            if (c == ',')
                c = GetParam();
        }
        return text;
    }

    template <std::size_t N> void check(std::string (*format)(double), const Case (&cases)[N]) const
    {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.value << " -> " << c.expected);
            EXPECT_EQ(format(c.value), localized(c.expected));
        }
    }

    // The number given with a text is the text's own conversion, to the bit: the table keeps
    // it beside the text instead of reading the text back.
    template <std::size_t N>
    void checkShown(std::string (*withShown)(double, double&), std::string (*format)(double),
                    const Case (&cases)[N]) const
    {
        const auto bits = [](std::optional<double> v) {
            return v ? std::optional(std::bit_cast<std::uint64_t>(*v)) : std::nullopt;
        };
        std::vector<double> values = {
            std::numeric_limits<double>::quiet_NaN(), kMax, -kMax, kTiniest, 1e20, -1e-20};
        for (const Case& c : cases)
            values.push_back(c.value);
        for (const double v : values) {
            double shown = 0;
            const std::string text = withShown(v, shown);
            EXPECT_EQ(text, format(v));
            EXPECT_EQ(bits(std::isnan(shown) ? std::nullopt : std::optional(shown)),
                      bits(rt::parseFloat(text)))
                << v << " -> " << text;
        }
    }
};

TEST_P(NumberFormat, TwoDecimals)
{
    const Case cases[] = {
        {300, "300,00"},       {10.0 / 3, "3,33"},      {-10.0 / 3, "-3,33"},  {300.125, "300,13"},
        {-300.125, "-300,13"}, {5.625, "5,63"},         {2.675, "2,68"},       {0.1 + 0.2, "0,30"},
        {9.995, "10,00"},      {12345.678, "12346,00"}, {99999.4, "99999,00"}, {99999.5, "1E5"},
        {123456, "1,2346E5"},  {-123456, "-1,2346E5"},  {0.005, "0,01"},       {-0.005, "-0,01"},
        {0.0049, "0,00"},      {0.0005, "0,00"},        {-0.004, "0,00"},      {0.0, "0,00"},
        {-0.0, "0,00"},        {1e-300, "0,00"}};
    check(rt::formatTwoDecimal, cases);
    checkShown(rt::formatTwoDecimal, rt::formatTwoDecimal, cases);
}

TEST_P(NumberFormat, Integer)
{
    const Case cases[] = {{312, "312"},         {289.5, "290"},  {0.5, "1"},
                          {0.49, "0"},          {-0.5, "-1"},    {-0.4, "0"},
                          {9999.4, "9999"},     {9999.5, "1E4"}, {12345, "1,235E4"},
                          {-12345, "-1,235E4"}, {0.0, "0"},      {-0.0, "0"},
                          {kMax, "1,798E308"}};
    check(rt::formatInteger, cases);
}

TEST_P(NumberFormat, Energy)
{
    const Case cases[] = {{5.4, "5,4"},
                          {-5.4, "-5,4"},
                          {15.9375, "15,9"},
                          {45, "45"},
                          {100, "100"},
                          {0.1, "0,1"},
                          {0.0123, "0,0123"},
                          {2.005, "2,01"},
                          {999.4, "999"},
                          {99.96, "100"},
                          {0.0, "0"},
                          {-0.0, "0"},
                          // Whole joules where three digits would need an exponent.
                          {999.5, "1000"},
                          {1234, "1234"},
                          {-1234, "-1234"},
                          {1504.5, "1505"},
                          {2540.27, "2540"},
                          {99999.9, "100000"}};
    check(rt::formatEnergy, cases);
    checkShown(rt::formatEnergy, rt::formatEnergy, cases);
}

// Below 0.00001 the energy goes scientific, judged after rounding.
TEST_P(NumberFormat, EnergyOfTinyValues)
{
    const Case cases[] = {{0.00001, "0,00001"}, {0.0000099995, "0,00001"}, {0.0000099, "9,9E-6"},
                          {0.000001, "1E-6"},   {1.5e-300, "1,5E-300"},    {kTiniest, "4,94E-324"}};
    check(rt::formatEnergy, cases);
}

TEST_P(NumberFormat, NonFiniteValuesAreNamed)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    for (auto format : {rt::formatInteger, rt::formatTwoDecimal, rt::formatEnergy}) {
        EXPECT_EQ(format(std::numeric_limits<double>::quiet_NaN()), "NAN");
        EXPECT_EQ(format(inf), "INF");
        EXPECT_EQ(format(-inf), "-INF");
    }
}

INSTANTIATE_TEST_SUITE_P(Separators, NumberFormat, ::testing::Values(',', '.'));

} // namespace
