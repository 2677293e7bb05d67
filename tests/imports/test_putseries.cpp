#include "imports/importfile.h"
#include "runtime/decimalseparator.h"
#include "table/measurementtable.h"
#include "table/units.h"

#include <gtest/gtest.h>

namespace {

using imports::VelocityUnit;

imports::ImportedSeries seriesOf(VelocityUnit unit, const std::vector<std::string>& velocities,
                                 std::string name = {}, std::optional<double> weight = {})
{
    imports::ImportedSeries s;
    s.unit = unit;
    for (const std::string& v : velocities)
        s.shots.emplace_back().velocity = v;
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

// Every digit the file gave, in m/s: a ft/s value exactly, as k + 4 decimals at most.
TEST_F(PutSeries, VelocitiesAreStoredExactlyAsRecorded)
{
    struct Case {
        VelocityUnit unit;
        VelocityUnit chosen;
        const char* recorded;
        const char* text;
    };
    const VelocityUnit ms = VelocityUnit::MetresPerSecond;
    const VelocityUnit fts = VelocityUnit::FeetPerSecond;
    const VelocityUnit unknown = VelocityUnit::Unknown;
    for (const Case& c :
         {Case{ms, ms, "805", "805"}, Case{ms, ms, "696.04", "696,04"},
          Case{ms, ms, "696.0", "696"}, Case{ms, fts, "265.391", "265,391"},
          Case{fts, ms, "2804", "854,6592"}, Case{fts, ms, "3007.98", "916,832304"},
          Case{fts, ms, "2795.1", "851,94648"}, Case{unknown, fts, "1000", "304,8"},
          Case{unknown, ms, "1000", "1000"}, Case{unknown, unknown, "1000", "1000"}}) {
        SCOPED_TRACE(c.recorded);
        imports::putSeries(grid, seriesOf(c.unit, {c.recorded}), c.chosen, "0,547", "stem");
        EXPECT_EQ(grid.cell(table::ColV, 1), c.text);
    }
}

TEST_F(PutSeries, FillsEveryRowAndItsEnergy)
{
    imports::putSeries(grid, seriesOf(VelocityUnit::MetresPerSecond, {"300", "310"}),
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
                       seriesOf(VelocityUnit::MetresPerSecond, {"100"}, "SMK", table::grams(168)),
                       VelocityUnit::MetresPerSecond, "0,547", "stem");
    ASSERT_EQ(grid.rowCount(), 2u);
    EXPECT_EQ(grid.cell(table::ColM, 1), "10,886");
    EXPECT_EQ(grid.cell(table::ColE, 1), "54,4");
    EXPECT_EQ(grid.cell(table::ColBullet, 1), "SMK");
}

// Velocities take the program's separator; weights the comma the weight field writes.
TEST_F(PutSeries, VelocitiesFollowTheDecimalSeparatorAndWeightsKeepTheComma)
{
    rt::setDecimalSeparator('.');
    imports::putSeries(grid, seriesOf(VelocityUnit::FeetPerSecond, {"2804", "2300"}, "", 10.5),
                       VelocityUnit::MetresPerSecond, "0,547", "stem");
    EXPECT_EQ(grid.cell(table::ColV, 1), "854.6592");
    EXPECT_EQ(grid.cell(table::ColV, 2), "701.04");
    EXPECT_EQ(grid.cell(table::ColM, 1), "10,500");
    EXPECT_EQ(grid.cell(table::ColE, 1), "3835");
}

// Rows of an earlier session must not keep their deviations or bullets.
TEST_F(PutSeries, ReplacesTheWholeTable)
{
    grid.setRowCount(6);
    for (std::size_t r = 1; r < 6; ++r) {
        for (std::size_t c = 0; c < table::kColumnCount; ++c)
            grid.setCell(c, r, "old");
    }
    imports::putSeries(grid, seriesOf(VelocityUnit::MetresPerSecond, {"801", "812"}),
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
    imports::putSeries(grid, seriesOf(VelocityUnit::MetresPerSecond, {"300"}, umlauts),
                       VelocityUnit::MetresPerSecond, "0,547", "stem");
    EXPECT_EQ(grid.cell(table::ColBullet, 1), umlauts.substr(0, 256));

    imports::putSeries(grid, seriesOf(VelocityUnit::MetresPerSecond, {"300"}),
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
    imports::putSeries(
        grid, seriesOf(VelocityUnit::MetresPerSecond, std::vector<std::string>(1000, "300")),
        VelocityUnit::MetresPerSecond, "0,547", "stem");
    grid.setObserver(nullptr);
    EXPECT_EQ(counter.rowCounts, 1);
    EXPECT_EQ(counter.changes, 1);
}

} // namespace
