#include "app/forms.h"
#include "app/tform1.h"
#include "chart/ui/chartwidget.h"
#include "runtime/decimalseparator.h"
#include "support/smallfs.h"
#include "support/ui/mainwindowfixture.h"
#include "table/currentfile.h"
#include "ui/gridview.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

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

    // Delete Selected on four shots leaves three with changes in no file.
    void threeShotsAfterADeletion()
    {
        fillVelocities({"300", "310", "320", "290"}, "0,120");
        Form1->Grid->selectRows(3, 3);
        prompter.messageAnswers.push_back(ui::MessageResult::Yes);
        Form1->DeleteSelected1->trigger();
        prompter.messages.clear();
        redraws = 0;
    }

    // Acts on the real message box the next command shows, once it is up, and keeps what
    // it showed.
    struct ShownBox {
        QString caption;
        QString text;
        QMessageBox::StandardButtons buttons;
    };
    void actOnRealBox(std::optional<ShownBox>& shown, std::function<void(QMessageBox*)> act)
    {
        QTimer::singleShot(0, Form1, [&shown, act = std::move(act)] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            shown = ShownBox{box->windowTitle(), box->text(), box->standardButtons()};
            act(box);
        });
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
    EXPECT_EQ(prompter.saveAsked[0].filter,
              "Vexorel! Measurments (*.vxm);;Vexorel! Session (*.vxs)");
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

