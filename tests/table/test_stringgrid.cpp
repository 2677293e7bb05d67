#include "table/stringgrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct Recorder : table::GridObserver {
    std::vector<std::string> events;
    void rowCountAboutToChange(std::size_t o, std::size_t n) override
    {
        events.push_back("about " + std::to_string(o) + "->" + std::to_string(n));
    }
    void rowCountChanged(std::size_t o, std::size_t n) override
    {
        events.push_back("count " + std::to_string(o) + "->" + std::to_string(n));
    }
    void rowsChanged(std::size_t f, std::size_t l) override
    {
        events.push_back("rows " + std::to_string(f) + ".." + std::to_string(l));
    }
    void columnWidthChanged(std::size_t c) override
    {
        events.push_back("width " + std::to_string(c));
    }
};

TEST(StringGrid, CellsOutsideReadEmptyAndIgnoreWrites)
{
    table::StringGrid grid(3, 2);
    grid.setCell(2, 1, "x");
    EXPECT_EQ(grid.cell(2, 1), "x");
    EXPECT_EQ(grid.cell(3, 1), "");
    EXPECT_EQ(grid.cell(0, 2), "");
    grid.setCell(0, 5, "lost");
    EXPECT_EQ(grid.rowCount(), 2u);
    grid.setRowCount(1);
    EXPECT_EQ(grid.cell(2, 1), "");
    grid.setRowCount(3);
    EXPECT_EQ(grid.cell(2, 1), "") << "a regrown row must not bring back old texts";
}

TEST(StringGrid, ReportsChangesAndBatchesThemInAnUpdate)
{
    table::StringGrid grid(2, 3);
    Recorder rec;
    grid.setObserver(&rec);
    grid.setCell(0, 1, "a");
    grid.setRowCount(5);
    grid.setColWidth(1, 40);
    grid.setColWidth(1, 40);
    {
        table::GridUpdate outer(grid);
        grid.setCell(0, 4, "b");
        {
            table::GridUpdate inner(grid);
            grid.setCell(1, 2, "c");
        }
        grid.setCell(1, 3, "d");
    }
    {
        table::GridUpdate nothing(grid);
    }
    EXPECT_EQ(rec.events, (std::vector<std::string>{"rows 1..1", "about 3->5", "count 3->5",
                                                    "width 1", "rows 2..4"}));
}

TEST(StringGrid, ShrinkingInsideAnUpdateNeverReportsRowsThatAreGone)
{
    table::StringGrid grid(1, 10);
    Recorder rec;
    grid.setObserver(&rec);
    {
        table::GridUpdate update(grid);
        grid.setCell(0, 8, "x");
        grid.setRowCount(5);
    }
    {
        table::GridUpdate update(grid);
        grid.setCell(0, 2, "x");
        grid.setCell(0, 4, "y");
        grid.setRowCount(4);
    }
    EXPECT_EQ(rec.events, (std::vector<std::string>{"about 10->5", "count 10->5", "about 5->4",
                                                    "count 5->4", "rows 2..3"}));
}

// Every row rewritten, longer, over and over (what a deviation pass does to a loaded file):
// the store reclaims what it gives up instead of growing by a table per pass.
TEST(CellRows, RewritingEveryRowKeepsTheStoreBounded)
{
    constexpr std::size_t kRows = 50000;
    table::CellRows rows(3);
    for (std::size_t r = 0; r < kRows; ++r) {
        const std::string n = std::to_string(r);
        const std::string_view cells[] = {n, "300", "0,00"};
        rows.appendRow(cells);
    }
    const std::size_t loaded = rows.textCapacityUsed();
    for (int pass = 0; pass < 6; ++pass) {
        const std::string dv = pass % 2 ? "-12,34" : "1,5";
        for (std::size_t r = 0; r < kRows; ++r)
            rows.setCell(2, r, dv);
        EXPECT_LE(rows.textCapacityUsed(), 3 * loaded) << "pass " << pass;
    }
    EXPECT_EQ(rows.cell(0, 4711), "4711");
    EXPECT_EQ(rows.cell(1, kRows - 1), "300");
    EXPECT_EQ(rows.cell(2, 0), "-12,34");
}

TEST(CellRows, CellsKeepTheirTextsThroughEveryChange)
{
    table::CellRows rows(3);
    const std::string_view first[] = {"a", "", "c"};
    const std::string_view empty[] = {"", "", ""};
    rows.appendRow(first);
    rows.appendRow(empty);
    rows.appendRow(first);
    rows.setCell(1, 1, "middle");
    rows.setCell(0, 0, "");
    rows.setCell(2, 2, "two\nlines");
    EXPECT_EQ(rows.cell(0, 0), "");
    EXPECT_EQ(rows.cell(2, 0), "c");
    EXPECT_EQ(rows.cell(0, 1), "");
    EXPECT_EQ(rows.cell(1, 1), "middle");
    EXPECT_EQ(rows.cell(2, 2), "two lines") << "a line end would split the cell in a file";
    rows.setCell(1, 1, "");
    EXPECT_EQ(rows.cell(1, 1), "");
    rows.eraseRows(0, 0);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows.cell(0, 1), "a");
    rows.resize(4);
    EXPECT_EQ(rows.cell(0, 3), "");
}

// A column pass writes texts of the old length in place and packs the store anew from the
// first text of another length: every row must read its own texts afterwards, whichever way.
TEST(CellRows, AColumnPassGivesEveryRowItsTextWhateverTheLengths)
{
    const std::vector<std::vector<std::string>> passes = {
        {"11", "22", "33", "44"},    // all in place
        {"11", "22", "3333", "4"},   // packed from the third row on
        {"a\nb", "", "333", "4444"}, // a line end and an empty cell at the start
    };
    for (const auto& texts : passes) {
        table::CellRows rows(3);
        for (const char* n : {"1", "2", "3", "4", "5"}) {
            const std::string_view cells[] = {n, "xx", "tail"};
            rows.appendRow(cells);
        }
        rows.setColumn(1, 1, 4, [&](std::size_t r, std::string& text) { text = texts[r - 1]; });
        std::vector<std::string> got;
        for (std::size_t r = 0; r < rows.size(); ++r)
            got.push_back(std::string(rows.cell(0, r)) + "|" + std::string(rows.cell(1, r)) + "|" +
                          std::string(rows.cell(2, r)));
        std::vector<std::string> expected = {"1|xx|tail"};
        for (std::size_t r = 1; r <= 4; ++r) {
            std::string t = texts[r - 1];
            std::replace(t.begin(), t.end(), '\n', ' ');
            expected.push_back(std::to_string(r + 1) + "|" + t + "|tail");
        }
        EXPECT_EQ(got, expected) << texts[2];
    }
}

TEST(StringGrid, RemovingRowsTellsTheViewOnce)
{
    table::StringGrid grid(2, 6);
    for (std::size_t r = 0; r < 6; ++r)
        grid.setCell(0, r, std::to_string(r));
    Recorder rec;
    grid.setObserver(&rec);
    grid.removeRows(2, 3);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"about 6->4", "count 6->4", "rows 2..3"}));
    EXPECT_EQ(grid.cell(0, 2), "4");
    EXPECT_EQ(grid.cell(0, 3), "5");
}

} // namespace
