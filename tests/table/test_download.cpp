#include "table/download.h"
#include "table/measurementtable.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> receive(table::LineAssembler& a, std::string_view bytes)
{
    for (char ch : bytes)
        a.addChar(ch);
    return a.takeLines();
}

TEST(Download, AssemblesLinesIgnoringCarriageReturns)
{
    table::LineAssembler a;
    EXPECT_EQ(receive(a, "head\r\ner\r\n  1   305\r\n2 2\r98\n\npartial"),
              (std::vector<std::string>{"head", "er", "  1   305", "2 298", ""}));
    EXPECT_EQ(a.receivedLine(), "partial");
    EXPECT_TRUE(a.lines().empty());
    EXPECT_EQ(receive(a, " line\n"), (std::vector<std::string>{"partial line"}))
        << "what was left over starts the next transmission's first line";
}

TEST(Download, EndlessLineKeepsOnlyItsStart)
{
    table::LineAssembler a;
    for (int i = 0; i < 100000; ++i)
        a.addChar('x');
    EXPECT_EQ(a.receivedLine().size(), table::kMaxReceivedLineLength);
    a.addChar('\n');
    EXPECT_EQ(a.takeLines().at(0).size(), table::kMaxReceivedLineLength);
}

TEST(Download, VelocityIsTheTextAfterTheLastSpace)
{
    EXPECT_EQ(table::velocityText("  1   305"), "305");
    EXPECT_EQ(table::velocityText("305"), "305");
    EXPECT_EQ(table::velocityText("1 305 "), "");
    EXPECT_EQ(table::velocityText("1\t305"), "1\t305");
    EXPECT_EQ(table::velocityText(""), "");
}

TEST(Download, HeaderOnlyTransmissionLeavesAnEmptyTableAsItWas)
{
    table::StringGrid grid = table::makeGrid();
    EXPECT_EQ(table::appendShots(grid, {"h1"}, "0,5", "x"), 0u);
    EXPECT_EQ(grid.rowCount(), 2u);
    EXPECT_TRUE(table::isEmpty(grid));
}

} // namespace
