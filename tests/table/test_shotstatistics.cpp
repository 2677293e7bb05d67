#include "runtime/decimalseparator.h"
#include "table/measurementtable.h"
#include "table/shotstatistics.h"
#include "table/velocity.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

std::string sep(std::string text)
{
    std::replace(text.begin(), text.end(), ',', rt::decimalSeparator());
    return text;
}

class ShotStats : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override { rt::setDecimalSeparator(GetParam()); }
    void TearDown() override { rt::setDecimalSeparator(','); }

    table::StringGrid grid = table::makeGrid();

    void setVelocities(const std::vector<std::string>& v)
    {
        grid.setRowCount(v.size() + 1);
        for (std::size_t i = 0; i < v.size(); ++i) {
            grid.setCell(table::ColN, i + 1, std::to_string(i + 1));
            grid.setCell(table::ColV, i + 1, v[i]);
        }
    }

    table::ShotStatisticsTexts texts()
    {
        return table::formatShotStatistics(table::shotStatistics(grid));
    }
};

INSTANTIATE_TEST_SUITE_P(Separators, ShotStats, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

const std::string kDash(table::kNoFigure);

TEST_P(ShotStats, OneShotHasNoDeviation)
{
    setVelocities({"300"});
    const auto t = texts();
    EXPECT_EQ(t.shots, "1");
    EXPECT_EQ(t.mean, sep("300,0"));
    EXPECT_EQ(t.extremeSpread, sep("0,0"));
    EXPECT_EQ(t.standardDeviation, kDash);
    EXPECT_EQ(t.coefficientOfVariation, kDash);
    EXPECT_EQ(t.median, sep("300,0"));
    EXPECT_EQ(t.withoutVelocity, "");
}

TEST_P(ShotStats, TwoShots)
{
    setVelocities({"290", "280"});
    const auto t = texts();
    EXPECT_EQ(t.shots, "2");
    EXPECT_EQ(t.mean, sep("285,0"));
    EXPECT_EQ(t.extremeSpread, sep("10,0"));
    EXPECT_EQ(t.standardDeviation, sep("7,1")); // sqrt(50)
    EXPECT_EQ(t.coefficientOfVariation, sep("2,48%"));
    EXPECT_EQ(t.median, sep("285,0")); // even count: between the middle two
}

// Deviations below and above the mean; the order of the rows is not sorted.
TEST_P(ShotStats, FiveShotsUseSampleDeviation)
{
    setVelocities({"282", "290", "285", "288", "283"});
    const auto s = table::shotStatistics(grid);
    EXPECT_DOUBLE_EQ(s.mean, 285.6);
    EXPECT_DOUBLE_EQ(s.extremeSpread, 8);
    EXPECT_DOUBLE_EQ(s.median, 285);
    // Squared deviations sum to 45.2: sample SD sqrt(45.2 / 4) = 3.36, population 3.01.
    ASSERT_TRUE(s.standardDeviation);
    EXPECT_NEAR(*s.standardDeviation, std::sqrt(45.2 / 4), 1e-12);
    EXPECT_GT(std::fabs(*s.standardDeviation - std::sqrt(45.2 / 5)), 0.3);
    const auto t = table::formatShotStatistics(s);
    EXPECT_EQ(t.standardDeviation, sep("3,4"));
    EXPECT_EQ(t.coefficientOfVariation, sep("1,18%"));
    EXPECT_EQ(t.mean, sep("285,6"));
    EXPECT_EQ(t.median, sep("285,0"));
}

TEST_P(ShotStats, ThirtyShotsInScrambledOrder)
{
    std::vector<std::string> v;
    for (int r = 0; r < 30; ++r)
        v.push_back(std::to_string(281 + (r * 7) % 30)); // 281..310, each once
    setVelocities(v);
    const auto t = texts();
    EXPECT_EQ(t.shots, "30");
    EXPECT_EQ(t.mean, sep("295,5"));
    EXPECT_EQ(t.extremeSpread, sep("29,0"));
    EXPECT_EQ(t.standardDeviation, sep("8,8")); // sqrt(30 * 31 / 12)
    EXPECT_EQ(t.coefficientOfVariation, sep("2,98%"));
    EXPECT_EQ(t.median, sep("295,5"));
}

// By hand: mean 856.5 / 3 = 285.5, deviations 0 and +-4.75, so SD = sqrt(45.125 / 2) = 4.75
// and CV = 4.75 / 285.5 * 100 = 1.66375; the malformed row is no shot.
TEST_P(ShotStats, DecimalVelocitiesAreShots)
{
    setVelocities({"285,5", "290.25", "280,75", "285,5,0"});
    const auto s = table::shotStatistics(grid);
    EXPECT_EQ(s.shots, 3u);
    EXPECT_EQ(s.withoutVelocity, 1u);
    EXPECT_DOUBLE_EQ(s.extremeSpread, 9.5);
    const auto t = table::formatShotStatistics(s);
    EXPECT_EQ(t.mean, sep("285,5"));
    EXPECT_EQ(t.median, sep("285,5"));
    EXPECT_EQ(t.standardDeviation, sep("4,8"));
    EXPECT_EQ(t.coefficientOfVariation, sep("1,66%"));
    EXPECT_EQ(table::parseVelocity("290.25"), 290.25);
    EXPECT_EQ(table::parseVelocity("3e2"), std::nullopt);
}

TEST_P(ShotStats, RowsWithoutVelocityAreLeftOutAndCounted)
{
    setVelocities({"282", "", "abc", "290"});
    const auto s = table::shotStatistics(grid);
    EXPECT_EQ(s.shots, 2u);
    EXPECT_EQ(s.withoutVelocity, 2u);
    const auto t = table::formatShotStatistics(s);
    EXPECT_EQ(t.mean, sep("286,0"));
    EXPECT_EQ(t.extremeSpread, sep("8,0"));
    EXPECT_EQ(t.withoutVelocity, "2 rows without a velocity");

    setVelocities({"282", "x"});
    EXPECT_EQ(texts().withoutVelocity, "1 row without a velocity");
    EXPECT_EQ(texts().standardDeviation, kDash);

    // Nothing converts: a count, but no figures.
    setVelocities({"x", "y"});
    const auto none = texts();
    EXPECT_EQ(none.shots, "0");
    EXPECT_EQ(none.mean, "");
    EXPECT_EQ(none.standardDeviation, "");
    EXPECT_EQ(none.withoutVelocity, "2 rows without a velocity");
}

TEST_P(ShotStats, EmptyTableGivesEmptyTexts)
{
    const auto t = texts();
    for (const std::string* text : {&t.shots, &t.mean, &t.extremeSpread, &t.standardDeviation,
                                    &t.coefficientOfVariation, &t.median, &t.withoutVelocity})
        EXPECT_EQ(*text, "");
    // The empty row of an empty table is no row without a velocity either.
    EXPECT_EQ(table::shotStatistics(grid, 1, 1).withoutVelocity, 0u);
}

TEST_P(ShotStats, SelectionCoversOnlyItsRowsClippedToTheTable)
{
    setVelocities({"100", "282", "290", "285", "900"});
    auto s = table::shotStatistics(grid, 2, 4);
    EXPECT_EQ(s.shots, 3u);
    EXPECT_DOUBLE_EQ(s.extremeSpread, 8);
    EXPECT_DOUBLE_EQ(s.median, 285);

    s = table::shotStatistics(grid, 0, 99); // header row and rows past the end
    EXPECT_EQ(s.shots, 5u);
    EXPECT_EQ(s.withoutVelocity, 0u);

    EXPECT_EQ(table::shotStatistics(grid, 4, 2).shots, 0u);
}

// Rounded once, half away from zero, on the value's decimal digits.
TEST_P(ShotStats, FiguresRoundHalfAwayFromZero)
{
    setVelocities({"280", "281", "281", "281"}); // mean 280.75
    EXPECT_EQ(texts().mean, sep("280,8"));
    setVelocities({"-280", "-281", "-281", "-281"});
    EXPECT_EQ(texts().mean, sep("-280,8"));
    setVelocities({"280", "281"});
    EXPECT_EQ(texts().median, sep("280,5"));

    table::ShotStatistics s;
    s.shots = 2;
    s.mean = 12345.25;
    s.standardDeviation = 0.05;
    s.coefficientOfVariation = 1.005;
    const auto t = table::formatShotStatistics(s);
    EXPECT_EQ(t.mean, sep("12345,3")); // no cut to a few significant digits
    EXPECT_EQ(t.standardDeviation, sep("0,1"));
    EXPECT_EQ(t.coefficientOfVariation, sep("1,01%"));
}

TEST_P(ShotStats, MeanOfZeroHasNoVariation)
{
    setVelocities({"-1", "1"});
    const auto t = texts();
    EXPECT_EQ(t.standardDeviation, sep("1,4"));
    EXPECT_EQ(t.coefficientOfVariation, kDash);
}

// What the confidence figures and the distribution chart count: the rows the statistics keep,
// in the unit shown, each with its row.
TEST_P(ShotStats, IncludedShotsLeaveOutExcludedAndUnreadableRows)
{
    setVelocities({"300", "x", "304,8", "310", ""});
    grid.setCell(table::ColExcluded, 4, table::kExcludedMark);
    const struct {
        std::size_t top, bottom;
        table::Units units;
        std::vector<double> velocities;
        std::vector<std::size_t> rows;
    } cases[] = {
        {1, 5, table::Units::Metric, {300, 304.8}, {1, 3}},
        {0, 99, table::Units::Imperial, {300 / 0.3048, 1000}, {1, 3}},
        {2, 4, table::Units::Metric, {304.8}, {3}},
        {4, 5, table::Units::Metric, {}, {}},
    };
    for (const auto& c : cases) {
        const table::IncludedShots shots = table::includedShots(grid, c.top, c.bottom, c.units);
        EXPECT_EQ(shots.rows, c.rows) << c.top << ".." << c.bottom;
        ASSERT_EQ(shots.velocities.size(), c.velocities.size());
        for (std::size_t i = 0; i < c.velocities.size(); ++i)
            EXPECT_DOUBLE_EQ(shots.velocities[i], c.velocities[i]);
    }
    EXPECT_EQ(table::includedShots(grid, table::Units::Metric).rows,
              (std::vector<std::size_t>{1, 3}));
    EXPECT_TRUE(table::includedShots(table::makeGrid(), table::Units::Metric).rows.empty());
}

} // namespace
