#include "app/forms.h"
#include "app/tform1.h"
#include "support/smallfs.h"
#include "support/ui/mainwindowfixture.h"
#include "table/currentfile.h"
#include "ui/gridview.h"

#include <QAction>
#include <QLabel>

#include <filesystem>
#include <fstream>

namespace {

class FileCommands : public MainWindowTest {
protected:
    void SetUp() override { start(""); }

    QString path(const char* name) const { return QString::fromStdString(dir.file(name)); }

    void threeShots()
    {
        fillVelocities({"300", "310", "290"}, "0,120");
        Form1->deviationPass(Form1->statisticsPass());
    }

    const std::string kThreeShotsFile = "1\r\n300\r\n5,4\r\n\r\n\r\n0,00\r\n"
                                        "2\r\n310\r\n5,77\r\n\r\n\r\n3,33\r\n"
                                        "3\r\n290\r\n5,05\r\n\r\n\r\n-3,33\r\n";
};

TEST_F(FileCommands, NewOnAnEmptyTableAsksNothingAndRedraws)
{
    table::setCurrentFileName("/x/y.vxm");
    Form1->New1->trigger();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(Form1->windowTitle(), "Vexorel!");
    EXPECT_EQ(redraws, 1);
}

TEST_F(FileCommands, NewClearsOnOkAndKeepsOnCancelButForgetsTheFileEitherWay)
{
    threeShots();
    table::setCurrentFileName("/x/y.vxm");
    prompter.messageAnswers = {ui::MessageResult::Cancel, ui::MessageResult::Ok};
    Form1->New1->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].caption, "New");
    EXPECT_EQ(prompter.messages[0].text, "Do you realy want clear all measurments?");
    EXPECT_EQ(prompter.messages[0].buttons, ui::MessageButtons::OkCancel);
    EXPECT_EQ(prompter.messages[0].icon, ui::MessageIcon::None);
    EXPECT_EQ(column(1), (std::vector<std::string>{"300", "310", "290"}));
    EXPECT_EQ(Form1->VmaxLabel->text(), "310");
    EXPECT_EQ(table::currentFileName(), "");
    EXPECT_EQ(redraws, 1);

    Form1->New1->trigger();
    EXPECT_EQ(Form1->table().rowCount(), 2u);
    EXPECT_EQ(column(1), (std::vector<std::string>{""}));
    EXPECT_EQ(labels(), QStringList(6, "###"));
    EXPECT_EQ(redraws, 2);
}

TEST_F(FileCommands, SaveAsThenOpenRoundTripsTheSession)
{
    threeShots();
    prompter.saveAnswers = {path("session")};
    Form1->SaveAs1->trigger();
    EXPECT_EQ(readBytes(dir.file("session.vxm")), kThreeShotsFile) << "default extension added";
    EXPECT_EQ(Form1->windowTitle(), path("session.vxm") + "     Vexorel!");
    EXPECT_EQ(prompter.saveAsked[0].filter, "Vexorel! Measurments (*.vxm)");
    EXPECT_EQ(prompter.saveAsked[0].defaultSuffix, "vxm");

    // Open over a non-empty table asks first; labels come from the file, E and dV as stored.
    dir.write("other.vxm", "1\r\n280\r\n####\r\n0,5\r\nB\r\n7,77\r\n");
    prompter.messageAnswers = {ui::MessageResult::Ok};
    prompter.openAnswers = {path("other.vxm")};
    Form1->Open1->trigger();
    EXPECT_EQ(prompter.messages[0].text, "Do you realy want close session without saving?");
    EXPECT_EQ(Form1->windowTitle(), path("other.vxm") + "     Vexorel!");
    EXPECT_EQ(column(2), (std::vector<std::string>{"####"}));
    EXPECT_EQ(column(5), (std::vector<std::string>{"7,77"}));
    EXPECT_EQ(labels(), (QStringList{"280", "280", "280,00", "####", "####", "####"}));
    EXPECT_EQ(redraws, 1);

    // Save right after Open writes back without a dialog.
    Form1->Save1->trigger();
    EXPECT_TRUE(prompter.saveAnswers.empty());
    EXPECT_EQ(readBytes(dir.file("other.vxm")), "1\r\n280\r\n####\r\n0,5\r\nB\r\n7,77\r\n");
}

