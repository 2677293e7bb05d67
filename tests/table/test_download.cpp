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

TEST(Download, EndlessLineKeepsOnlyItsFirst256Characters)
{
    table::LineAssembler a;
    std::string start;
    for (int i = 0; i < 100000; ++i) {
        const char ch = static_cast<char>('a' + i % 26);
        a.addChar(ch);
        if (i < 256)
            start += ch;
    }
    EXPECT_EQ(a.receivedLine(), start);
    a.addChar('\r');
    a.addChar('\n');
    a.addChar('1');
    a.addChar('\n');
    EXPECT_EQ(a.takeLines(), (std::vector<std::string>{start, "1"}));
    EXPECT_EQ(receive(a, std::string(256, 'y') + "\n"),
              (std::vector<std::string>{std::string(256, 'y')}));
}

// A runaway stream of lines: the first 65,535 of a transmission are kept, the rest dropped,
// and the next transmission starts counting afresh.
TEST(Download, ATransmissionKeepsAtMost65535Lines)
{
    table::LineAssembler a;
    for (int i = 0; i < 70000; ++i) {
        for (char ch : std::to_string(i) + "\r\n")
            a.addChar(ch);
    }
    const std::vector<std::string> lines = a.takeLines();
    ASSERT_EQ(lines.size(), 65535u);
    EXPECT_EQ(lines.front(), "0");
    EXPECT_EQ(lines.back(), "65534");
    EXPECT_EQ(receive(a, "next\n"), (std::vector<std::string>{"next"}));
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
