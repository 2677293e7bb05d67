// The numbers the table keeps beside its texts are the texts' own conversions, whatever road
// the texts took into the grid, and a refused velocity still reports in its own words.
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "support/thrown.h"
#include "table/measurementtable.h"
#include "table/velocity.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

// Every kind of cell the files, the fields and the marks put into V, E and m.
const std::vector<std::string> kTexts = {
    "",     "####",  "285",   "-3",     "+300",       "285,5",      "290.25", "3e2",
    " 300", "300.",  "1,5E3", "1E-310", "2147483648", "3,5,0",      "0,547",  " ,   ",
    "12a",  "1e400", "-0",    "0001",   "916,832304", "-2147483648"};

bool same(double kept, std::optional<double> converted)
{
    return converted ? kept == *converted : std::isnan(kept);
}

void expectConversions(const table::StringGrid& grid)
{
    const table::RowNumbers& n = grid.numbers();
    for (std::size_t r = 1; r < grid.rowCount(); ++r) {
        const std::string_view v = grid.cell(table::ColV, r);
        EXPECT_TRUE(same(n.velocity(r), table::parseVelocity(v))) << "V '" << v << "'";
        EXPECT_TRUE(same(n.velocityAsDecimal(r), rt::parseFloat(v))) << "V '" << v << "'";
        EXPECT_TRUE(same(n.energy(r), rt::parseFloat(grid.cell(table::ColE, r)))) << r;
        EXPECT_TRUE(same(n.weight(r), rt::parseFloat(grid.cell(table::ColM, r)))) << r;
        EXPECT_TRUE(same(n.deviation(r), rt::parseFloat(grid.cell(table::ColDV, r)))) << r;
    }
}

} // namespace

TEST(RowNumbers, FollowTheTextsThroughEveryChangeOfTheGrid)
{
    table::StringGrid grid = table::makeGrid();
    grid.setRowCount(kTexts.size() + 1);
    for (std::size_t i = 0; i < kTexts.size(); ++i) {
        grid.setCell(table::ColV, i + 1, kTexts[i]);
        grid.setCell(table::ColE, i + 1, kTexts[(i + 3) % kTexts.size()]);
        grid.setCell(table::ColM, i + 1, kTexts[(i + 7) % kTexts.size()]);
        grid.setCell(table::ColDV, i + 1, kTexts[(i + 11) % kTexts.size()]);
    }
    expectConversions(grid);

    // A column pass converts each text in the form the cell keeps: a line end becomes a space.
    for (const std::size_t col : {table::ColE, table::ColDV}) {
        grid.setColumn(col, 1, kTexts.size(), [](std::size_t r, std::string& text) {
            text = kTexts[(r + 5) % kTexts.size()] + (r % 2 ? "\n" : "");
        });
    }
    expectConversions(grid);

    grid.removeRows(3, 5);
    expectConversions(grid);

    table::CellRows tail(table::kColumnCount);
    for (const std::string& text : kTexts) {
        const std::array<std::string_view, table::kColumnCount> cells = {"1",  text, text,
                                                                         text, "",   text};
        tail.appendRow(cells.data());
    }
    grid.replaceRowsFrom(4, std::move(tail));
    expectConversions(grid);

    grid.setRowCount(6);
    grid.setRowCount(9);
    expectConversions(grid);
    EXPECT_TRUE(std::isnan(grid.numbers().velocity(8))) << "a new row is empty";
    EXPECT_TRUE(std::isnan(grid.numbers().velocity(100))) << "outside the grid";
}

TEST(RowNumbers, ARefusedVelocityRaisesTheErrorOfItsText)
{
    const auto message = [](auto call) {
        const auto e = thrown<rt::ConvertError>(call);
        return e ? std::string(e->what()) : std::string();
    };
    table::StringGrid grid = table::makeGrid();
    for (const std::string& text : kTexts) {
        grid.setCell(table::ColV, 1, text);
        EXPECT_EQ(message([&] { table::velocityAt(grid, 1); }),
                  message([&] { table::velocityOf(text); }))
            << "'" << text << "'";
    }
}
