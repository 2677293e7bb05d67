#include "runtime/decimalseparator.h"
#include "runtime/errors.h"
#include "support/smallfs.h"
#include "support/stringrows.h"
#include "support/tempdir.h"
#include "support/thrown.h"
#include "table/measurementfile.h"
#include "table/measurementtable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

using namespace std::string_literals;

std::vector<Row> readBack(const std::string& path)
{
    table::StringGrid grid = table::makeGrid();
    table::readTable(grid, path);
    return rowsOf(grid, table::kColumnCount);
}

const std::vector<Row> kSession = {
    {"1", "287", "22,5", "0,547", "JSB Exact", "0,35"},
    {"2", "285", "22,2", "0,547", "JSB Exact", "-0,35"},
};

TEST(MeasurementFile, RoundTripKeepsOddCellsAndEmptyRows)
{
    const std::vector<Row> odd = {
        {"1", "300", "####", "0,547", "", "0,00"},
        {"", "", "", "", "", ""},
        {"3", "x", "5,4", " ,   ", "  Пуля «Кондор» ", "abc"},
    };
    TempDir dir;
    table::writeTable(tableOf(odd), dir.file("s.vxm"));
    std::string expected;
    for (const Row& row : odd) {
        for (const std::string& cell : row)
            expected += cell + "\r\n";
    }
    EXPECT_EQ(readBytes(dir.file("s.vxm")), expected);
    EXPECT_EQ(readBack(dir.file("s.vxm")), odd);
}

struct ReadCase {
    const char* name;
    std::string bytes;
    std::vector<Row> rows;
};

class Read : public ::testing::TestWithParam<ReadCase> {};

