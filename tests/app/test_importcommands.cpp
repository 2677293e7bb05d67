#include "app/forms.h"
#include "app/shotstatisticspanel.h"
#include "app/tform1.h"
#include "chart/ui/chartwidget.h"
#include "imports/ui/seriesdialog.h"
#include "imports/ui/unitdialog.h"
#include "imports/ui/weightdialog.h"
#include "support/ui/mainwindowfixture.h"
#include "table/currentfile.h"

#include "ui/gridview.h"
#include "ui/weightedit.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include <functional>

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
};

TEST_F(ImportCommands, GarminStringReplacesTheTableInMetresPerSecondAsAnUnsavedSession)
{
    EXPECT_EQ(Form1->Import1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    table::setCurrentFileName("/old/session.vxm");
    import("string.csv", kGarmin);

    ASSERT_TRUE(prompter.messages.empty()) << prompter.messageTexts().join('\n').toStdString();
    // Patterns in both letter cases: GTK's dialogs tell them apart.
    EXPECT_EQ(prompter.openAsked.back().filter,
              "Chronograph exports (*.csv *.CSV *.txt *.TXT *.fit *.FIT);;All files (*)");
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
    ASSERT_EQ(prompter.messages.size(), 2u) << prompter.messageTexts().join('\n').toStdString();
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
    ASSERT_TRUE(prompter.messages.empty()) << prompter.messageTexts().join('\n').toStdString();
    ASSERT_EQ(Form1->ListBox1->count(), 1);
    EXPECT_EQ(Form1->ListBox1->item(0)->text(), "string.csv");
    const chart::Chart& v = Form1->ChartV->chart();
    ASSERT_EQ(v.seriesCount(), 2u);
    EXPECT_NEAR(v.series(0).y(0), 854.6592, 1e-9);

    // A list of whole velocities, which would pass for a session with missing lines; without
    // a weight its energies cannot exist and are drawn at 0.
    QStringList asked;
    prompter.onModal = [&asked](QDialog* dialog) {
        asked << dialog->objectName();
        return int(QDialog::Accepted);
    };
    dir.write("list.txt", "300\r\n310\r\n");
    prompter.openAnswers.push_back(QString::fromStdString(dir.file("list.txt")));
    Form1->AddSeries1->trigger();
    ASSERT_EQ(Form1->ListBox1->count(), 2);
    EXPECT_EQ(asked, QStringList{"UnitDialog"}) << "the unit is asked, the weight is not";
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

// A pellet and a rifle bullet in the window's list.
class ImportWeight : public ImportCommands {
protected:
    void SetUp() override { start("JSB Exact\r\n0,547\r\n308 Win 168 SMK\r\n10,886\r\n"); }
};

using WeightAnswer = std::function<int(WeightDialog*)>;

WeightAnswer chooseBullet(int row)
{
    return [row](WeightDialog* dialog) {
        dialog->BulletBox->setCurrentIndex(row);
        emit dialog->BulletBox->activated(row);
        EXPECT_TRUE(dialog->FromList->isChecked()) << "picking a bullet answers with it";
        return int(QDialog::Accepted);
    };
}

WeightAnswer typeWeight(const char* digits)
{
    return [digits](WeightDialog* dialog) {
        const QPushButton* ok = dialog->Buttons->button(QDialogButtonBox::Ok);
        dialog->Typed->setChecked(true);
        EXPECT_FALSE(ok->isEnabled()) << "an unfilled field is no answer";
        dialog->Typed->setChecked(false);
        dialog->WeightField->selectAll();
        QTest::keyClicks(dialog->WeightField, QString::fromLatin1(digits));
        EXPECT_TRUE(dialog->Typed->isChecked()) << "typing a weight answers with it";
        EXPECT_TRUE(ok->isEnabled());
        return int(QDialog::Accepted);
    };
}

WeightAnswer answerWith(int result)
{
    return [result](WeightDialog*) { return result; };
}

TEST_F(ImportWeight, AFileWithoutWeightAsksOnceAfterTheUnitAndTheAnswerIsTheWeight)
{
    const struct {
        const char* name;
        bool imperial;
        WeightAnswer answer;
        // Both shots' m, and their E; a cancelled import leaves the session's own.
        std::string weight;
        std::vector<std::string> energies;
    } answers[] = {
        {"bullet of the list", false, chooseBullet(1), "10,886", {"3933", "4026"}},
        // Shown in grains, applied as the list holds it: not 8,4 gr converted back.
        {"pellet shown in grains", true, chooseBullet(0), "0,547", {"198", "202"}},
        {"typed grams", false, typeWeight("12,960"), "12,960", {"4682", "4793"}},
        {"typed grains", true, typeWeight("168,0"), "10,886", {"3933", "4026"}},
        {"no weight", false, answerWith(QDialog::Accepted), "", {"####", "####"}},
        {"cancel", true, answerWith(QDialog::Rejected), "0,547", {"24,6", "26,3"}},
    };
    for (const auto& a : answers) {
        SCOPED_TRACE(a.name);
        (a.imperial ? Form1->Imperial1 : Form1->Metric1)->trigger();
        fillVelocities({"300", "310"}, "0,547");
        for (std::size_t row : {1, 2})
            Form1->table().setCell(table::ColM, row, "0,547");
        table::setCurrentFileName("/old/session.vxm");
        table::setUnsavedChanges(false);
        QStringList asked;
        prompter.messageAnswers.push_back(ui::MessageResult::Ok);
        prompter.onModal = [&](QDialog* dialog) {
            asked << dialog->objectName();
            if (qobject_cast<UnitDialog*>(dialog))
                return int(QDialog::Accepted);
            auto* question = qobject_cast<WeightDialog*>(dialog);
            if (!question)
                return int(QDialog::Rejected);
            // Nothing is chosen for the user but no weight; the pellet is the list's first.
            EXPECT_TRUE(question->NoWeight->isChecked());
            EXPECT_EQ(question->BulletBox->currentIndex(), Form1->ComboBox1->currentIndex());
            EXPECT_EQ(question->BulletBox->count(), 2);
            EXPECT_EQ(question->BulletWeight->text(), a.imperial ? "8,4 gr" : "0,547 g");
            EXPECT_EQ(question->findChild<QLabel*>("WeightUnit")->text(), a.imperial ? "gr" : "g");
            return a.answer(question);
        };
        import("list.txt", "850\r\n860\r\n");

        EXPECT_EQ(asked, (QStringList{"UnitDialog", "WeightDialog"}));
        EXPECT_EQ(column(table::ColM), std::vector<std::string>(2, a.weight));
        EXPECT_EQ(column(table::ColE), a.energies);
        const bool cancelled = std::string_view(a.name) == "cancel";
        EXPECT_EQ(column(1), cancelled ? (std::vector<std::string>{"300", "310"})
                                       : (std::vector<std::string>{"850", "860"}));
        EXPECT_EQ(table::currentFileName(), cancelled ? "/old/session.vxm" : "");
        EXPECT_EQ(table::hasUnsavedChanges(), !cancelled);
    }
}

// A device's string, the texts it shows, and the figures its screen or app gives.
struct RecordedString {
    const char* name;
    const char* file;
    std::string bytes;
    table::Units recordedIn;
    // The V column in the recorded unit (the file's own texts) and in the other one.
    QStringList recorded;
    QStringList converted;
    // ES, median and SD (n) in the recorded unit, worked out by hand from the file's values.
    QStringList figures;
};

class RecordedVelocities : public ImportCommands {
protected:
    QStringList shownVelocities() const
    {
        QStringList texts;
        for (int row = 0; row < Form1->Grid->model()->rowCount(); ++row)
            texts << Form1->Grid->model()->index(row, table::ColV).data().toString();
        return texts;
    }

    void expectShownAsRecorded(const RecordedString& s)
    {
        for (QAction* units : {Form1->Metric1, Form1->Imperial1}) {
            units->trigger();
            const bool recordedUnit = Form1->units() == s.recordedIn;
            SCOPED_TRACE(units->text().toStdString());
            EXPECT_EQ(shownVelocities(), recordedUnit ? s.recorded : s.converted);
            if (recordedUnit) {
                const ShotStatisticsPanel* p = Form1->ShotStatisticsDock;
                EXPECT_EQ(
                    (QStringList{p->EsValue->text(), p->MedianValue->text(), p->SdNValue->text()}),
                    s.figures);
            }
        }
    }
};

TEST_F(RecordedVelocities, ShowTheDevicesOwnNumbersAndFiguresAlsoAfterSaveAndOpen)
{
    const RecordedString strings[] = {
        {"Garmin Xero in ft/s with a tenth",
         "xero.csv",
         "\"6.5 CM 140 ELD-M\"\r\n"
         "#,SPEED (FPS),\xCE\x94 AVG (FPS),KE (FT-LB),POWER FACTOR (KGR\xE2\x8B\x85"
         "FT/S),TIME,CLEAN BORE,COLD BORE,SHOT NOTES\r\n"
         "1, 2795.1, 0.4, 2428.4, 391.3, 9:41:02 AM, , , \"\" \r\n"
         "2, 2787.3, -7.4, 2414.9, 390.2, 9:41:40 AM, , , \"\" \r\n"
         "3, 2801.9, 7.2, 2440.2, 392.3, 9:42:15 AM, , , \"\" \r\n"
         "4, 2790.4, -4.3, 2420.3, 390.7, 9:42:51 AM, , , \"\" \r\n"
         "5, 2798.6, 3.9, 2434.5, 391.8, 9:43:30 AM, , , \"\" \r\n"
         "6, 2794.9, 0.2, 2428.1, 391.3, 9:44:02 AM, , , \"\" \r\n"
         "-,,,,,,\r\n"
         "AVERAGE SPEED,2794.7,,,,,,,\r\n"
         "PROJECTILE WEIGHT (GRAINS),140.0,,,,,,,\r\n",
         table::Units::Imperial,
         {"2795,1", "2787,3", "2801,9", "2790,4", "2798,6", "2794,9"},
         {"851,946", "849,569", "854,019", "850,514", "853,013", "851,886"},
         // Mean 2794,7; squares 0,16 + 54,76 + 51,84 + 18,49 + 15,21 + 0,04 = 140,5 over 6.
         {"14,6", "2795,0", "4,8"}},
        {"LabRadar in fps with hundredths",
         "SR0007 Report.csv",
         "sep=;\r\nDevice ID;LBR-0012345;;\r\n\r\nSeries No;0007;;\r\n"
         "Total number of shots;0004;;\r\n\r\nUnits velocity;fps;;\r\nUnits distances;m;;\r\n"
         "Units kinetic energy;ft-lbs;;\r\nUnits weight;grain;;\r\n\r\n"
         "Shot ID;V0;Ke0;Proj. Weight;Date;Time\r\n"
         "0001;3007.98;3373.55;168.00;2024-05-11;09:41:02;\r\n"
         "0002;2905.01;3146.53;168.00;2024-05-11;09:41:40;\r\n"
         "0003;2950.55;3245.97;168.00;2024-05-11;09:42:15;\r\n"
         "0004;2988.12;3329.16;168.00;2024-05-11;09:42:51;\r\n",
         table::Units::Imperial,
         {"3007,98", "2905,01", "2950,55", "2988,12"},
         {"916,832", "885,447", "899,328", "910,779"},
         // Median (2950,55 + 2988,12) / 2 = 2969,335; mean 2962,915, SD (n) sqrt(1543,007).
         {"103,0", "2969,3", "39,3"}},
        {"LabRadar in m/s without a weight",
         "SR0008 Report.csv",
         "sep=;\r\nUnits velocity;m/s;;\r\nUnits weight;gram;;\r\n"
         "Shot ID;V0;Proj. Weight\r\n0001;805.00;0.00;\r\n0002;812.30;0.00;\r\n"
         "0003;798.96;0.00;\r\n0004;809.45;0.00;\r\n0005;801.20;0.00;\r\n",
         table::Units::Metric,
         {"805,00", "812,30", "798,96", "809,45", "801,20"},
         {"2641,1", "2665,0", "2621,3", "2655,7", "2628,6"},
         // Mean 805,382, SD (n) sqrt(24,657).
         {"13,3", "805,0", "5,0"}},
    };
    // The m/s string has no weight: the question is answered with none.
    prompter.onModal = [](QDialog* dialog) {
        return int(qobject_cast<WeightDialog*>(dialog) ? QDialog::Accepted : QDialog::Rejected);
    };
    for (const RecordedString& s : strings) {
        SCOPED_TRACE(s.name);
        Form1->Metric1->trigger();
        if (!table::isEmpty(Form1->table()))
            prompter.messageAnswers.push_back(ui::MessageResult::Ok);
        import(s.file, s.bytes);
        ASSERT_EQ(column(1).size(), std::size_t(s.recorded.size()));
        expectShownAsRecorded(s);

        prompter.saveAnswers.push_back(QString::fromStdString(dir.file("string.vxm")));
        Form1->SaveAs1->trigger();
        prompter.messageAnswers.push_back(ui::MessageResult::Ok);
        prompter.openAnswers.push_back(QString::fromStdString(dir.file("string.vxm")));
        Form1->Open1->trigger();
        ASSERT_EQ(table::currentFileName(), dir.file("string.vxm"));
        SCOPED_TRACE("saved and opened");
        expectShownAsRecorded(s);
    }
    EXPECT_TRUE(prompter.messageAnswers.empty());
}

} // namespace
