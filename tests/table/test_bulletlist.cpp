#include "runtime/errors.h"
#include "runtime/textfile.h"
#include "support/tempdir.h"
#include "support/thrown.h"
#include "table/bulletlist.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using table::BulletEntry;

std::vector<BulletEntry> entries(const table::BulletList& list)
{
    std::vector<BulletEntry> out;
    for (std::size_t k = 1; k <= list.count(); ++k)
        out.push_back(list.entry(k));
    return out;
}

struct LoadCase {
    const char* name;
    std::string bytes;
    std::vector<BulletEntry> expected;
};

class BulletLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(BulletLoad, ReadsPairs)
{
    TempDir dir;
    dir.write("Bullets.vx!", GetParam().bytes);
    table::BulletList list;
    list.load(dir.path());
    EXPECT_EQ(entries(list), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BulletLoad,
    ::testing::Values(LoadCase{"twoPairs",
                               "JSB 4,5\r\n0,547\r\nH&N\r\n0,510\r\n",
                               {{"JSB 4,5", "0,547"}, {"H&N", "0,510"}}},
                      LoadCase{"empty", "", {{"", ""}}},
                      LoadCase{"oddLineCount", "A\r\n0,500\r\nB\r\n", {{"A", "0,500"}, {"B", ""}}},
                      LoadCase{"extraEmptyLine", "A\r\n0,500\r\n\r\n", {{"A", "0,500"}, {"", ""}}},
                      LoadCase{"noWeightMark", "A\r\n####\r\n", {{"A", "####"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BulletList, LongLinesAreCutToTheirFirst128Characters)
{
    const std::string name(200, 'n');
    std::string cyrillic;
    for (int i = 0; i < 150; ++i)
        cyrillic += "ж";
    TempDir dir;
    dir.write("Bullets.vx!", name + "\r\n" + cyrillic + "\r\nnext\r\n1\r\n");
    table::BulletList list;
    list.load(dir.path());
    ASSERT_EQ(list.count(), 2u);
    EXPECT_EQ(list.entry(1).name, name.substr(0, 128));
    EXPECT_EQ(list.entry(1).weight.size(), 128u * 2) << "128 characters of two bytes each";
    EXPECT_EQ(list.entry(2).name, "next");
}

TEST(BulletList, MoreThan255PairsAllLoad)
{
    std::string bytes;
    for (int i = 1; i <= 1000; ++i)
        bytes += "B" + std::to_string(i) + "\r\n0,100\r\n";
    TempDir dir;
    dir.write("Bullets.vx!", bytes);
    table::BulletList list;
    list.load(dir.path());
    ASSERT_EQ(list.count(), 1000u);
    EXPECT_EQ(list.entry(1000).name, "B1000");
    EXPECT_EQ(list.entry(1001).name, "");
    EXPECT_EQ(list.entry(0).name, "");
}

// Finding the file whatever its case is shown through the main window; here the choice
// among several spellings.
TEST(BulletList, AnExactSpellingWinsOverTheOthers)
{
    TempDir dir;
    dir.write("BULLETS.VX!", "upper\r\n1\r\n");
    dir.write("Bullets.vx!", "exact\r\n1\r\n");
    EXPECT_EQ(table::resolveBulletFile(dir.path(), table::kBulletFileName),
              dir.file("Bullets.vx!"));
    EXPECT_EQ(table::resolveBulletFile(dir.path(), "nothing.here"), dir.file("nothing.here"));
}

TEST(BulletList, MissingFileKeepsTheCountAndReportsFileNotFound)
{
    TempDir dir;
    dir.write("Bullets.vx!", "A\r\n1\r\nB\r\n2\r\n");
    table::BulletList list;
    list.load(dir.path());
    std::filesystem::remove(dir.file("Bullets.vx!"));
    const auto e = thrown<rt::InOutError>([&] { list.load(dir.path()); });
    ASSERT_TRUE(e);
    EXPECT_STREQ(e->what(), "File not found");
    EXPECT_EQ(list.count(), 2u);
    EXPECT_EQ(list.entry(1).name, "") << "entries are emptied before the file is opened";
}

TEST(BulletList, AGiantLineRefusesTheFileNamingTheLine)
{
    TempDir dir;
    const std::string giant(rt::kMaxLineBytes + 1, 'n');
    dir.write("Bullets.vx!", "A\r\n1\r\n" + giant + "\r\n2\r\n");
    table::BulletList list;
    const auto e = thrown<table::NotBulletFile>([&] { list.load(dir.path()); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->line(), 3u);
    EXPECT_EQ(e->what(), "'" + dir.file("Bullets.vx!") + "' is not a bullet list (line 3)");
    EXPECT_EQ(list.count(), 0u);

    // The editor reads whole lines, but not beyond the limit either.
    dir.write("Bullets.vx!", "A\r\n" + giant);
    EXPECT_THROW(table::readBulletFile(dir.path()), table::NotBulletFile);
    dir.write("Bullets.vx!", "A\r\n" + giant.substr(1));
    EXPECT_EQ(table::readBulletFile(dir.path()).cell(1, 0).size(), rt::kMaxLineBytes);
}

// Entries are found through a sparse index; every one must come back, at any stride offset.
TEST(BulletList, EveryEntryOfALongListReadsBack)
{
    std::string bytes;
    for (int i = 1; i <= 100; ++i)
        bytes += (i % 7 == 0 ? std::string() : "B" + std::to_string(i)) + "\r\n" +
                 std::to_string(i) + "\r\n";
    TempDir dir;
    dir.write("Bullets.vx!", bytes);
    table::BulletList list;
    list.load(dir.path());
    ASSERT_EQ(list.count(), 100u);
    for (std::size_t k = 1; k <= 100; ++k) {
        EXPECT_EQ(list.entry(k).name, k % 7 == 0 ? "" : "B" + std::to_string(k));
        EXPECT_EQ(list.entry(k).weight, std::to_string(k));
    }
}

} // namespace