TEST_F(FileCommands, OpenCancelledChangesNothingButRedraws)
{
    threeShots();
    prompter.messageAnswers = {ui::MessageResult::Cancel};
    Form1->Open1->trigger();
    EXPECT_TRUE(prompter.openAsked.empty());
    prompter.messageAnswers = {ui::MessageResult::Ok};
    prompter.openAnswers = {std::nullopt};
    Form1->Open1->trigger();
    EXPECT_EQ(column(1), (std::vector<std::string>{"300", "310", "290"}));
    EXPECT_EQ(redraws, 2);
}

TEST_F(FileCommands, OpenOfAMissingFileReportsAndLeavesTheNameAndAnEmptyTable)
{
    threeShots();
    prompter.messageAnswers = {ui::MessageResult::Ok};
    prompter.openAnswers = {path("missing.vxm")};
    Form1->Open1->trigger();
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text, "File not found");
    EXPECT_EQ(prompter.messages[1].caption, "Vexorel!");
    EXPECT_EQ(table::currentFileName(), dir.file("missing.vxm"));
    EXPECT_EQ(column(1), (std::vector<std::string>{""}));
    EXPECT_EQ(Form1->VmaxLabel->text(), "310") << "labels keep their earlier texts";
    EXPECT_EQ(redraws, 0);
}

TEST_F(FileCommands, OpenOfAnEmptyFileFailsInTheStatisticsPass)
{
    dir.write("empty.vxm", "");
    prompter.openAnswers = {path("empty.vxm")};
    Form1->Open1->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "'' is not a valid integer value");
    EXPECT_EQ(Form1->table().rowCount(), 2u);
    EXPECT_EQ(redraws, 0);
}

TEST_F(FileCommands, SavesRefuseAnEmptyTableEvenWithACurrentFile)
{
    table::setCurrentFileName(dir.file("keep.vxm"));
    for (QAction* a : {Form1->Save1, Form1->SaveAs1, Form1->SaveSelectedAs1})
        a->trigger();
    ASSERT_EQ(prompter.messages.size(), 3u);
    for (const auto& m : prompter.messages) {
        EXPECT_EQ(m.caption, "Vexorel!");
        EXPECT_EQ(m.text, "Measurments Grid is empty!");
        EXPECT_EQ(m.icon, ui::MessageIcon::None);
    }
    EXPECT_TRUE(prompter.saveAsked.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("keep.vxm")));
}

TEST_F(FileCommands, SaveSelectedAsKeepsTheCurrentFile)
{
    threeShots();
    table::setCurrentFileName(dir.file("whole.vxm"));
    Form1->Grid->selectRows(2, 3);
    prompter.saveAnswers = {path("part.vxm")};
    Form1->SaveSelectedAs1->trigger();
    EXPECT_EQ(readBytes(dir.file("part.vxm")),
              "1\r\n310\r\n5,77\r\n\r\n\r\n3,33\r\n2\r\n290\r\n5,05\r\n\r\n\r\n-3,33\r\n");
    EXPECT_EQ(table::currentFileName(), dir.file("whole.vxm"));
    Form1->Save1->trigger();
    EXPECT_EQ(readBytes(dir.file("whole.vxm")), kThreeShotsFile);
}

TEST_F(FileCommands, SaveWithoutAFileAsksAndSavingReplacesWithoutAQuestion)
{
    threeShots();
    dir.write("s.vxm", "old");
    prompter.saveAnswers = {path("s.vxm")};
    Form1->Save1->trigger();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(readBytes(dir.file("s.vxm")), kThreeShotsFile);
    EXPECT_EQ(table::currentFileName(), dir.file("s.vxm"));
}

