#include "runtime/errors.h"
#include "runtime/wholefile.h"
#include "support/tempdir.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct SizeCase {
    const char* name;
    std::size_t size;
    std::size_t maxBytes;
    bool read;
};

class WholeFile : public ::testing::TestWithParam<SizeCase> {};

TEST_P(WholeFile, ReadsEveryByteUpToTheLimit)
{
    const SizeCase& c = GetParam();
    std::string bytes(c.size, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 + 3);
    TempDir dir;
    dir.write("f.bin", bytes);
    const std::optional<std::vector<std::uint8_t>> read =
        rt::readWholeFile(dir.file("f.bin"), c.maxBytes);
    ASSERT_EQ(read.has_value(), c.read);
    if (read) {
        EXPECT_EQ(std::string(read->begin(), read->end()), bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, WholeFile,
                         ::testing::Values(SizeCase{"empty", 0, 16, true},
                                           SizeCase{"nulsAndHighBytes", 300, 1000, true},
                                           SizeCase{"atTheLimit", 70'000, 70'000, true},
                                           SizeCase{"oneByteOver", 70'001, 70'000, false},
                                           SizeCase{"emptyWithNoRoom", 0, 0, true},
                                           SizeCase{"oneByteWithNoRoom", 1, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WholeFile, TheReadNotTheSizeOnPaperHoldsTheLimit)
{
    // A regular file whose size says 0, as a file that grows after the open would be read.
    const std::string path = "/proc/self/status";
    const std::optional<std::vector<std::uint8_t>> whole = rt::readWholeFile(path, 1 << 20);
    ASSERT_TRUE(whole);
    ASSERT_GT(whole->size(), 100u);
    EXPECT_EQ(std::string(whole->begin(), whole->begin() + 5), "Name:");
    EXPECT_FALSE(rt::readWholeFile(path, 100));
}

TEST(WholeFile, OnlyARegularFileOpensAndNothingWaits)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    for (const std::string& path : {dir.file("fifo"), dir.path()}) {
        const auto e = thrown<rt::NotRegularFile>([&] { rt::readWholeFile(path, 100); });
        ASSERT_TRUE(e) << path;
        EXPECT_EQ(e->what(), "'" + path + "' is not a regular file");
    }
    const auto missing = thrown<rt::InOutError>([&] { rt::readWholeFile(dir.file("no"), 100); });
    ASSERT_TRUE(missing);
    EXPECT_STREQ(missing->what(), "File not found");
}

} // namespace
