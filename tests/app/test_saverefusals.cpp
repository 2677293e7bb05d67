#include "app/forms.h"
#include "app/tform1.h"
#include "support/ui/mainwindowfixture.h"

#include <QAction>

#include <filesystem>
#include <set>
#include <string>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr uid_t kOtherUser = 65534;

// File › Save As through the real window onto targets a save must leave alone.
class SaveRefusals : public MainWindowTest {
protected:
    void SetUp() override
    {
        start("");
        fillVelocities({"300", "310"}, "0,120");
        Form1->deviationPass(Form1->statisticsPass());
    }

    // The texts of the messages Save As to `target` showed.
    std::vector<std::string> saveAs(const std::string& target)
    {
        prompter.messages.clear();
        prompter.saveAnswers = {QString::fromStdString(target)};
        Form1->SaveAs1->trigger();
        std::vector<std::string> texts;
        for (const auto& m : prompter.messages)
            texts.push_back(m.text.toStdString());
        return texts;
    }

    std::set<std::string> namesIn(const std::string& folder) const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }

    const std::vector<std::string> kDenied{"File access denied"};
};

TEST_F(SaveRefusals, AnotherUsersLinkInASharedStickyFolderIsNotFollowed)
{
    dir.write("private.vxm", "mine");
    std::filesystem::create_directory(dir.file("shared"));
    ::chmod(dir.file("shared").c_str(), 01777);
    std::filesystem::create_symlink(dir.file("private.vxm"), dir.file("shared/s.vxm"));
    if (::lchown(dir.file("shared/s.vxm").c_str(), kOtherUser, kOtherUser) != 0)
        GTEST_SKIP() << "cannot give a link to another user here";

    EXPECT_EQ(saveAs(dir.file("shared/s.vxm")), kDenied);
    EXPECT_EQ(readBytes(dir.file("private.vxm")), "mine");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("shared/s.vxm")));
    EXPECT_EQ(namesIn(dir.file("shared")), std::set<std::string>{"s.vxm"});
}

TEST_F(SaveRefusals, AFifoIsNotReplacedByAPlainFile)
{
    ASSERT_EQ(::mkfifo(dir.file("pipe.vxm").c_str(), 0666), 0);
    EXPECT_EQ(saveAs(dir.file("pipe.vxm")), kDenied);
    struct stat st;
    ASSERT_EQ(::lstat(dir.file("pipe.vxm").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"Bullets.vx!", "pipe.vxm"}));
}

// Root may write any file; the save runs with another user's file-system identity, which
// only this thread takes on.
TEST_F(SaveRefusals, AReadOnlyFileIsRefusedAsAPlainWriteWouldRefuseIt)
{
    dir.write("s.vxm", "previous");
    ::chmod(dir.path().c_str(), 0777);
    ::chmod(dir.file("s.vxm").c_str(), 0444);
    std::vector<std::string> texts;
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(dir.file("s.vxm").c_str(), kOtherUser, kOtherUser), 0);
        ::setfsuid(kOtherUser);
        texts = saveAs(dir.file("s.vxm"));
        ::setfsuid(0);
    } else {
        texts = saveAs(dir.file("s.vxm"));
    }
    EXPECT_EQ(texts, kDenied);
    EXPECT_EQ(readBytes(dir.file("s.vxm")), "previous");
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"Bullets.vx!", "s.vxm"}));
}

TEST_F(SaveRefusals, ANameNearTheFileSystemsLimitSaves)
{
    const std::string name = std::string(244, 'n') + ".vxm";
    EXPECT_TRUE(saveAs(dir.file(name)).empty());
    EXPECT_EQ(readBytes(dir.file(name)).substr(0, 8), "1\r\n300\r\n");
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"Bullets.vx!", name}));
}

} // namespace
