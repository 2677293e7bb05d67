#include "runtime/decimalseparator.h"
#include "table/measurementtable.h"
#include "table/shotstatistics.h"
#include "table/units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using table::Units;

std::string sep(std::string text)
{
    std::replace(text.begin(), text.end(), ',', rt::decimalSeparator());
    return text;
}

TEST(Units, ConversionsBothWays)
{
    EXPECT_DOUBLE_EQ(table::metresPerSecond(1), 0.3048);
    EXPECT_DOUBLE_EQ(table::feetPerSecond(0.3048), 1);
    EXPECT_DOUBLE_EQ(table::feetPerSecond(304.8), 1000);
    EXPECT_DOUBLE_EQ(table::joules(1), 1.3558179483);
    EXPECT_DOUBLE_EQ(table::footPounds(13.558179483), 10);
    EXPECT_DOUBLE_EQ(table::grams(1), 0.06479891);
    EXPECT_DOUBLE_EQ(table::grains(6.479891), 100);
    for (const double x : {0.547, 285.0, 21.4}) {
        EXPECT_DOUBLE_EQ(table::metresPerSecond(table::feetPerSecond(x)), x);
        EXPECT_DOUBLE_EQ(table::joules(table::footPounds(x)), x);
        EXPECT_DOUBLE_EQ(table::grams(table::grains(x)), x);
    }
}

class UnitDisplay : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override { rt::setDecimalSeparator(GetParam()); }
    void TearDown() override { rt::setDecimalSeparator(','); }
};

INSTANTIATE_TEST_SUITE_P(Separators, UnitDisplay, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

TEST_P(UnitDisplay, MetricShowsTheStoredText)
{
    EXPECT_EQ(table::energyDisplay("21,4", Units::Metric), "21,4");
    EXPECT_EQ(table::weightDisplay("0,547", Units::Metric), "0,547");
}

TEST_P(UnitDisplay, ImperialConvertsWhatConverts)
{
    // One decimal in ft-lbf: 15.78, and 1000.00 where the cell says 1355,8.
    EXPECT_EQ(table::energyDisplay("21,4", Units::Imperial), sep("15,8"));
    EXPECT_EQ(table::energyDisplay("1355,8179483", Units::Imperial), sep("1000,0"));
    // Grains with one decimal: 8.4415, and 167.9967 rounding up through the point.
    EXPECT_EQ(table::weightDisplay("0,547", Units::Imperial), sep("8,4"));
    EXPECT_EQ(table::weightDisplay("10,886", Units::Imperial), sep("168,0"));

    EXPECT_EQ(table::energyDisplay("####", Units::Imperial), "####");
    EXPECT_EQ(table::weightDisplay(" ,   ", Units::Imperial), " ,   ");
}

// Extremes convert unrounded: 290.25 m/s is 952.26 ft/s, where 290 would give 951.
TEST_P(UnitDisplay, StatisticsLabelsOfDecimalVelocitiesInFeetPerSecond)
{
    table::Statistics s;
    s.maxVelocity = 290.25;
    s.minVelocity = 280.75; // 921.10
    s.meanVelocity = 285.5; // 936.68
    s.eMax = s.eMin = s.eMean = "####";
    const table::StatisticsLabels l = table::statisticsLabels(s, Units::Imperial);
    EXPECT_EQ(l.vMax, "952");
    EXPECT_EQ(l.vMin, "921");
    EXPECT_EQ(l.vMean, sep("936,68"));
    EXPECT_EQ(l.eMax, "####");
}

TEST_P(UnitDisplay, StatisticsInFeetPerSecond)
{
    table::ShotStatistics s;
    s.shots = 5;
    s.mean = 285.6;
    s.extremeSpread = 8;
    s.median = 285;
    s.standardDeviation = 3.361547;
    s.coefficientOfVariation = 1.177;
    const auto t = table::formatShotStatistics(table::inUnits(s, Units::Imperial));
    EXPECT_EQ(t.mean, sep("937,0"));
    EXPECT_EQ(t.extremeSpread, sep("26,2"));
    EXPECT_EQ(t.standardDeviation, sep("11,0"));
    EXPECT_EQ(t.median, sep("935,0"));
    EXPECT_EQ(t.coefficientOfVariation, sep("1,18%")); // a ratio: no unit
    EXPECT_EQ(table::formatShotStatistics(table::inUnits(s, Units::Metric)).mean, sep("285,6"));
}

} // namespace
