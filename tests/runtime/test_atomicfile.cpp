#include "runtime/atomicfile.h"
#include "runtime/errors.h"
#include "support/tempdir.h"
#include "support/thrown.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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

// Someone who is neither this process's user nor root.
constexpr uid_t kOtherUser = 65534;
constexpr gid_t kOtherGroup = 65534;

std::set<std::string> namesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

std::optional<rt::InOutError> saveError(const std::string& path, std::string_view bytes = "new")
{
    return thrown<rt::InOutError>([&] {
        rt::AtomicFile file(path);
        file.write(bytes);
        file.commit();
    });
}

// A folder like /tmp: sticky and open to everyone.
std::string stickyFolder(const TempDir& dir, const char* name)
{
    std::filesystem::create_directory(dir.file(name));
    ::chmod(dir.file(name).c_str(), 01777);
    return dir.file(name);
}

bool giveAway(const std::string& path)
{
    return ::lchown(path.c_str(), kOtherUser, kOtherGroup) == 0;
}

TEST(AtomicFile, AnotherUsersLinkInAStickyFolderIsNotFollowed)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("victim"));
    dir.write("victim/private", "secret");
    const std::string shared = stickyFolder(dir, "shared");
    std::filesystem::create_symlink(dir.file("victim/private"), shared + "/trap");
    std::filesystem::create_symlink(dir.file("victim/absent"), shared + "/dangling");
    std::filesystem::create_symlink(dir.file("victim"), shared + "/folder");
    for (const char* link : {"trap", "dangling", "folder"}) {
        if (!giveAway(shared + "/" + link))
            GTEST_SKIP() << "cannot give a link to another user here";
    }

    for (const char* target : {"trap", "dangling", "folder/private"}) {
        const auto e = saveError(shared + "/" + target);
        ASSERT_TRUE(e) << target;
        EXPECT_STREQ(e->what(), "File access denied") << target;
    }
    EXPECT_EQ(readBytes(dir.file("victim/private")), "secret");
    EXPECT_EQ(namesIn(dir.file("victim")), std::set<std::string>{"private"});
    EXPECT_EQ(namesIn(shared), (std::set<std::string>{"dangling", "folder", "trap"}));
    EXPECT_TRUE(std::filesystem::is_symlink(shared + "/trap"));
}

TEST(AtomicFile, OwnLinksAndTheFolderOwnersLinksAreFollowedAsBefore)
{
    TempDir dir;
    dir.write("data", "old");
    const std::string shared = stickyFolder(dir, "shared");
    std::filesystem::create_symlink(dir.file("data"), shared + "/mine");
    EXPECT_FALSE(saveError(shared + "/mine", "mine"));
    EXPECT_EQ(readBytes(dir.file("data")), "mine");

    // The folder's owner put the link there: trusted like the folder itself.
    const std::string owned = stickyFolder(dir, "owned");
    std::filesystem::create_symlink(dir.file("data"), owned + "/owners");
    if (!giveAway(owned) || !giveAway(owned + "/owners"))
        GTEST_SKIP() << "cannot give files to another user here";
    EXPECT_FALSE(saveError(owned + "/owners", "owners"));
    EXPECT_EQ(readBytes(dir.file("data")), "owners");

    // Outside a sticky folder whoever may plant the link may replace the file anyway.
    std::filesystem::create_directory(dir.file("open"));
    ::chmod(dir.file("open").c_str(), 0777);
    std::filesystem::create_symlink(dir.file("data"), dir.file("open/theirs"));
    ASSERT_TRUE(giveAway(dir.file("open/theirs")));
    EXPECT_FALSE(saveError(dir.file("open/theirs"), "theirs"));
    EXPECT_EQ(readBytes(dir.file("data")), "theirs");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("open/theirs")));
}

TEST(AtomicFile, OnlyRegularFilesAreReplaced)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0666), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = dir.file("socket");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    std::set<std::string> specials{"fifo", "socket"};
    // The null device's own numbers: a node of it here is harmless whatever happens.
    if (::mknod(dir.file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        specials.insert("null");
    std::filesystem::create_symlink("fifo", dir.file("link"));
    specials.insert("link");

    for (const auto& name : specials) {
        const auto e = saveError(dir.file(name));
        ASSERT_TRUE(e) << name;
        EXPECT_STREQ(e->what(), "File access denied") << name;
    }
    ::close(sock);
    struct stat st;
    ASSERT_EQ(::lstat(dir.file("fifo").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_EQ(::lstat(dir.file("socket").c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    if (specials.count("null")) {
        ASSERT_EQ(::lstat(dir.file("null").c_str(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode));
    }
    EXPECT_EQ(namesIn(dir.path()), specials);
}

// Root writes any file, so the rule is seen as another user: the child gives up root first.
TEST(AtomicFile, FileTheUserMayNotWriteIsRefusedAsAPlainWriteWouldBe)
{
    TempDir dir;
    ::chmod(dir.path().c_str(), 0777);
    dir.write("readonly", "old");
    dir.write("writable", "old");
    ::chmod(dir.file("readonly").c_str(), 0444);
    ::chmod(dir.file("writable").c_str(), 0644);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_TRUE(giveAway(dir.file("readonly")));
        ASSERT_TRUE(giveAway(dir.file("writable")));
    }

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (root && (::setgid(kOtherGroup) != 0 || ::setuid(kOtherUser) != 0))
            ::_exit(10);
        const auto refused = saveError(dir.file("readonly"));
        if (!refused)
            ::_exit(11);
        if (std::string(refused->what()) != "File access denied")
            ::_exit(12);
        ::_exit(saveError(dir.file("writable")) ? 13 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: no other user, 11: replaced, 12: other text, "
                                         "13: writable file refused";
    EXPECT_EQ(readBytes(dir.file("readonly")), "old");
    EXPECT_EQ(modeOf(dir.file("readonly")), 0444u);
    EXPECT_EQ(readBytes(dir.file("writable")), "new");
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"readonly", "writable"}));

    if (root) {
        // As for open(): the mode bits do not stop root.
        EXPECT_FALSE(saveError(dir.file("readonly"), "root"));
        EXPECT_EQ(readBytes(dir.file("readonly")), "root");
    }
}

TEST(AtomicFile, NamesUpToTheLimitGetAShorterTemporary)
{
    TempDir dir;
    std::string wide;
    while (wide.size() < 254)
        wide += "\xc3\xa9";
    wide += "x";
    const std::vector<std::string> names{std::string(248, 'a'), std::string(255, 'b'), wide};
    dir.write(names[1], "old");
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto e = saveError(dir.file(names[i]), std::to_string(i));
        EXPECT_FALSE(e) << "name " << i << ": " << e->what();
        EXPECT_EQ(readBytes(dir.file(names[i])), std::to_string(i));
    }
    EXPECT_TRUE(namesIn(dir.path()) == std::set<std::string>(names.begin(), names.end()))
        << namesIn(dir.path()).size() << " files, a temporary left behind or a name changed";
}

} // namespace
