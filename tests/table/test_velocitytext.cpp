// Velocities as recorded: a ft/s text goes into the table as the exact m/s text and comes
// back digit for digit, and a column shows each of its values with the decimals it needs.
#include "runtime/decimalseparator.h"
#include "table/velocity.h"
#include "table/velocitytext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <tuple>

namespace {

using table::Units;

std::string sep(std::string text)
{
    std::replace(text.begin(), text.end(), ',', rt::decimalSeparator());
    return text;
}

class VelocityText : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override { rt::setDecimalSeparator(GetParam()); }
    void TearDown() override { rt::setDecimalSeparator(','); }
};

INSTANTIATE_TEST_SUITE_P(Separators, VelocityText, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

TEST_P(VelocityText, RecordedFeetComeBackDigitForDigit)
{
    const struct {
        const char* recorded;
        const char* stored;    // exact m/s, no trailing zeros
        const char* recovered; // the ft/s value shown again
    } cases[] = {
        {"2804", "854,6592", "2804"},
        {"2804.00", "854,6592", "2804"},
        {"2795.1", "851,94648", "2795,1"},
        {"3007.98", "916,832304", "3007,98"},
        {"2905,01", "885,447048", "2905,01"},
        {"0.01", "0,003048", "0,01"},
        {"-1250", "-381", "-1250"},
        {"12345678901234.99", "3762962929096,424952", "12345678901234,99"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(table::storedMetresPerSecond(c.recorded, true), sep(c.stored)) << c.recorded;
        EXPECT_EQ(table::recordedFeetPerSecond(sep(c.stored)), sep(c.recovered)) << c.recorded;
    }
    for (const char* metres : {"850,5", "280", "916,83", "1,0000001"})
        EXPECT_EQ(table::recordedFeetPerSecond(metres), std::nullopt) << metres;
    EXPECT_EQ(table::recordedFeetPerSecond("381"), "1250");
}

TEST_P(VelocityText, RecordedMetresKeepTheirDigits)
{
    const std::pair<const char*, const char*> cases[] = {{"850.50", "850,5"},    {"696.0", "696"},
                                                         {"0850", "850"},        {"-3.25", "-3,25"},
                                                         {"265.391", "265,391"}, {"0.000", "0"}};
    for (const auto& [recorded, stored] : cases)
        EXPECT_EQ(table::storedMetresPerSecond(recorded, false), sep(stored)) << recorded;
    for (const char* bad : {"", "2,804.5", "1e3", " 280", "12a", ".5", "5."})
        EXPECT_EQ(table::storedMetresPerSecond(bad, false), std::nullopt) << bad;
}

TEST_P(VelocityText, AColumnShowsTheDecimalsItsValuesNeed)
{
    const struct {
        const char* stored;
        int metricNeeds, imperialNeeds;
        int decimals; // the column's
        const char *metric, *imperial;
    } cases[] = {
        // Whole tables stay whole: 918.64 ft/s shows 919, and the text itself in m/s.
        {"280", 0, 0, 0, "280", "919"},
        {"+280", 0, 0, 0, "+280", "919"},
        {"381", 0, 0, 0, "381", "1250"},
        {"280", 0, 0, 1, "280,0", "918,6"},
        // Radar values: all digits in ft/s, at most three in m/s.
        {"916,832304", 3, 2, 2, "916,83", "3007,98"},
        {"916,832304", 3, 2, 3, "916,832", "3007,980"},
        {"854,6592", 3, 0, 1, "854,7", "2804,0"},
        {"851,94648", 3, 1, 1, "851,9", "2795,1"},
        // Other decimals keep one decimal in ft/s (920.28), rounded half away from zero.
        {"280,5", 1, 1, 1, "280,5", "920,3"},
        {"280.0", 0, 1, 1, "280,0", "918,6"},
        {"285,55", 2, 1, 1, "285,6", "936,8"},
        {"-285,55", 2, 1, 1, "-285,6", "-936,8"},
        {"999,96", 2, 1, 1, "1000,0", "3280,7"},
        // What the table cannot take as a velocity is shown as it stands.
        {"3e2", 0, 0, 1, "3e2", "3e2"},
        {" 280", 0, 0, 1, " 280", " 280"},
        {"", 0, 0, 1, "", ""},
        {"2147483648", 0, 0, 0, "2147483648", "2147483648"},
    };
    for (const auto& c : cases) {
        const std::string stored = sep(c.stored);
        const double value = table::parseVelocity(stored).value_or(std::nan(""));
        const auto shown = [&](Units units) {
            return std::tuple{table::velocityDecimalsNeeded(stored, units),
                              table::velocityShown(stored, value, units, c.decimals)};
        };
        EXPECT_EQ(shown(Units::Metric), std::tuple(c.metricNeeds, sep(c.metric))) << c.stored;
        EXPECT_EQ(shown(Units::Imperial), std::tuple(c.imperialNeeds, sep(c.imperial))) << c.stored;
    }
}

} // namespace
