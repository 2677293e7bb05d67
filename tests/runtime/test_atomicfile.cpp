#include "runtime/atomicfile.h"
#include "runtime/errors.h"
#include "support/tempdir.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

mode_t modeOf(const std::string& path)
{
    struct stat st;
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

TEST(AtomicFile, KeepsThePermissionsOfTheFileItReplaces)
{
    TempDir dir;
    dir.write("f", "old");
    ::chmod(dir.file("f").c_str(), 0640);
    rt::AtomicFile file(dir.file("f"));
    file.write("new");
    file.commit();
    EXPECT_EQ(readBytes(dir.file("f")), "new");
    EXPECT_EQ(modeOf(dir.file("f")), 0640u);
}

TEST(AtomicFile, NewFileGetsTheUsualModeNotTheTemporaryOne)
{
    TempDir dir;
    const mode_t old = ::umask(022);
    rt::AtomicFile file(dir.file("f"));
    file.commit();
    ::umask(old);
    EXPECT_EQ(modeOf(dir.file("f")), 0644u);
}

TEST(AtomicFile, WritesThroughSymbolicLinksToTheirTarget)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("real"));
    dir.write("real/data", "old");
    std::filesystem::create_symlink("real/data", dir.file("link1"));
    std::filesystem::create_symlink(dir.file("link1"), dir.file("link2"));
    rt::AtomicFile file(dir.file("link2"));
    EXPECT_EQ(file.targetPath(), dir.file("real/data"));
    file.write("new");
    file.commit();
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link2")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link1")));
    EXPECT_EQ(readBytes(dir.file("real/data")), "new");
}

TEST(AtomicFile, DanglingLinkCreatesItsTarget)
{
    TempDir dir;
    std::filesystem::create_symlink("target", dir.file("link"));
    rt::AtomicFile file(dir.file("link"));
    file.write("x");
    file.commit();
    EXPECT_EQ(readBytes(dir.file("target")), "x");
}

TEST(AtomicFile, LinkLoopIsAnError)
{
    TempDir dir;
    std::filesystem::create_symlink("b", dir.file("a"));
    std::filesystem::create_symlink("a", dir.file("b"));
    EXPECT_THROW(rt::AtomicFile{dir.file("a")}, rt::InOutError);
}

TEST(AtomicFile, MissingFolderAndFolderTargetFail)
{
    TempDir dir;
    const auto e = thrown<rt::InOutError>([&] { rt::AtomicFile file(dir.file("no/such/f")); });
    ASSERT_TRUE(e);
    EXPECT_STREQ(e->what(), "File not found");
    EXPECT_THROW(rt::AtomicFile{dir.path()}, rt::InOutError);
}

} // namespace
