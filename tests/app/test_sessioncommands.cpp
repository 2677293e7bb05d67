// A string's details through the real window: imported, edited, a flyer excluded, kept in a
// session file and read back; and the question Save asks before a measurement file drops them.
#include "app/forms.h"
#include "app/shotstatisticspanel.h"
#include "app/tform1.h"
#include "chart/ui/chartwidget.h"
#include "session/ui/sessiondock.h"
#include "support/ui/mainwindowfixture.h"
#include "table/currentfile.h"
#include "ui/gridview.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

#include <filesystem>

namespace {

// A Xero string with a cold-bore shot and a note, 168 gr, in ft/s.
constexpr char kXero[] = "\"308 Win 168 SMK\"\r\n"
                         "#,SPEED (FPS),\xCE\x94 AVG (FPS),KE (FT-LB),POWER FACTOR,TIME,"
                         "CLEAN BORE,COLD BORE,SHOT NOTES\r\n"
                         "1, 2804.0, 2.5, 2932.6, 471.1, 9:41:02 AM, , X, \"first\"\r\n"
                         "2, 2780.4, -21.1, 2883.4, 467.1, 9:41:40 AM, , , \"\"\r\n"
                         "3, 2650.1, 18.6, 2966.2, 473.8, 9:42:15 AM, , , \"pulled\"\r\n"
                         "-,,,,,,\r\n"
                         "PROJECTILE WEIGHT (GRAINS),168.0,,,,,,,\r\n"
                         "SESSION NOTE,\"windy\",,,,,,,\r\n"
                         "DATE, \"May 11, 2024 at 9:40 AM\",,,,,\r\n";

class SessionCommands : public MainWindowTest {
protected:
    void SetUp() override
    {
        start("");
        dir.write("string.csv", kXero);
        prompter.openAnswers.push_back(QString::fromStdString(dir.file("string.csv")));
        Form1->Import1->trigger();
        ASSERT_TRUE(prompter.messages.empty());
    }

