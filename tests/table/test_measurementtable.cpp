#include "runtime/decimalseparator.h"
#include "runtime/errors.h"
#include "support/thrown.h"
#include "table/measurementtable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Tests write expected texts with a comma; this puts the separator in force instead.
std::string sep(std::string text)
{
    std::replace(text.begin(), text.end(), ',', rt::decimalSeparator());
    return text;
}

class Table : public ::testing::TestWithParam<char> {
protected:
    void SetUp() override { rt::setDecimalSeparator(GetParam()); }
    void TearDown() override { rt::setDecimalSeparator(','); }

    table::StringGrid grid = table::makeGrid();

    void setVelocities(const std::vector<std::string>& v, const std::string& weight = "0,120")
    {
        grid.setRowCount(v.size() + 1);
        for (std::size_t i = 0; i < v.size(); ++i) {
            grid.setCell(table::ColN, i + 1, std::to_string(i + 1));
            grid.setCell(table::ColV, i + 1, v[i]);
            table::applyEnergyRule(grid, i + 1, weight);
        }
    }

    std::vector<std::string> column(std::size_t col) const
    {
        std::vector<std::string> cells;
        for (std::size_t r = 1; r < grid.rowCount(); ++r)
            cells.emplace_back(grid.cell(col, r));
        return cells;
    }
};

