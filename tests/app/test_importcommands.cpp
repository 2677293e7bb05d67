#include "app/forms.h"
#include "app/shotstatisticspanel.h"
#include "app/tform1.h"
#include "chart/ui/chartwidget.h"
#include "imports/ui/seriesdialog.h"
#include "imports/ui/unitdialog.h"
#include "imports/ui/weightdialog.h"
#include "support/ui/mainwindowfixture.h"
#include "table/currentfile.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTreeWidget>

namespace {

// The example string of a Garmin Xero export: 168 gr bullets, velocities in ft/s.
constexpr char kGarmin[] =
    "\"308 Win 168 SMK\"\r\n"
    "#,SPEED (FPS),\xCE\x94 AVG (FPS),KE (FT-LB),POWER FACTOR (KGR\xE2\x8B\x85"
    "FT/S),TIME,CLEAN BORE,COLD BORE,SHOT NOTES\r\n"
    "1, 2804.0, 2.5, 2932.6, 471.1, 9:41:02 AM, , , \"\" \r\n"
    "2, 2780.4, -21.1, 2883.4, 467.1, 9:41:40 AM, , , \"\" \r\n"
    "3, 2820.1, 18.6, 2966.2, 473.8, 9:42:15 AM, , , \"\" \r\n"
    "-,,,,,,\r\n"
    "AVERAGE SPEED,2801.5,,,,,,,\r\n"
    "PROJECTILE WEIGHT (GRAINS),168.0,,,,,,,\r\n";

constexpr char kMagnetoSpeed[] = "Series,12, Shots:, 2\r\n"
                                 "Min, 801, Max, 812  \r\n"
                                 "Avg, 806 ,S-D, 5.6  \r\n"
                                 "ES ,  11\r\n"
                                 "\r\n"
                                 "Series,Shot,Speed   \r\n"
                                 "12, 1,  801, m/s    \r\n"
                                 "12, 2,  812, m/s    \r\n"
                                 "----,----,----,---- \r\n"
                                 "Series,13, Shots:, 3\r\n"
                                 "Min, 790, Max, 800  \r\n"
                                 "Avg, 795 ,S-D, 5.0  \r\n"
                                 "ES ,  10\r\n"
                                 "\r\n"
                                 "Series,Shot,Speed   \r\n"
                                 "13, 1,  790, m/s    \r\n"
                                 "13, 2,  795, m/s    \r\n"
                                 "13, 3,  800, m/s    \r\n"
                                 "----,----,----,---- \r\n";

// A LabRadar series report of headers and no shots.
constexpr char kNoShots[] = "sep=;\r\nDevice ID;LBR-0012345;;\r\n\r\nSeries No;0001;;\r\n"
                            "Total number of shots;0000;;\r\n\r\nUnits velocity;m/s;;\r\n"
                            "Units distances;m;;\r\nUnits kinetic energy;j;;\r\n"
                            "Units weight;gram;;\r\n\r\n"
                            "Shot ID;V0;V10.00;Ke0;Proj. Weight;Date;Time\r\n";

class ImportCommands : public MainWindowTest {
protected:
    void SetUp() override { start(""); }

    void import(const char* name, const std::string& bytes)
    {
        dir.write(name, bytes);
        prompter.openAnswers.push_back(QString::fromStdString(dir.file(name)));
        Form1->Import1->trigger();
    }

    QStringList shownMessages() const
    {
        QStringList texts;
        for (const auto& m : prompter.messages)
            texts << m.text;
        return texts;
    }
};

TEST_F(ImportCommands, GarminStringReplacesTheTableInMetresPerSecondAsAnUnsavedSession)
{
    EXPECT_EQ(Form1->Import1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    table::setCurrentFileName("/old/session.vxm");
    import("string.csv", kGarmin);

    ASSERT_TRUE(prompter.messages.empty()) << shownMessages().join('\n').toStdString();
    // Patterns in both letter cases: GTK's dialogs tell them apart.
    EXPECT_EQ(prompter.openAsked.back().filter,
              "Chronograph exports (*.csv *.CSV *.txt *.TXT);;All files (*)");
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "3"}));
    // 2804.0 ft/s is exactly 854,6592 m/s: every digit is kept.
    EXPECT_EQ(column(1), (std::vector<std::string>{"854,6592", "847,46592", "859,56648"}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"10,886", "10,886", "10,886"}));
    EXPECT_EQ(column(4), (std::vector<std::string>(3, "308 Win 168 SMK")));
    // E = 10,886 g x 854,6592^2 / 2000 in whole joules; dV against the mean of the three.
    EXPECT_EQ(column(2)[0], "3976");
    EXPECT_EQ(column(5)[1], "-0,75");
    EXPECT_EQ(labels()[0], "860");
    EXPECT_EQ(Form1->ShotStatisticsDock->ShotsValue->text(), "3");

    EXPECT_EQ(Form1->windowTitle(), "Vexorel!");
    EXPECT_TRUE(table::hasUnsavedChanges());
    // Save has no file to go to: it asks for a name.
    prompter.saveAnswers.push_back(std::nullopt);
    Form1->Save1->trigger();
    EXPECT_EQ(prompter.saveAsked.size(), 1u);
}

