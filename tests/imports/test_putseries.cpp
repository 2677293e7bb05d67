#include "imports/importfile.h"
#include "runtime/decimalseparator.h"
#include "table/measurementtable.h"
#include "table/units.h"

#include <gtest/gtest.h>

namespace {

using imports::VelocityUnit;

imports::ImportedSeries seriesOf(VelocityUnit unit, std::vector<double> velocities,
                                 std::string name = {}, std::optional<double> weight = {})
{
    imports::ImportedSeries s;
    s.unit = unit;
    s.velocities = std::move(velocities);
    s.name = std::move(name);
    s.weightGrams = weight;
    return s;
}

class PutSeries : public ::testing::Test {
protected:
    void SetUp() override { rt::setDecimalSeparator(','); }
    void TearDown() override { rt::setDecimalSeparator(','); }
    table::StringGrid grid = table::makeGrid();
};

TEST_F(PutSeries, VelocityKeepsATenthOnlyWhereItIsNotZero)
{
    struct Case {
        VelocityUnit unit;
        VelocityUnit chosen;
        double value;
        const char* text;
    };
    const VelocityUnit ms = VelocityUnit::MetresPerSecond;
    const VelocityUnit fts = VelocityUnit::FeetPerSecond;
    const VelocityUnit unknown = VelocityUnit::Unknown;
    for (const Case& c :
         {Case{ms, ms, 805, "805"}, Case{ms, ms, 696.04, "696"}, Case{ms, ms, 695.95, "696"},
          Case{ms, ms, 285.5, "285,5"}, Case{ms, ms, 287.25, "287,3"},
          Case{ms, ms, 285.44, "285,4"}, Case{ms, fts, 805, "805"}, Case{fts, ms, 2804, "854,7"},
          Case{fts, ms, 2300, "701"}, Case{fts, ms, 1000, "304,8"},
          Case{unknown, fts, 1000, "304,8"}, Case{unknown, ms, 1000, "1000"},
          Case{unknown, unknown, 1000, "1000"}}) {
        SCOPED_TRACE(c.value);
        imports::putSeries(grid, seriesOf(c.unit, {c.value}), c.chosen, "0,547", "stem");
        EXPECT_EQ(grid.cell(table::ColV, 1), c.text);
    }
}

TEST_F(PutSeries, FillsEveryRowAndItsEnergy)
{
    imports::putSeries(grid, seriesOf(VelocityUnit::MetresPerSecond, {300, 310}),
                       VelocityUnit::MetresPerSecond, "0,547", "JSB Exact");
    ASSERT_EQ(grid.rowCount(), 3u);
    const std::vector<std::vector<std::string_view>> rows = {
        {"1", "300", "24,6", "0,547", "JSB Exact", ""},
        {"2", "310", "26,3", "0,547", "JSB Exact", ""}};
    for (std::size_t r = 1; r <= rows.size(); ++r) {
        for (std::size_t c = 0; c < table::kColumnCount; ++c)
            EXPECT_EQ(grid.cell(c, r), rows[r - 1][c]) << "row " << r << " column " << c;
    }
    EXPECT_EQ(grid.cell(table::ColV, 0), "V (m/s)");

    // The file's weight wins over the field's: 168 grains.
    imports::putSeries(grid,
                       seriesOf(VelocityUnit::MetresPerSecond, {100}, "SMK", table::grams(168)),
                       VelocityUnit::MetresPerSecond, "0,547", "stem");
    ASSERT_EQ(grid.rowCount(), 2u);
    EXPECT_EQ(grid.cell(table::ColM, 1), "10,886");
    EXPECT_EQ(grid.cell(table::ColE, 1), "54,4");
    EXPECT_EQ(grid.cell(table::ColBullet, 1), "SMK");
}

TEST_F(PutSeries, FollowsTheDecimalSeparator)
{
    rt::setDecimalSeparator('.');
    imports::putSeries(grid, seriesOf(VelocityUnit::FeetPerSecond, {2804, 2300}, "", 10.5),
                       VelocityUnit::MetresPerSecond, "0.547", "stem");
    EXPECT_EQ(grid.cell(table::ColV, 1), "854.7");
    EXPECT_EQ(grid.cell(table::ColV, 2), "701");
    EXPECT_EQ(grid.cell(table::ColM, 1), "10.500");
}

// Rows of an earlier session must not keep their deviations or bullets.
TEST_F(PutSeries, ReplacesTheWholeTable)
{
    grid.setRowCount(6);
    for (std::size_t r = 1; r < 6; ++r) {
        for (std::size_t c = 0; c < table::kColumnCount; ++c)
            grid.setCell(c, r, "old");
    }
    imports::putSeries(grid, seriesOf(VelocityUnit::MetresPerSecond, {801, 812}),
                       VelocityUnit::MetresPerSecond, "", "new");
    ASSERT_EQ(grid.rowCount(), 3u);
    for (std::size_t r = 1; r < 3; ++r) {
        EXPECT_EQ(grid.cell(table::ColN, r), std::to_string(r));
        EXPECT_EQ(grid.cell(table::ColM, r), "");
        EXPECT_EQ(grid.cell(table::ColBullet, r), "new");
        EXPECT_EQ(grid.cell(table::ColDV, r), "");
    }

    imports::putSeries(grid, seriesOf(VelocityUnit::MetresPerSecond, {}, "Series 14"),
                       VelocityUnit::MetresPerSecond, "0,547", "stem");
    ASSERT_EQ(grid.rowCount(), 2u);
    for (std::size_t c = 0; c < table::kColumnCount; ++c)
        EXPECT_EQ(grid.cell(c, 1), "");
    EXPECT_TRUE(table::isEmpty(grid));
}

TEST_F(PutSeries, BulletIsCutTo128Characters)
{
    std::string umlauts;
    for (int i = 0; i < 130; ++i)
        umlauts += "\xC3\xBC";
    imports::putSeries(grid, seriesOf(VelocityUnit::MetresPerSecond, {300}, umlauts),
                       VelocityUnit::MetresPerSecond, "0,547", "stem");
    EXPECT_EQ(grid.cell(table::ColBullet, 1), umlauts.substr(0, 256));

    imports::putSeries(grid, seriesOf(VelocityUnit::MetresPerSecond, {300}),
                       VelocityUnit::MetresPerSecond, "0,547", std::string(200, 'x'));
    EXPECT_EQ(grid.cell(table::ColBullet, 1), std::string(128, 'x'));
}

// A view follows the whole import as one change, not one per shot.
TEST_F(PutSeries, TellsAViewOnce)
{
    struct Counter : table::GridObserver {
        int rowCounts = 0;
        int changes = 0;
        void rowCountAboutToChange(std::size_t, std::size_t) override {}
        void rowCountChanged(std::size_t, std::size_t) override { ++rowCounts; }
        void rowsChanged(std::size_t, std::size_t) override { ++changes; }
        void columnWidthChanged(std::size_t) override {}
    } counter;
    grid.setObserver(&counter);
    imports::putSeries(grid,
                       seriesOf(VelocityUnit::MetresPerSecond, std::vector<double>(1000, 300)),
                       VelocityUnit::MetresPerSecond, "0,547", "stem");
    grid.setObserver(nullptr);
    EXPECT_EQ(counter.rowCounts, 1);
    EXPECT_EQ(counter.changes, 1);
}

TEST(MetresPerSecond, ConvertsFeetAndTakesTheChosenUnitForUnknown)
{
    const std::vector<double> feet = {1000, 2804.5};
    const std::vector<double> metres = {1000 * 0.3048, 2804.5 * 0.3048};
    EXPECT_EQ(imports::metresPerSecond(seriesOf(VelocityUnit::FeetPerSecond, feet),
                                       VelocityUnit::MetresPerSecond),
              metres);
    EXPECT_EQ(imports::metresPerSecond(seriesOf(VelocityUnit::Unknown, feet),
                                       VelocityUnit::FeetPerSecond),
              metres);
    EXPECT_EQ(imports::metresPerSecond(seriesOf(VelocityUnit::MetresPerSecond, feet),
                                       VelocityUnit::FeetPerSecond),
              feet);
    EXPECT_EQ(
        imports::metresPerSecond(seriesOf(VelocityUnit::Unknown, feet), VelocityUnit::Unknown),
        feet);
}

} // namespace