// A radar's session written on a machine with a comma, opened where the point is the
// separator. By hand: V a = (300 + 285.5 + 290) / 3 = 291.83, V min 285.5 -> 286; E a =
// (5.4 + 4.89 + 5.05) / 3 = 5.11; the selection's mean (285.5 + 290) / 2 = 287.75 and
// 2.25 / 287.75 * 100 = 0.78; 285.5 m/s is 936.68 ft/s.
TEST_F(FileCommands, OpenAndSaveSelectedAsWithADecimalVelocity)
{
    rt::setDecimalSeparator('.');
    dir.write("radar.vxm", "1\r\n300\r\n5,4\r\n0,120\r\nJSB\r\n2,80\r\n"
                           "2\r\n285,5\r\n4,89\r\n0,120\r\nJSB\r\n-2,17\r\n"
                           "3\r\n290\r\n5,05\r\n0,120\r\nJSB\r\n-0,63\r\n");
    prompter.openAnswers = {path("radar.vxm")};
    Form1->Open1->trigger();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(column(1), (std::vector<std::string>{"300", "285,5", "290"}));
    EXPECT_EQ(labels(), (QStringList{"300", "286", "291.83", "5.40", "4.89", "5.11"}));
    EXPECT_EQ(column(5), (std::vector<std::string>{"2,80", "-2,17", "-0,63"})) << "as stored";
    EXPECT_EQ(redraws, 1);

    Form1->Grid->selectRows(2, 3);
    prompter.saveAnswers = {path("part.vxm")};
    Form1->SaveSelectedAs1->trigger();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(readBytes(dir.file("part.vxm")), "1\r\n285,5\r\n4,89\r\n0,120\r\nJSB\r\n-0.78\r\n"
                                               "2\r\n290\r\n5,05\r\n0,120\r\nJSB\r\n0.78\r\n");

    Form1->Imperial1->trigger();
    EXPECT_EQ(Form1->VminLabel->text(), "937");
    EXPECT_EQ(Form1->Grid->model()->index(1, 1).data().toString(), "936.7");
    // The column shows one decimal throughout, as its decimal velocity needs.
    EXPECT_EQ(Form1->Grid->model()->index(2, 1).data().toString(), "951.4");
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
    EXPECT_EQ(prompter.messages[0].buttons, ui::MessageButtons::YesNoCancel);
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

// Exit closes the window itself; that close must not ask a second time.
TEST_F(FileCommands, ExitQuestionHasCancelAndIsAskedOnce)
{
    Form1->show();
    threeShotsAfterADeletion();
    table::setCurrentFileName(dir.file("cur.vxm"));
    prompter.messageAnswers = {ui::MessageResult::Cancel, ui::MessageResult::No};
    Form1->Exit1->trigger();
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_EQ(column(1), (std::vector<std::string>{"300", "310", "290"}));
    EXPECT_TRUE(table::hasUnsavedChanges());
    Form1->Exit1->trigger();
    EXPECT_EQ(prompter.messages.size(), 2u);
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_FALSE(std::filesystem::exists(dir.file("cur.vxm")));

    Form1->show();
    prompter.messageAnswers = {ui::MessageResult::Yes};
    Form1->Exit1->trigger();
    EXPECT_EQ(prompter.messages.size(), 3u);
    EXPECT_EQ(readBytes(dir.file("cur.vxm")), kThreeShotsFile);
    EXPECT_FALSE(Form1->isVisible());
}

TEST_F(FileCommands, EscOrClosingTheRealQuestionKeepsTheProgramOpen)
{
    Form1->show();
    threeShotsAfterADeletion();
    ui::setPrompter(nullptr);
    std::optional<ShownBox> shown;
    actOnRealBox(shown, [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    Form1->Exit1->trigger();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->caption, "New");
    EXPECT_EQ(shown->text, "Do you want save measurments before closing application?");
    EXPECT_EQ(shown->buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_TRUE(Form1->isVisible()) << "Esc";

    shown.reset();
    actOnRealBox(shown, [](QMessageBox* box) { box->close(); });
    Form1->Exit1->trigger();
    ASSERT_TRUE(shown);
    EXPECT_TRUE(Form1->isVisible()) << "closing the question";

    shown.reset();
    actOnRealBox(shown, [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    Form1->close();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_TRUE(Form1->isVisible()) << "Esc on the close box's question";
    ui::setPrompter(&prompter);
    EXPECT_EQ(column(1), (std::vector<std::string>{"300", "310", "290"}));
}

TEST_F(FileCommands, CloseBoxAsksOnlyWhenChangesWouldBeLost)
{
    Form1->show();
    threeShotsAfterADeletion();
    prompter.messageAnswers = {ui::MessageResult::Cancel, ui::MessageResult::Yes};
    prompter.saveAnswers = {std::nullopt};
    Form1->close();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].caption, "New");
    EXPECT_EQ(prompter.messages[0].text,
              "Do you want save measurments before closing application?");
    EXPECT_EQ(prompter.messages[0].buttons, ui::MessageButtons::YesNoCancel);
    EXPECT_TRUE(Form1->isVisible());
    Form1->close();
    EXPECT_TRUE(Form1->isVisible()) << "Yes, then the save dialog cancelled";

    prompter.messageAnswers = {ui::MessageResult::No};
    Form1->close();
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(prompter.saveAsked.size(), 1u) << "No saves nothing";

    Form1->show();
    prompter.messageAnswers = {ui::MessageResult::Yes};
    prompter.saveAnswers = {path("closed.vxm")};
    Form1->close();
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(readBytes(dir.file("closed.vxm")), kThreeShotsFile);
    EXPECT_EQ(table::currentFileName(), dir.file("closed.vxm"));

    // Saved: the close box closes at once.
    Form1->show();
    Form1->close();
    EXPECT_EQ(prompter.messages.size(), 4u);
    EXPECT_FALSE(Form1->isVisible());
}

TEST_F(FileCommands, CloseBoxKeepsTheProgramOpenWhenTheSaveFails)
{
    Form1->show();
    threeShotsAfterADeletion();
    table::setCurrentFileName(dir.file("gone/cur.vxm"));
    prompter.messageAnswers = {ui::MessageResult::Yes};
    Form1->close();
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text, "File not found");
    EXPECT_EQ(prompter.messages[1].icon, ui::MessageIcon::Critical);
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_TRUE(table::hasUnsavedChanges());
}

TEST_F(FileCommands, UnsavedChangesFollowTheCommands)
{
    Form1->setWeightText("0,547");
    fillVelocities({"300", "310", "320", "290"}, "0,120");
    EXPECT_FALSE(table::hasUnsavedChanges());

    const auto deleteRow = [this] {
        Form1->Grid->selectRows(1, 1);
        prompter.messageAnswers.push_back(ui::MessageResult::Yes);
        Form1->DeleteSelected1->trigger();
    };
    deleteRow();
    EXPECT_TRUE(table::hasUnsavedChanges()) << "Delete Selected";
    prompter.saveAnswers = {path("a.vxm")};
    Form1->SaveAs1->trigger();
    EXPECT_FALSE(table::hasUnsavedChanges()) << "Save As";

    Form1->Grid->selectRows(1, 1);
    Form1->SpeedButton1->click();
    EXPECT_EQ(Form1->table().cell(3, 1), "0,547");
    EXPECT_TRUE(table::hasUnsavedChanges()) << "Apply changes";
    prompter.saveAnswers = {path("part.vxm")};
    Form1->SaveSelectedAs1->trigger();
    EXPECT_TRUE(table::hasUnsavedChanges()) << "Save Selected As";
    prompter.messageAnswers = {ui::MessageResult::Cancel};
    Form1->New1->trigger();
    EXPECT_TRUE(table::hasUnsavedChanges()) << "New answered Cancel";
    prompter.saveAnswers = {path("missing/b.vxm")};
    Form1->Save1->trigger();
    EXPECT_TRUE(table::hasUnsavedChanges()) << "a failed Save";
    prompter.saveAnswers = {path("b.vxm")};
    Form1->Save1->trigger();
    EXPECT_FALSE(table::hasUnsavedChanges()) << "Save";

    deleteRow();
    Form1->Save1->trigger();
    EXPECT_FALSE(table::hasUnsavedChanges()) << "Save to the current file";

    deleteRow();
    prompter.messageAnswers = {ui::MessageResult::Ok};
    prompter.openAnswers = {path("a.vxm")};
    Form1->Open1->trigger();
    EXPECT_FALSE(table::hasUnsavedChanges()) << "Open";

    deleteRow();
    prompter.messageAnswers = {ui::MessageResult::Ok};
    Form1->New1->trigger();
    EXPECT_FALSE(table::hasUnsavedChanges()) << "New";
    EXPECT_EQ(prompter.messages.size(), 8u) << "no error on the way but the failed Save's";
}

// After a failed save the caption must not name a file that holds nothing of the table.
TEST_F(FileCommands, FailedSaveLeavesTheCurrentFileAndCaption)
{
    threeShots();
    prompter.saveAnswers = {path("missing/s.vxm")};
    Form1->SaveAs1->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "File not found");
    EXPECT_EQ(table::currentFileName(), "");
    EXPECT_EQ(Form1->windowTitle(), "Vexorel!");

    // Save still has no file and asks; the one chosen then becomes current.
    prompter.saveAnswers = {path("missing/s.vxm"), path("good.vxm")};
    Form1->Save1->trigger();
    EXPECT_EQ(table::currentFileName(), "");
    Form1->Save1->trigger();
    EXPECT_EQ(prompter.saveAsked.size(), 3u);
    EXPECT_EQ(Form1->windowTitle(), path("good.vxm") + "     Vexorel!");

    // Save As failing keeps the previous current file, where the next Save goes.
    prompter.saveAnswers = {path("missing/t.vxm")};
    Form1->SaveAs1->trigger();
    EXPECT_EQ(table::currentFileName(), dir.file("good.vxm"));
    EXPECT_EQ(Form1->windowTitle(), path("good.vxm") + "     Vexorel!");
    std::filesystem::remove(dir.file("good.vxm"));
    Form1->Save1->trigger();
    EXPECT_EQ(prompter.saveAsked.size(), 4u);
    EXPECT_EQ(readBytes(dir.file("good.vxm")), kThreeShotsFile);

    // Exit's save failing keeps the program open without a current file.
    Form1->show();
    table::setCurrentFileName("");
    prompter.messageAnswers = {ui::MessageResult::Yes};
    prompter.saveAnswers = {path("missing/u.vxm")};
    Form1->Exit1->trigger();
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_EQ(table::currentFileName(), "");
    EXPECT_EQ(Form1->windowTitle(), "Vexorel!");
}

TEST_F(FileCommands, OpenRefusesAFileThatIsNotAMeasurementFile)
{
    threeShotsAfterADeletion();
    table::setCurrentFileName(dir.file("cur.vxm"));
    const QStringList labelsBefore = labels();
    const std::size_t pointsBefore = Form1->ChartV->chart().series(0).count();
    struct Case {
        const char* name;
        std::string bytes;
        int line;
    };
    const Case cases[] = {
        {"shots.csv", "N;V;E\r\n1;300;5,4\r\n", 1},
        {"photo.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 1},
        {"notes.vxm", "1\r\n300\r\n5,4\r\n0,5\r\nB\r\n0,00\r\nsecond try\r\n", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write(c.name, c.bytes);
        prompter.messages.clear();
        prompter.messageAnswers = {ui::MessageResult::Ok};
        prompter.openAnswers = {path(c.name)};
        Form1->Open1->trigger();
        ASSERT_EQ(prompter.messages.size(), 2u);
        EXPECT_EQ(prompter.messages[1].caption, "Vexorel!");
        EXPECT_EQ(prompter.messages[1].text,
                  QStringLiteral("'%1' is not a measurement file (line %2)")
                      .arg(path(c.name))
                      .arg(c.line));
        EXPECT_EQ(prompter.messages[1].icon, ui::MessageIcon::None);
        EXPECT_EQ(prompter.messages[1].buttons, ui::MessageButtons::Ok);
        EXPECT_EQ(column(1), (std::vector<std::string>{"300", "310", "290"}));
        EXPECT_EQ(labels(), labelsBefore);
        EXPECT_EQ(Form1->ChartV->chart().series(0).count(), pointsBefore);
        EXPECT_EQ(redraws, 0);
        EXPECT_EQ(Form1->windowTitle(), path("cur.vxm") + "     Vexorel!");
        EXPECT_TRUE(table::hasUnsavedChanges());
    }
    // A following Save goes to the session's own file, never over the refused one.
    Form1->Save1->trigger();
    EXPECT_EQ(readBytes(dir.file("cur.vxm")), kThreeShotsFile);
    EXPECT_EQ(readBytes(dir.file("shots.csv")), "N;V;E\r\n1;300;5,4\r\n");
}

// "*.vxm" stays the first filter; session files, files named in capitals and files of other
// kinds can be found too. The save dialog offers both kinds of file.
TEST_F(FileCommands, OpenDialogOffersAllFilesAndBothLetterCases)
{
    prompter.openAnswers = {std::nullopt};
    Form1->Open1->trigger();
    ASSERT_EQ(prompter.openAsked.size(), 1u);
    EXPECT_EQ(prompter.openAsked[0].filter,
              "Vexorel! Measurments (*.vxm *.VXM);;Vexorel! Sessions and Measurments (*.vxs *.vxm "
              "*.VXS *.VXM);;Vexorel! Session (*.vxs *.VXS);;Chronograph exports (*.csv *.CSV "
              "*.txt *.TXT *.fit *.FIT);;All files (*)");
    EXPECT_EQ(Form1->SaveDialog1.filter, "Vexorel! Measurments (*.vxm);;Vexorel! Session (*.vxs)");
}

// Open and Add Series share their folder and name, but Open always starts on the sessions'
// entry, whose extension a name typed without one gets.
TEST_F(FileCommands, OpenAfterAddSeriesOfAnExportStartsOnSessionsAndTheirExtension)
{
    std::filesystem::create_directory(dir.file("range"));
    dir.write("range/string.csv", "V (m/s)\r\n300\r\n310\r\n");
    dir.write("range/mar07.vxm", kThreeShotsFile);
    prompter.openAnswers.push_back(path("range/string.csv"));
    Form1->AddSeries1->trigger();
    ASSERT_EQ(Form1->ListBox1->count(), 1);
    EXPECT_TRUE(Form1->OpenDialog1.selectedFilter.startsWith("Chronograph exports"));

    prompter.openAnswers.push_back(path("range/mar07"));
    Form1->Open1->trigger();
    ASSERT_EQ(prompter.openAsked.size(), 2u);
    const ui::FileDialogState& asked = prompter.openAsked[1];
    EXPECT_EQ(asked.selectedFilter, "") << "the first entry, the sessions'";
    EXPECT_EQ(asked.directory, path("range"));
    EXPECT_EQ(asked.fileName, "string.csv");
    EXPECT_TRUE(prompter.messages.empty()) << prompter.messages[0].text.toStdString();
    EXPECT_EQ(table::currentFileName(), dir.file("range/mar07.vxm"));
    EXPECT_EQ(column(1), (std::vector<std::string>{"300", "310", "290"}));

    // Add Series again starts where Open left the dialog.
    prompter.openAnswers.push_back(std::nullopt);
    Form1->AddSeries1->trigger();
    EXPECT_EQ(prompter.openAsked[2].fileName, "mar07.vxm");
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