TEST_F(ImportCommands, QuestionsLeaveTheTableAsItWasWhenCancelled)
{
    fillVelocities({"300", "310"}, "0,547");
    // The table holds shots: Open's question first.
    prompter.messageAnswers.push_back(ui::MessageResult::Cancel);
    Form1->Import1->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Do you realy want close session without saving?");
    EXPECT_TRUE(prompter.openAsked.empty());

    // The series dialog cancelled.
    prompter.messageAnswers.push_back(ui::MessageResult::Ok);
    prompter.onModal = [](QDialog*) { return int(QDialog::Rejected); };
    import("LOG.CSV", kMagnetoSpeed);
    EXPECT_EQ(column(1), (std::vector<std::string>{"300", "310"}));

    // A file of no known kind: the message names the formats, the table stays.
    prompter.messages.clear();
    prompter.messageAnswers.push_back(ui::MessageResult::Ok);
    import("notes.txt", "Dear diary\r\nwindy today\r\n");
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_TRUE(prompter.messages[1].text.contains("is not a chronograph export (line 1)"));
    EXPECT_TRUE(prompter.messages[1].text.contains("MagnetoSpeed"));
    EXPECT_EQ(column(1), (std::vector<std::string>{"300", "310"}));
}

TEST_F(ImportCommands, MagnetoSpeedSeriesIsChosenInTheDialog)
{
    QStringList listed;
    prompter.onModal = [&](QDialog* dialog) {
        auto* series = qobject_cast<SeriesDialog*>(dialog);
        if (!series)
            return int(qobject_cast<WeightDialog*>(dialog) ? QDialog::Accepted : QDialog::Rejected);
        for (int i = 0; i < series->list()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = series->list()->topLevelItem(i);
            listed << item->text(0) + "|" + item->text(1) + "|" + item->text(2);
        }
        series->choose(1);
        return int(QDialog::Accepted);
    };
    import("LOG.CSV", kMagnetoSpeed);
    EXPECT_EQ(listed, (QStringList{"Series 12|2|801", "Series 13|3|790"}));
    EXPECT_EQ(column(1), (std::vector<std::string>{"790", "795", "800"}));
    EXPECT_EQ(column(4)[0], "Series 13");
    // No weight in the file, and none given for it.
    EXPECT_EQ(column(3)[0], "");
    EXPECT_EQ(column(2)[0], "####");
}

TEST_F(ImportCommands, BareListAsksItsUnitOnceAndEmptySeriesIsANote)
{
    int asked = 0;
    prompter.onModal = [&](QDialog* dialog) {
        auto* unit = qobject_cast<UnitDialog*>(dialog);
        if (!unit)
            return int(qobject_cast<WeightDialog*>(dialog) ? QDialog::Accepted : QDialog::Rejected);
        ++asked;
        EXPECT_TRUE(unit->MetresPerSecond->isChecked()) << "m/s comes preselected";
        unit->FeetPerSecond->setChecked(true);
        return int(QDialog::Accepted);
    };
    import("list.txt", "1000\r\n1010\r\n");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(column(1), (std::vector<std::string>{"304,8", "307,848"}));
    EXPECT_EQ(column(4)[0], "list") << "the file's name stands for the bullet";

    // Headers and no shots: an empty table and a note, not a failed statistics pass.
    prompter.messageAnswers.push_back(ui::MessageResult::Ok);
    import("SR0001 Report.csv", kNoShots);
    ASSERT_EQ(prompter.messages.size(), 2u) << shownMessages().join('\n').toStdString();
    EXPECT_TRUE(prompter.messages[1].text.contains("without shots"));
    EXPECT_TRUE(table::isEmpty(Form1->table()));
    EXPECT_EQ(labels()[0], "###");
    EXPECT_EQ(Form1->ShotStatisticsDock->ShotsValue->text(), "");
}

TEST_F(ImportCommands, AddSeriesLaysAnExportOverTheSession)
{
    fillVelocities({"850", "860"}, "10,886");
    Form1->deviationPass(Form1->statisticsPass());
    dir.write("string.csv", kGarmin);
    prompter.openAnswers.push_back(QString::fromStdString(dir.file("string.csv")));
    Form1->AddSeries1->trigger();
    ASSERT_TRUE(prompter.messages.empty()) << shownMessages().join('\n').toStdString();
    ASSERT_EQ(Form1->ListBox1->count(), 1);
    EXPECT_EQ(Form1->ListBox1->item(0)->text(), "string.csv");
    const chart::Chart& v = Form1->ChartV->chart();
    ASSERT_EQ(v.seriesCount(), 2u);
    EXPECT_NEAR(v.series(0).y(0), 854.6592, 1e-9);

    // A list of whole velocities, which would pass for a session with missing lines; without
    // a weight its energies cannot exist and are drawn at 0.
    prompter.onModal = [](QDialog*) { return int(QDialog::Accepted); };
    dir.write("list.txt", "300\r\n310\r\n");
    prompter.openAnswers.push_back(QString::fromStdString(dir.file("list.txt")));
    Form1->AddSeries1->trigger();
    ASSERT_EQ(Form1->ListBox1->count(), 2);
    EXPECT_EQ(Form1->ChartE->chart().series(1).y(0), 0);
    // dV against the series' own mean of 305.
    EXPECT_NEAR(Form1->ChartdV->chart().series(1).y(0), -1.64, 1e-9);

    // Neither a session nor an export: the session's refusal.
    dir.write("notes.txt", "Dear diary\r\n");
    prompter.openAnswers.push_back(QString::fromStdString(dir.file("notes.txt")));
    Form1->AddSeries1->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.contains("is not a measurement file"));
    EXPECT_EQ(Form1->ListBox1->count(), 2);

    // An export without shots is no series to add.
    dir.write("SR0001 Report.csv", kNoShots);
    prompter.openAnswers.push_back(QString::fromStdString(dir.file("SR0001 Report.csv")));
    Form1->AddSeries1->trigger();
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text,
              "'SR0001 Report.csv' holds a series without shots; no series is added.");
    EXPECT_EQ(Form1->ListBox1->count(), 2);
    EXPECT_EQ(Form1->ChartV->chart().seriesCount(), 3u) << "the session's and the two added";
}

} // namespace
