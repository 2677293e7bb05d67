#include "runtime/errors.h"
#include "runtime/textfile.h"
#include "support/tempdir.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <vector>

namespace {

std::vector<std::string> readAll(const std::string& path)
{
    rt::TextReader reader(path);
    std::vector<std::string> lines;
    while (!reader.eof())
        lines.push_back(reader.readLine());
    return lines;
}

struct LineCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

class LineEnds : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineEnds, SplitsAsTheFileFormatsExpect)
{
    TempDir dir;
    dir.write("f.txt", GetParam().bytes);
    EXPECT_EQ(readAll(dir.file("f.txt")), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    TextReader, LineEnds,
    ::testing::Values(
        LineCase{"crlf", "a\r\nb\r\n", {"a", "b"}}, LineCase{"lfOnly", "a\nb\n", {"a", "b"}},
        LineCase{"crOnly", "a\rb\r", {"a", "b"}}, LineCase{"noFinalEnd", "a\r\nb", {"a", "b"}},
        LineCase{"emptyLines", "\r\n\r\nx\r\n", {"", "", "x"}},
        LineCase{"lfCrIsTwoEnds", "a\n\rb", {"a", "", "b"}}, LineCase{"empty", "", {}},
        LineCase{"nulKept", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextReader, ReadsPastTheEndAsEmptyLines)
{
    TempDir dir;
    dir.write("f.txt", "only\r\n");
    rt::TextReader reader(dir.file("f.txt"));
    EXPECT_EQ(reader.readLine(), "only");
    EXPECT_TRUE(reader.eof());
    EXPECT_EQ(reader.readLine(), "");
    EXPECT_EQ(reader.readLine(), "");
}

TEST(TextReader, CrLfSplitAcrossTheReadBufferIsOneLineEnd)
{
    // The reader's buffer is 64 KiB; put the CR as its last byte.
    const std::string first(64 * 1024 - 1, 'x');
    TempDir dir;
    dir.write("f.txt", first + "\r\nsecond\r\n");
    EXPECT_EQ(readAll(dir.file("f.txt")), (std::vector<std::string>{first, "second"}));
}

TEST(TextReader, LinesUpToTheLimitAreReadWholeLongerOnesThrow)
{
    // Across several read buffers, so the limit holds for the line, not for one read.
    const std::string big(3 * 64 * 1024 + 17, 'v');
    TempDir dir;
    dir.write("f.txt", big + "\r\nend");
    {
        rt::TextReader reader(dir.file("f.txt"), big.size());
        EXPECT_EQ(reader.readLine(), big);
        EXPECT_EQ(reader.readLine(), "end");
    }
    rt::TextReader reader(dir.file("f.txt"), big.size() - 1);
    EXPECT_THROW(reader.readLine(), rt::LineTooLong);

    const std::string atDefault(rt::kMaxLineBytes, 'x');
    dir.write("g.txt", atDefault + "\r\n" + atDefault + "x");
    rt::TextReader byDefault(dir.file("g.txt"));
    EXPECT_EQ(byDefault.readLine(), atDefault);
    EXPECT_THROW(byDefault.readLine(), rt::LineTooLong) << "a last line without an end counts too";
}

TEST(TextReader, NonUtf8LineIsReadAsWindows1251)
{
    TempDir dir;
    dir.write("f.txt", "\xCF\xF3\xEB\xFF\r\n\xD0\x9F\r\n"); // "Пуля" in 1251, then "П" in UTF-8
    EXPECT_EQ(readAll(dir.file("f.txt")), (std::vector<std::string>{"Пуля", "П"}));

    // Two UTF-8 bytes per letter: a 1251 line under the limit can decode to one over it, which
    // would be written back as a line no reader takes.
    const std::string letters(rt::kMaxLineBytes / 2 + 1, '\xE0');
    dir.write("g.txt", letters + "\r\n");
    rt::TextReader reader(dir.file("g.txt"));
    EXPECT_THROW(reader.readLine(), rt::LineTooLong);
}

TEST(TextReader, OpenFailuresCarryTheRuntimeTexts)
{
    TempDir dir;
    const auto e = thrown<rt::InOutError>([&] { rt::TextReader reader(dir.file("missing")); });
    ASSERT_TRUE(e) << "opened a missing file";
    EXPECT_STREQ(e->what(), "File not found");
    const auto folder = thrown<rt::NotRegularFile>([&] { rt::TextReader reader(dir.path()); });
    ASSERT_TRUE(folder) << "opened a folder";
    EXPECT_EQ(folder->what(), "'" + dir.path() + "' is not a regular file");
    try {
        rt::TextReader reader(dir.file("missing") + "/below");
    } catch (const rt::InOutError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
}

TEST(TextWriter, WritesCrLfLinesAndReplacesOnlyOnClose)
{
    TempDir dir;
    dir.write("f.txt", "old\r\n");
    {
        rt::TextWriter writer(dir.file("f.txt"));
        writer.writeLine("one");
        writer.writeLine("");
        writer.writeLine("три");
        EXPECT_EQ(readBytes(dir.file("f.txt")), "old\r\n");
        writer.close();
    }
    EXPECT_EQ(readBytes(dir.file("f.txt")), "one\r\n\r\nтри\r\n");
}

TEST(TextWriter, AbandonedWriteLeavesTheOldFileAndNoTemporary)
{
    TempDir dir;
    dir.write("f.txt", "old\r\n");
    {
        rt::TextWriter writer(dir.file("f.txt"));
        writer.writeLine(std::string(200000, 'x'));
    }
    EXPECT_EQ(readBytes(dir.file("f.txt")), "old\r\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(Errors, IoErrorTexts)
{
    EXPECT_EQ(rt::ioErrorText(ENOENT), "File not found");
    EXPECT_EQ(rt::ioErrorText(EACCES), "File access denied");
    EXPECT_EQ(rt::ioErrorText(EROFS), "File access denied");
    EXPECT_EQ(rt::ioErrorText(ENOSPC), "Disk full");
    EXPECT_EQ(rt::ioErrorText(EXDEV), "I/O error " + std::to_string(EXDEV));
}

} // namespace