TEST_P(Read, FollowsTheEndOfFileRule)
{
    TempDir dir;
    dir.write("f.vxm", GetParam().bytes);
    EXPECT_EQ(readBack(dir.file("f.vxm")), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    MeasurementFile, Read,
    ::testing::Values(
        ReadCase{"empty", "", {Row(6)}},
        ReadCase{"shortRecord", "1\r\n300\r\n5,4\r\n", {{"1", "300", "5,4", "", "", ""}}},
        ReadCase{"sevenLines",
                 "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n",
                 {{"1", "2", "3", "4", "5", "6"}, {"7", "", "", "", "", ""}}},
        ReadCase{"extraEmptyLine",
                 "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n\r\n",
                 {{"1", "2", "3", "4", "5", "6"}, Row(6)}},
        ReadCase{"freeTextBesideTheNumbers",
                 "007\r\n\xff\r\n\r\n-\r\nPNG\r\n\x80\r\n+8\r\n",
                 {{"007", "\xd1\x8f", "", "-", "PNG", "\xd0\x82"}, {"+8", "", "", "", "", ""}}},
        ReadCase{"emptyFirstLines",
                 "\r\nx\r\n\r\n\r\n\r\n\r\n-12345678901234567890\n",
                 {{"", "x", "", "", "", ""}, {"-12345678901234567890", "", "", "", "", ""}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefuseCase {
    const char* name;
    std::string bytes;
    std::size_t line;
};

class Refuse : public ::testing::TestWithParam<RefuseCase> {};

// The table and the records it had stay: a refused file changes nothing.
TEST_P(Refuse, AtTheFirstLineThatTellsAndLeavesTheTable)
{
    TempDir dir;
    dir.write("f.vxm", GetParam().bytes);
    const std::vector<Row> before = {{"1", "290", "5,4", "0,547", "JSB", "0,00"}, Row(6)};
    table::StringGrid grid = tableOf(before);
    const auto e =
        thrown<table::NotMeasurementFile>([&] { table::readTable(grid, dir.file("f.vxm")); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->line(), GetParam().line);
    EXPECT_EQ(e->path(), dir.file("f.vxm"));
    EXPECT_EQ(e->what(), "'" + dir.file("f.vxm") + "' is not a measurement file (line " +
                             std::to_string(GetParam().line) + ")");
    EXPECT_EQ(rowsOf(grid, table::kColumnCount), before);
    EXPECT_THROW(table::readRecords(dir.file("f.vxm")), table::NotMeasurementFile);
}

INSTANTIATE_TEST_SUITE_P(
    MeasurementFile, Refuse,
    ::testing::Values(RefuseCase{"picture", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s, 1},
                      RefuseCase{"csv", "N;V;E\r\n1;300;5,4\r\n", 1},
                      RefuseCase{"csvWithoutHeader", "1;300;5,4\r\n2;310;5,77\r\n", 1},
                      RefuseCase{"decimalShotNumber", "1,5\r\n300\r\n", 1},
                      RefuseCase{"spaceAroundTheNumber", " 1\r\n300\r\n", 1},
                      RefuseCase{"loneSign", "-\r\n", 1},
                      RefuseCase{"nulInAFreeTextLine", "1\r\n300\r\n5,4\r\n0,5\r\nB\0\r\n"s, 5},
                      RefuseCase{"nulAlone", "\0"s, 1},
                      RefuseCase{"secondRecord", "1\r\n300\r\n\r\n\r\n\r\n\r\ntext\r\n", 7},
                      RefuseCase{"sevenLineRecords",
                                 "1\r\n300\r\n5,4\r\n0,5\r\nB\r\n0,00\r\nnote\r\n2\r\n310\r\n", 7},
                      RefuseCase{"lfLines", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\nend\n", 13},
                      // Giant lines: a shot number of digits only, and a bullet name.
                      RefuseCase{"giantFirstLine", std::string(rt::kMaxLineBytes + 1, '7'), 1},
                      RefuseCase{"giantBulletLine",
                                 "1\r\n300\r\n5,4\r\n0,5\r\n" +
                                     std::string(rt::kMaxLineBytes + 1, 'B') + "\r\n0,00\r\n",
                                 5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MeasurementFile, ReadAppendsBelowTheLastRow)
{
    TempDir dir;
    dir.write("f.vxm", "9\r\n300\r\n\r\n\r\n\r\n\r\n");
    table::StringGrid grid = tableOf({{"1", "290", "", "", "", ""}, Row(6)});
    table::readTable(grid, dir.file("f.vxm"));
    ASSERT_EQ(grid.rowCount(), 3u);
    EXPECT_EQ(grid.cell(table::ColV, 1), "290");
    EXPECT_EQ(grid.cell(table::ColV, 2), "300");
}

TEST(MeasurementFile, ManyRecordsAndLongLines)
{
    std::string bytes;
    const std::string longName(rt::kMaxLineBytes, 'n'); // as long as a line may be
    for (int i = 1; i <= 100000; ++i)
        bytes += std::to_string(i) + "\r\n300\r\n5,4\r\n0,1\r\n" + (i == 7 ? longName : "B") +
                 "\r\n0,00\r\n";
    TempDir dir;
    dir.write("f.vxm", bytes);
    table::StringGrid grid = table::makeGrid();
    table::readTable(grid, dir.file("f.vxm"));
    ASSERT_EQ(grid.rowCount(), 100001u);
    EXPECT_EQ(grid.cell(table::ColBullet, 7), longName);
    EXPECT_EQ(grid.cell(table::ColN, 100000), "100000");
    table::writeTable(grid, dir.file("g.vxm"));
    EXPECT_EQ(readBytes(dir.file("g.vxm")), bytes);
}

// Records lying whole in the read buffer are split there at once; every other record goes line
// by line. Mixed line ends, tabs, non-ASCII lines and records across the buffer's end must read
// as the line-by-line reader reads them.
TEST(MeasurementFile, WholeRecordsReadAsLineByLine)
{
    const std::vector<std::string> ends = {"\r\n", "\n", "\r"};
    const std::vector<std::string> cells = {
        "300", "", "5,4", "a\tb", "\xC3\x98", "\xC0", std::string(300, 'x'), "0,547"};
    unsigned seed = 1;
    const auto next = [&seed](std::size_t n) {
        seed = seed * 1103515245 + 12345;
        return (seed >> 16) % n;
    };
    std::vector<std::string> lines;
    for (int i = 1; i <= 6000; ++i) {
        lines.push_back(next(9) == 0 ? std::string() : std::to_string(i));
        for (std::size_t line = 1; line < table::kLinesPerRecord; ++line)
            lines.push_back(cells[next(cells.size())]);
    }
    std::string bytes;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& end = ends[next(ends.size())];
        // A CR before an empty line would make one line end of the two.
        const bool nextEmpty = i + 1 < lines.size() && lines[i + 1].empty();
        bytes += lines[i] + (end == "\r" && nextEmpty ? "\r\n" : end);
    }
    TempDir dir;
    dir.write("f.vxm", bytes);
    table::StringGrid grid = table::makeGrid();
    table::readTable(grid, dir.file("f.vxm"));

    table::MeasurementReader reader(dir.file("f.vxm"));
    table::MeasurementRecord record;
    std::size_t row = 1;
    do {
        reader.readRecord(record);
        ASSERT_LT(row, grid.rowCount());
        for (std::size_t c = 0; c < table::kLinesPerRecord; ++c)
            ASSERT_EQ(grid.cell(c, row), record[c]) << "row " << row << ", column " << c;
        ++row;
    } while (!reader.atEnd());
    EXPECT_EQ(row, grid.rowCount());
}

TEST(MeasurementFile, SelectionIsASessionOfItsOwn)
{
    rt::setDecimalSeparator(',');
    const table::StringGrid grid = tableOf({{"1", "300", "5,4", "0,12", "A", "9"},
                                            {"2", "310", "5,77", "0,12", "B", "9"},
                                            {"3", "290", "5,05", "0,12", "C", "9"},
                                            {"4", "305", "5,58", "0,12", "D", "9"},
                                            {"5", "295", "5,22", "0,12", "E", "9"}});
    TempDir dir;
    table::writeSelection(grid, 3, 5, dir.file("s.vxm"));
    EXPECT_EQ(readBack(dir.file("s.vxm")),
              (std::vector<Row>{{"1", "290", "5,05", "0,12", "C", "-2,25"},
                                {"2", "305", "5,58", "0,12", "D", "2,81"},
                                {"3", "295", "5,22", "0,12", "E", "-0,56"}}));
    table::writeSelection(grid, 2, 2, dir.file("one.vxm"));
    EXPECT_EQ(readBytes(dir.file("one.vxm")), "1\r\n310\r\n5,77\r\n0,12\r\nB\r\n0,00\r\n");
}

// Velocities as the radar gave them, whichever separator; deviations in the locale's:
// mean (285.5 + 290.25 + 280.75) / 3 = 285.5, and 4.75 / 285.5 * 100 = 1.66375.
TEST(MeasurementFile, SelectionOfDecimalVelocities)
{
    rt::setDecimalSeparator('.');
    const table::StringGrid grid = tableOf({{"1", "300", "5,4", "0,12", "A", "9"},
                                            {"2", "285,5", "4,89", "0,12", "B", "9"},
                                            {"3", "290.25", "5,05", "0,12", "C", "9"},
                                            {"4", "280,75", "4,73", "0,12", "D", "9"}});
    TempDir dir;
    table::writeSelection(grid, 2, 4, dir.file("s.vxm"));
    EXPECT_EQ(readBytes(dir.file("s.vxm")), "1\r\n285,5\r\n4,89\r\n0,12\r\nB\r\n0.00\r\n"
                                            "2\r\n290.25\r\n5,05\r\n0,12\r\nC\r\n1.66\r\n"
                                            "3\r\n280,75\r\n4,73\r\n0,12\r\nD\r\n-1.66\r\n");
    rt::setDecimalSeparator(',');
}

TEST(MeasurementFile, SelectionWithABadVelocityKeepsThePreviousFile)
{
    const table::StringGrid grid =
        tableOf({{"1", "300", "", "", "", ""}, {"2", "3,5,0", "", "", "", ""}});
    TempDir dir;
    dir.write("s.vxm", "previous");
    const auto e =
        thrown<rt::ConvertError>([&] { table::writeSelection(grid, 1, 2, dir.file("s.vxm")); });
    ASSERT_TRUE(e);
    EXPECT_STREQ(e->what(), "'3,5,0' is not a valid integer value");
    EXPECT_EQ(readBytes(dir.file("s.vxm")), "previous");
}

TEST(MeasurementFile, ZeroMeanSelectionWritesNoInfinity)
{
    const table::StringGrid grid = tableOf({{"1", "0", "", "", "", ""}});
    TempDir dir;
    table::writeSelection(grid, 1, 1, dir.file("s.vxm"));
    EXPECT_EQ(readBack(dir.file("s.vxm"))[0][5], "####");
}

TEST(MeasurementFile, FullDiskFailsWithDiskFullAndKeepsTheOldFile)
{
    SmallFilesystem fs(64 * 1024);
    SKIP_UNLESS_MOUNTED(fs);
    const std::string path = fs.path() + "/s.vxm";
    std::ofstream(path) << "old session";
    std::vector<Row> rows(5000, Row{"1", "300", "5,4", "0,547", "a long bullet name", "0,00"});
    const auto e = thrown<rt::InOutError>([&] { table::writeTable(tableOf(rows), path); });
    ASSERT_TRUE(e) << "a 64 KiB file system took the whole table";
    EXPECT_STREQ(e->what(), "Disk full");
    EXPECT_EQ(readBytes(path), "old session");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(fs.path()), {}), 1)
        << "no temporary file left behind";
}

TEST(MeasurementFile, ReadOnlyFolderFailsWithAccessDeniedAndKeepsTheOldFile)
{
    SmallFilesystem fs(64 * 1024);
    SKIP_UNLESS_MOUNTED(fs);
    const std::string path = fs.path() + "/s.vxm";
    std::ofstream(path) << "old session";
    fs.makeReadOnly();
    const auto e = thrown<rt::InOutError>([&] { table::writeTable(tableOf(kSession), path); });
    ASSERT_TRUE(e);
    EXPECT_STREQ(e->what(), "File access denied");
    EXPECT_EQ(readBytes(path), "old session");
}

} // namespace