TEST_F(FileCommands, ExitOffersToSave)
{
    Form1->show();
    threeShots();
    prompter.messageAnswers = {ui::MessageResult::Yes};
    prompter.saveAnswers = {std::nullopt};
    Form1->Exit1->trigger();
    EXPECT_EQ(prompter.messages[0].text,
              "Do you want save measurments before closing application?");
    EXPECT_EQ(prompter.messages[0].buttons, ui::MessageButtons::YesNo);
    EXPECT_TRUE(Form1->isVisible()) << "cancelled save dialog keeps the program open";

    prompter.messageAnswers = {ui::MessageResult::Yes};
    prompter.saveAnswers = {path("exit.vxm")};
    Form1->Exit1->trigger();
    EXPECT_EQ(readBytes(dir.file("exit.vxm")), kThreeShotsFile);
    EXPECT_FALSE(Form1->isVisible());
}

TEST_F(FileCommands, ExitAnsweredNoWritesNothing)
{
    Form1->show();
    threeShots();
    table::setCurrentFileName(dir.file("cur.vxm"));
    prompter.messageAnswers = {ui::MessageResult::No};
    Form1->Exit1->trigger();
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_FALSE(std::filesystem::exists(dir.file("cur.vxm")));
}

TEST_F(FileCommands, CloseBoxAsksNothing)
{
    Form1->show();
    threeShots();
    Form1->close();
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(FileCommands, FailedSaveReportsAndKeepsThePreviousFile)
{
    SmallFilesystem fs(16 * 1024);
    SKIP_UNLESS_MOUNTED(fs);
    std::ofstream(fs.path() + "/s.vxm") << "previous";
    fs.makeReadOnly();
    threeShots();
    Form1->show();
    prompter.messageAnswers = {ui::MessageResult::Yes};
    prompter.saveAnswers = {QString::fromStdString(fs.path() + "/s.vxm")};
    Form1->Exit1->trigger();
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text, "File access denied");
    EXPECT_TRUE(Form1->isVisible()) << "a failed save on Exit keeps the program open";
    EXPECT_EQ(readBytes(fs.path() + "/s.vxm"), "previous");
}

TEST_F(FileCommands, DeleteSelectedRenumbersAndRecomputes)
{
    fillVelocities({"300", "310", "290", "305", "320"}, "0,120");
    Form1->Grid->selectRows(2, 4);
    prompter.messageAnswers = {ui::MessageResult::Yes};
    Form1->DeleteSelected1->trigger();
    EXPECT_EQ(prompter.messages[0].caption, "New");
    EXPECT_EQ(prompter.messages[0].text, "Do you realy want delete selected measurments?");
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(column(1), (std::vector<std::string>{"300", "320"}));
    EXPECT_EQ(column(2), (std::vector<std::string>{"5,4", "6,14"}));
    EXPECT_EQ(column(5), (std::vector<std::string>{"-3,23", "3,23"}));
    EXPECT_EQ(Form1->VaLabel->text(), "310,00");
    EXPECT_EQ(redraws, 1);
}

TEST_F(FileCommands, DeleteSelectedRefusals)
{
    Form1->DeleteSelected1->trigger();
    fillVelocities({"300", "310"}, "0,120");
    Form1->Grid->selectRows(1, 2);
    Form1->DeleteSelected1->trigger();
    ASSERT_EQ(prompter.messages.size(), 2u);
    for (const auto& m : prompter.messages)
        EXPECT_EQ(m.text, "Measurments Grid is empty or you select all measurments!");
    Form1->Grid->selectRows(1, 1);
    prompter.messageAnswers = {ui::MessageResult::No};
    Form1->DeleteSelected1->trigger();
    EXPECT_EQ(column(1), (std::vector<std::string>{"300", "310"}));
    EXPECT_EQ(redraws, 0);
}

TEST_F(FileCommands, DeleteSelectedKeepsMoreThan256Rows)
{
    std::vector<const char*> v(600, "300");
    v[599] = "330";
    fillVelocities(v, "0,120");
    Form1->Grid->selectRows(1, 1);
    prompter.messageAnswers = {ui::MessageResult::Yes};
    Form1->DeleteSelected1->trigger();
    ASSERT_EQ(Form1->table().rowCount(), 600u);
    EXPECT_EQ(Form1->table().cell(0, 599), "599");
    EXPECT_EQ(Form1->table().cell(1, 599), "330");
}

} // namespace