INSTANTIATE_TEST_SUITE_P(Separators, Table, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

TEST_P(Table, EmptyMeansNoVelocity)
{
    EXPECT_EQ(grid.rowCount(), 2u);
    EXPECT_TRUE(table::isEmpty(grid));
    grid.setCell(table::ColBullet, 1, "name only");
    EXPECT_TRUE(table::isEmpty(grid));
    grid.setCell(table::ColV, 1, "300");
    EXPECT_FALSE(table::isEmpty(grid));
    table::clear(grid);
    EXPECT_TRUE(table::isEmpty(grid));
    EXPECT_EQ(grid.cell(table::ColBullet, 1), "");
    grid.setRowCount(1);
    EXPECT_TRUE(table::isEmpty(grid));
}

TEST_P(Table, EnergyRule)
{
    struct Case {
        const char* v;
        const char* weight;
        const char* energy;
    };
    const Case cases[] = {
        {"300", "0,120", "5,4"},
        {"300", "0.120", "5,4"}, // the bullet file's comma works with a point locale and back
        {"-300", "0,120", "5,4"},
        {"0", "0,120", "0"},
        {"1000", "2,000", "1000"},  // whole joules where three digits need an exponent
        {"46341", "0,001", "1074"}, // squares past 2^31
        {"2147483647", "1,000", "2,31E15"},
        {"300", " ,   ", "####"}, // untouched weight field
        {"300", "0,12 ", "5,4"},  // half-filled mask reads as 0,12
        {"300", "####", "####"},
        {"", "0,120", "####"},
        {"300,5", "0,120", "5,42"}, // 0.12 * 90300.25 / 2000 = 5.418015
        {"300.5", "0,120", "5,42"},
        {"300,5,0", "0,120", "####"},
        {"3e2", "0,120", "####"},
    };
    grid.setRowCount(2);
    for (const Case& c : cases) {
        grid.setCell(table::ColV, 1, c.v);
        grid.setCell(table::ColE, 1, "stale");
        table::applyEnergyRule(grid, 1, c.weight);
        EXPECT_EQ(grid.cell(table::ColE, 1), sep(c.energy)) << c.v << " / " << c.weight;
    }
}

TEST_P(Table, OneShot)
{
    setVelocities({"312"});
    const table::Statistics s = table::statisticsPass(grid);
    EXPECT_EQ(s.vMax, "312");
    EXPECT_EQ(s.vMin, "312");
    EXPECT_EQ(s.vMean, sep("312,00"));
    table::deviationPass(grid, s.meanVelocity);
    EXPECT_EQ(grid.cell(table::ColDV, 1), sep("0,00"));
}

// Cells as two radars wrote them, one with each separator; worked by hand at 0,120 g:
//   E = 0.12 * 285.5^2 / 2000 = 4.8906; 0.12 * 290.25^2 / 2000 = 5.0547;
//       0.12 * 280.75^2 / 2000 = 4.7292
//   mean 856.5 / 3 = 285.5; dV of 290.25: 4.75 / 285.5 * 100 = 1.66375
TEST_P(Table, DecimalVelocities)
{
    setVelocities({"285,5", "290.25", "280,75"});
    EXPECT_EQ(column(table::ColE),
              (std::vector<std::string>{sep("4,89"), sep("5,05"), sep("4,73")}));
    const table::Statistics s = table::statisticsPass(grid);
    EXPECT_EQ(s.vMax, "290");
    EXPECT_EQ(s.vMin, "281");
    EXPECT_EQ(s.vMean, sep("285,50"));
    EXPECT_EQ(s.maxVelocity, 290.25);
    EXPECT_EQ(s.minVelocity, 280.75);
    EXPECT_EQ(s.eMax, sep("5,05"));
    EXPECT_EQ(s.eMin, sep("4,73"));
    EXPECT_EQ(s.eMean, sep("4,89"));
    table::deviationPass(grid, s.meanVelocity);
    EXPECT_EQ(column(table::ColDV),
              (std::vector<std::string>{sep("0,00"), sep("1,66"), sep("-1,66")}));
    EXPECT_EQ(column(table::ColV), (std::vector<std::string>{"285,5", "290.25", "280,75"}))
        << "velocities keep the separator they came with";
}

// Half away from zero, not to even: 300.5 and 299.5 would both show 300 otherwise.
TEST_P(Table, DecimalExtremesRoundHalfAwayFromZero)
{
    setVelocities({"300,5", "299,5"});
    table::Statistics s = table::statisticsPass(grid);
    EXPECT_EQ(s.vMax, "301");
    EXPECT_EQ(s.vMin, "300");
    EXPECT_EQ(s.vMean, sep("300,00"));
    table::deviationPass(grid, s.meanVelocity); // 0.5 / 300 * 100 = 0.1667
    EXPECT_EQ(column(table::ColDV), (std::vector<std::string>{sep("0,17"), sep("-0,17")}));

    setVelocities({"-300,5", "-299,5"});
    s = table::statisticsPass(grid);
    EXPECT_EQ(s.vMax, "-300");
    EXPECT_EQ(s.vMin, "-301");
}

TEST_P(Table, InvalidEnergyAnywhereMarksAllThreeEnergyLabels)
{
    for (std::size_t bad = 1; bad <= 3; ++bad) {
        setVelocities({"300", "310", "290"});
        grid.setCell(table::ColE, bad, "####");
        const table::Statistics s = table::statisticsPass(grid);
        EXPECT_EQ(s.vMax, "310") << bad;
        EXPECT_EQ(s.vMean, sep("300,00")) << bad;
        EXPECT_EQ(s.eMax, "####") << bad;
        EXPECT_EQ(s.eMin, "####") << bad;
        EXPECT_EQ(s.eMean, "####") << bad;
    }
}

TEST_P(Table, LargeEnergyIsWholeJoulesInTheCellAndHasDecimalsInTheLabels)
{
    setVelocities({"1000"}, "2,500");
    EXPECT_EQ(grid.cell(table::ColE, 1), "1250");
    const table::Statistics s = table::statisticsPass(grid);
    EXPECT_EQ(s.eMax, sep("1250,00"));
    EXPECT_EQ(s.eMean, sep("1250,00"));
}

TEST_P(Table, BadVelocityStopsThePassWithTheConversionError)
{
    setVelocities({"300", "3x0", "290"});
    const auto e1 = thrown<rt::ConvertError>([&] { table::statisticsPass(grid); });
    ASSERT_TRUE(e1);
    EXPECT_STREQ(e1->what(), "'3x0' is not a valid integer value");
    grid.setCell(table::ColV, 2, "300,5,0");
    const auto e2 = thrown<rt::ConvertError>([&] { table::statisticsPass(grid); });
    ASSERT_TRUE(e2);
    EXPECT_STREQ(e2->what(), "'300,5,0' is not a valid integer value");
    // Row 1 is read as a whole number before anything else.
    grid.setCell(table::ColV, 1, "");
    EXPECT_THROW(table::statisticsPass(grid), rt::ConvertError);
}

TEST_P(Table, DeviationPassThrowsAtTheBadRowAndKeepsEarlierCells)
{
    setVelocities({"300", "abc", "290"});
    const auto e = thrown<rt::ConvertError>([&] { table::deviationPass(grid, 300); });
    ASSERT_TRUE(e);
    EXPECT_STREQ(e->what(), "'abc' is not a valid integer value");
    EXPECT_EQ(grid.cell(table::ColDV, 1), sep("0,00"));
    EXPECT_EQ(grid.cell(table::ColDV, 3), "");
}

TEST_P(Table, ZeroMeanGivesInvalidDeviationsInsteadOfDividingByZero)
{
    setVelocities({"0", "0"});
    const table::Statistics s = table::statisticsPass(grid);
    EXPECT_EQ(s.vMean, sep("0,00"));
    table::deviationPass(grid, s.meanVelocity);
    EXPECT_EQ(grid.cell(table::ColDV, 1), "####");
    EXPECT_EQ(grid.cell(table::ColDV, 2), "####");
}

TEST_P(Table, CountsPast16Bits)
{
    std::vector<std::string> v(70000, "300");
    v[69999] = "400";
    setVelocities(v);
    const table::Statistics s = table::statisticsPass(grid);
    EXPECT_EQ(s.vMax, "400");
    EXPECT_NEAR(s.meanVelocity, 300.0 + 100.0 / 70000, 1e-9);
    table::deviationPass(grid, s.meanVelocity);
    EXPECT_EQ(grid.cell(table::ColDV, 70000), sep("33,33"));
}

} // namespace