    QString path(const char* name) const { return QString::fromStdString(dir.file(name)); }
    void excludeRow(std::size_t row)
    {
        Form1->Grid->selectRows(row, row);
        Form1->ExcludeFromStatistics1->trigger();
    }
};

TEST_F(SessionCommands, AFlyerExcludedAndTheDetailsTypedComeBackFromTheSessionFile)
{
    EXPECT_EQ(Form1->SessionDock1->TitleEdit->text(), "308 Win 168 SMK");
    EXPECT_EQ(Form1->stringDetails().dateTime, "2024-05-11T09:40:00");
    EXPECT_EQ(Form1->stringDetails().notes, "windy");
    EXPECT_EQ(column(table::ColTime)[0], "2024-05-11T09:41:02");
    EXPECT_EQ(column(table::ColFlags)[0], "cold bore");
    EXPECT_EQ(column(table::ColNote)[2], "pulled");
    EXPECT_EQ(column(table::ColRecorded)[2], "2650.1 ft/s");

    const QStringList labelsBefore = labels();
    excludeRow(3);
    EXPECT_EQ(Form1->ShotStatisticsDock->ShotsValue->text(), "2");
    EXPECT_EQ(Form1->ShotStatisticsDock->ExcludedLabel->text(), "2 of 3 shots, 1 excluded");
    EXPECT_EQ(labels(), labelsBefore) << "the six labels stay over every row";
    EXPECT_TRUE(Form1->Grid->model()->index(2, 1).data(Qt::ForegroundRole).isValid());
    EXPECT_FALSE(Form1->Grid->model()->index(1, 1).data(Qt::ForegroundRole).isValid());
    EXPECT_EQ(Form1->ChartV->chart().series(0).hollowPoints(), std::vector<std::size_t>{2});

    Form1->SessionDock1->RifleEdit->setText("Tikka T3x");
    emit Form1->SessionDock1->RifleEdit->textEdited("Tikka T3x");
    EXPECT_TRUE(table::hasUnsavedChanges());

    prompter.saveAnswers = {path("string.vxs")};
    Form1->SaveAs1->trigger();
    ASSERT_TRUE(prompter.messages.empty());
    EXPECT_EQ(prompter.saveAsked.back().selectedFilter, TForm1::kSessionFilter)
        << "a session with details is offered as a session file";
    EXPECT_FALSE(table::hasUnsavedChanges());

    prompter.messageAnswers = {ui::MessageResult::Ok};
    Form1->New1->trigger();
    ASSERT_TRUE(table::isEmpty(Form1->table()));
    EXPECT_EQ(Form1->SessionDock1->RifleEdit->text(), "");

    prompter.openAnswers = {path("string.vxs")};
    Form1->Open1->trigger();
    EXPECT_EQ(Form1->stringDetails().rifle, "Tikka T3x");
    EXPECT_EQ(column(table::ColExcluded), (std::vector<std::string>{"", "", "1"}));
    EXPECT_EQ(column(table::ColNote)[0], "first");
    EXPECT_EQ(Form1->ShotStatisticsDock->ExcludedLabel->text(), "2 of 3 shots, 1 excluded");
    // The mean of the two included shots: (854,6592 + 847,46592) / 2 = 851,06 m/s.
    EXPECT_EQ(Form1->ShotStatisticsDock->MeanValue->text(), "851,1");
}

TEST_F(SessionCommands, DetailsFollowTheirRowsAndShowInTheirColumns)
{
    Form1->ShotDetails1->trigger();
    QAbstractItemModel* model = Form1->Grid->model();
    EXPECT_EQ(model->columnCount(), int(table::kShownDetailColumnCount));
    EXPECT_EQ(model->index(0, table::ColNote).data().toString(), "first");

    // Flags are typed as the known words and kept in their order.
    EXPECT_TRUE(model->setData(model->index(1, table::ColFlags), "Flyer, COLD BORE"));
    EXPECT_EQ(column(table::ColFlags)[1], "cold bore, flyer");
    EXPECT_FALSE(model->setData(model->index(1, table::ColFlags), "lucky"));
    EXPECT_EQ(column(table::ColFlags)[1], "cold bore, flyer");
    EXPECT_FALSE(model->flags(model->index(1, table::ColV)) & Qt::ItemIsEditable);

    excludeRow(3);
    Form1->Grid->selectRows(1, 1);
    prompter.messageAnswers = {ui::MessageResult::Yes};
    Form1->DeleteSelected1->trigger();
    EXPECT_EQ(column(table::ColN), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(column(table::ColNote), (std::vector<std::string>{"", "pulled"}));
    EXPECT_EQ(column(table::ColExcluded), (std::vector<std::string>{"", "1"}));

    Form1->ShotDetails1->trigger();
    EXPECT_EQ(Form1->Grid->model()->columnCount(), int(table::kColumnCount));
}

// Save onto a measurement file would drop the details: Yes keeps them in a session file of the
// same name, No saves the six columns, Cancel saves nothing.
TEST_F(SessionCommands, SaveAsksBeforeAMeasurementFileDropsTheDetails)
{
    prompter.saveAnswers = {path("string.vxm")};
    Form1->SaveAs1->trigger();
    prompter.saveAnswers.clear();
    ASSERT_TRUE(std::filesystem::exists(dir.file("string.vxm")));
    const std::string sixColumns = readBytes(dir.file("string.vxm"));

    struct Case {
        ui::MessageResult answer;
        bool vxsWritten;
    };
    for (const Case c : {Case{ui::MessageResult::Cancel, false}, Case{ui::MessageResult::No, false},
                         Case{ui::MessageResult::Yes, true}}) {
        std::filesystem::remove(dir.file("string.vxm"));
        table::setUnsavedChanges(true);
        prompter.messageAnswers = {c.answer};
        if (c.vxsWritten)
            prompter.saveAnswers = {path("string.vxs")};
        Form1->Save1->trigger();
        ASSERT_FALSE(prompter.messages.empty());
        EXPECT_TRUE(prompter.messages.back().text.contains("keeps no session details"));
        EXPECT_EQ(std::filesystem::exists(dir.file("string.vxm")),
                  c.answer == ui::MessageResult::No);
        EXPECT_EQ(std::filesystem::exists(dir.file("string.vxs")), c.vxsWritten);
    }
    EXPECT_EQ(prompter.saveAsked.back().fileName, "string.vxs") << "the name proposed";
    EXPECT_EQ(table::currentFileName(), dir.file("string.vxs"));

    // A measurement file written from the session file is the one written from the table.
    prompter.messageAnswers = {ui::MessageResult::Ok};
    prompter.openAnswers = {path("string.vxs")};
    Form1->Open1->trigger();
    prompter.saveAnswers = {path("again.vxm")};
    Form1->SaveAs1->trigger();
    EXPECT_EQ(readBytes(dir.file("again.vxm")), sixColumns);
}

} // namespace
