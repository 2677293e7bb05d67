// The load-development window through its menus, offscreen, opened from the real main window:
// strings added from the main table and from files, values typed, shots excluded, a
// round-robin split, comparisons, files saved and opened, exports, and the close questions.
#include "app/commandline.h"
#include "app/forms.h"
#include "app/tform1.h"
#include "chart/ui/chartwidget.h"
#include "imports/ui/stringpicker.h"
#include "loaddev/laddermodel.h"
#include "loaddev/loaddevwindow.h"
#include "loaddev/shotsdialog.h"
#include "session/loadtestfile.h"
#include "session/sessionfile.h"
#include "support/devicetrees.h"
#include "support/fitwriter.h"
#include "support/stringrows.h"
#include "support/ui/mainwindowfixture.h"
#include "support/ui/programs.h"
#include "table/currentfile.h"
#include "table/measurementfile.h"
#include "ui/gridview.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QUrl>

#include <filesystem>

namespace {

using loaddev::LoadDevWindow;

class LoadDev : public MainWindowTest {
protected:
    void SetUp() override
    {
        start("");
        Form1->LoadDevelopment1->trigger();
        w = Form1->loadDevelopment();
        ASSERT_TRUE(w->isVisible());
    }

    QString path(const char* name) const { return QString::fromStdString(dir.file(name)); }
    loaddev::LadderModel* model() const
    {
        return static_cast<loaddev::LadderModel*>(w->Table->model());
    }

    // A string of these velocities in the main window's table, with a charge detail, added.
    void addMainString(const std::vector<const char*>& velocities, const std::string& charge = "")
    {
        fillVelocities(velocities, "10,886");
        table::StringDetails details;
        details.rifle = "Tikka";
        if (!charge.empty())
            details.charge = {charge, "gr"};
        Form1->setStringDetails(details);
        w->AddCurrentString1->trigger();
    }

    void addString(const std::vector<const char*>& velocities, const char* value)
    {
        std::vector<Row> rows;
        for (std::size_t i = 0; i < velocities.size(); ++i)
            rows.push_back({std::to_string(i + 1), velocities[i]});
        ASSERT_TRUE(w->addString(tableOf(rows), {}));
        type(w->loadTest().strings.size() - 1, QString::fromUtf8(value));
    }

    // As the user types into the value's cell; the window takes it once the editor has gone.
    void type(std::size_t string, const QString& text)
    {
        model()->setData(model()->index(model()->rowOfString(string), session::LadderValue), text);
        QCoreApplication::processEvents();
    }

    QStringList shown(int column) const
    {
        QStringList texts;
        for (int r = 0; r < model()->rowCount(); ++r)
            texts << model()->index(r, column).data().toString();
        return texts;
    }

    void selectString(std::size_t string)
    {
        w->Table->setCurrentIndex(model()->index(model()->rowOfString(string), 1));
    }

    LoadDevWindow* w = nullptr;
};

TEST_F(LoadDev, CurrentStringsWithTypedValuesMakeTheLadder)
{
    w->AddCurrentString1->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "The main window's table holds no shots.");
    EXPECT_FALSE(w->hasUnsavedChanges());

    addMainString({"800", "802", "804"}, "40.0");
    addMainString({"810", "812", "814"});
    addMainString({"813", "814", "815"});
    ASSERT_EQ(w->loadTest().strings.size(), 3u);
    EXPECT_EQ(prompter.messages.size(), 1u);
    // The charge detail gave the first its value; the main table is untouched.
    EXPECT_EQ(shown(session::LadderValue), (QStringList{"40,0", "", ""}));
    EXPECT_EQ(column(table::ColV), (std::vector<std::string>{"813", "814", "815"}));
    EXPECT_TRUE(w->hasUnsavedChanges());
    EXPECT_TRUE(w->windowTitle().endsWith(" *"));

    type(2, "41.0");
    type(1, "40,5");
    addMainString({"824", "826", "828"});
    type(3, "41,5");
    EXPECT_EQ(shown(session::LadderValue), (QStringList{"40,0", "40,5", "41,0", "41,5"}));
    EXPECT_EQ(shown(session::LadderMean), (QStringList{"802,0", "812,0", "814,0", "826,0"}));
    EXPECT_EQ(shown(session::LadderFlat), (QStringList{"", "flat", "flat", ""}));
    // A typed value is also the string's charge.
    EXPECT_EQ(w->loadTest().strings[1].details.charge, (table::Quantity{"40.5", "gr"}));
    EXPECT_EQ(w->loadTest().strings[1].details.rifle, "Tikka");

    // The chart follows, at the main window's level; its numbers are the ladder chart's own.
    const chart::Chart& c = w->ladderChart()->chart();
    ASSERT_EQ(c.seriesCount(), 3u);
    EXPECT_EQ(c.series(1).errorBars().size(), 4u);
    EXPECT_EQ(c.bands.size(), 1u);
    ASSERT_FALSE(c.notes.empty());
    EXPECT_EQ(c.notes[0].rfind("+14,8 m/s per grain (95 %: ", 0), 0u) << c.notes[0];

    // The main window's units are the window's.
    Form1->Imperial1->trigger();
    EXPECT_EQ(model()->headerData(session::LadderMean, Qt::Horizontal).toString(), "Mean (ft/s)");
    EXPECT_EQ(shown(session::LadderMean)[0], "2631,2");
    Form1->Metric1->trigger();

    // What is no value is refused and changes nothing.
    type(0, "forty");
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_TRUE(prompter.messages[1].text.startsWith("'forty' is not a value"));
    EXPECT_EQ(shown(session::LadderValue)[0], "40,0");
}

TEST_F(LoadDev, StringsComeFromFilesOfEveryKindAtOnceAndDropped)
{
    table::StringDetails details;
    details.title = "From a session";
    details.charge = {"41", "gr"};
    session::writeSession(tableOf({{"1", "850", "", "", "", "", "", "", "", "1"}, {"2", "851"}}),
                          details, "", dir.file("s.vxs"));
    table::writeTable(tableOf({{"1", "830"}, {"2", "833"}, {"3", "829"}}), dir.file("m.vxm"));
    dir.write("bare.txt", "2850.5\n2861\n");
    const std::vector<std::uint8_t> fit = xeroSessionFile(4);
    dir.write("x.fit", std::string(fit.begin(), fit.end()));
    dir.write("bad.vxs", "{\n\"format\": 7}");

    // The plain list asks for its unit: ft/s. Of a card's listing, two series are picked.
    prompter.onModal = [](QDialog* dialog) {
        if (auto* feet = dialog->findChild<QAbstractButton*>(QStringLiteral("FeetPerSecond")))
            feet->click();
        if (auto* picker = qobject_cast<StringPicker*>(dialog))
            picker->choose({0, 1});
        return int(QDialog::Accepted);
    };
    prompter.openFilesAnswers = {
        {path("s.vxs"), path("bad.vxs"), path("m.vxm"), path("bare.txt"), path("x.fit")}};
    w->AddStringsFromFiles1->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              QStringLiteral("'%1' is not a Vexorel session (line 2)").arg(path("bad.vxs")));
    const auto& strings = w->loadTest().strings;
    ASSERT_EQ(strings.size(), 4u);
    EXPECT_EQ(strings[0].details.title, "From a session");
    EXPECT_EQ(strings[0].value, "41");
    EXPECT_EQ(strings[0].grid.cell(table::ColExcluded, 1), "1");
    EXPECT_EQ(strings[1].details.title, "m");
    EXPECT_EQ(strings[2].details.title, "bare");
    EXPECT_EQ(strings[2].grid.cell(table::ColRecorded, 1), "2850.5 ft/s");
    EXPECT_EQ(strings[2].grid.cell(table::ColE, 1), "####") << "no weight question";
    EXPECT_EQ(strings[3].grid.rowCount(), 5u);
    EXPECT_EQ(shown(session::LadderShots), (QStringList{"1", "3", "2", "4"}));

    // A LabRadar card's series: by the menu, and dropped as a folder with files.
    writeLabRadarCard(dir, "card");
    prompter.folderAnswers.push_back(path("card"));
    w->AddStringsFromFolder1->trigger();
    ASSERT_EQ(w->loadTest().strings.size(), 6u);
    EXPECT_EQ(w->loadTest().strings[4].details.title, "Series 2");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path("m.vxm")), QUrl::fromLocalFile(path("s.vxs")),
                  QUrl::fromLocalFile(path("card"))});
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // Straight to the window: the application passes on only drops of a drag it runs itself.
    static_cast<QObject*>(w)->event(&drop);
    EXPECT_EQ(w->loadTest().strings.size(), 10u);
}

TEST_F(LoadDev, ComparisonsSayWhetherADifferenceIsShownAtTheLevel)
{
    addString({"800", "802", "804"}, "40");
    addString({"810", "811", "812"}, "41");
    addString({"806", "808", "810"}, "42");
    addString({"850"}, "43");
    const auto compare = [&](std::size_t a, std::size_t b) {
        w->CompareFirst->setCurrentIndex(w->CompareFirst->findData(qulonglong(a)));
        w->CompareSecond->setCurrentIndex(w->CompareSecond->findData(qulonglong(b)));
        w->CompareButton->click();
    };
    compare(0, 1);
    EXPECT_EQ(w->MeanSentence->text(), "Mean 802,0 vs 811,0 is a shown difference (p = 0,0065)");
    EXPECT_EQ(w->SdSentence->text(), "SD 2,0 vs 1,0 is not a shown difference (p = 0,40)");
    compare(1, 0); // the same pair
    compare(0, 2);
    compare(0, 3); // listed, though a string of one shot compares to nothing
    ASSERT_EQ(w->ComparisonList->count(), 3);
    EXPECT_EQ(w->loadTest().comparisons,
              (std::vector<session::Comparison>{{0, 1}, {0, 2}, {0, 3}}));
    EXPECT_TRUE(w->ComparisonList->item(1)->text().contains("p = 0,021"));
    compare(2, 2);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Pick two different strings to compare.");

    // At 99 % a p of 0,021 no longer shows a difference, and the SD's range widens.
    // View › Confidence in the main window at 99 %.
    Form1->Confidence99->trigger();
    EXPECT_TRUE(w->ComparisonList->item(1)->text().contains(
        "Mean 802,0 vs 808,0 is not a shown difference (p = 0,021)"));
    EXPECT_EQ(model()->headerData(session::LadderSDRange, Qt::Horizontal).toString(), "SD 99 %");

    w->ComparisonList->setCurrentRow(0);
    w->RemoveComparison->click();
    EXPECT_EQ(w->loadTest().comparisons, (std::vector<session::Comparison>{{0, 2}, {0, 3}}));
}

TEST_F(LoadDev, ShotsExcludedInTheirDialogLeaveTheFigures)
{
    addString({"800", "802", "804", "900"}, "40");
    selectString(0);
    std::vector<std::size_t> shotsSeen;
    prompter.onModal = [&](QDialog* dialog) {
        auto* shots = qobject_cast<loaddev::ShotsDialog*>(dialog);
        if (!shots)
            return int(QDialog::Rejected);
        shots->Shots->selectRows(4, 4);
        shots->Exclude->click();
        shotsSeen.push_back(w->figures().rows[0].velocities.size());
        shots->Shots->selectRows(1, 4);
        shots->Include->click();
        shots->Shots->selectRows(3, 4);
        shots->Exclude->click();
        return int(QDialog::Rejected);
    };
    emit w->Table->doubleClicked(model()->index(0, session::LadderMean));
    ASSERT_EQ(prompter.modalShown.size(), 1u);
    EXPECT_EQ(shotsSeen, std::vector<std::size_t>{3});
    EXPECT_EQ(shown(session::LadderShots), QStringList{"2"});
    EXPECT_EQ(shown(session::LadderMean), QStringList{"801,0"});
    EXPECT_EQ(w->loadTest().strings[0].grid.cell(table::ColExcluded, 3), "1");
}

TEST_F(LoadDev, RoundRobinStringBecomesOneStringPerLoad)
{
    addString({"801", "811", "821", "802", "812", "822", "803"}, "");
    selectString(0);
    prompter.onModal = [](QDialog*) { return int(QDialog::Rejected); };
    w->SplitRoundRobin1->trigger();
    EXPECT_EQ(w->loadTest().strings.size(), 1u) << "cancelled";

    prompter.onModal = [](QDialog* dialog) {
        dialog->findChild<QSpinBox*>(QStringLiteral("Loads"))->setValue(3);
        return int(QDialog::Accepted);
    };
    w->SplitRoundRobin1->trigger();
    ASSERT_EQ(w->loadTest().strings.size(), 3u);
    EXPECT_EQ(shown(session::LadderMean), (QStringList{"802,0", "811,5", "821,5"}));
    EXPECT_EQ(shown(session::LadderShots), (QStringList{"3", "2", "2"}));
    EXPECT_EQ(w->loadTest().strings[2].details.title, "Load 3 of 3");
}

TEST_F(LoadDev, ATestExportsItsTableChartAndReportAndOpensAgainAsSaved)
{
    w->TitleEdit->setText("N140 ladder");
    emit w->TitleEdit->editingFinished();
    w->VariableKind->setCurrentIndex(1);
    emit w->VariableKind->activated(1);
    w->VariableUnit->setCurrentText("mm");
    addString({"800", "802", "804"}, "71,1");
    addString({"810", "811", "812"}, "71.3");
    addString({"813", "815", "817"}, "71,5");
    w->CompareButton->click();
    ASSERT_EQ(w->loadTest().variable,
              (session::Variable{session::VariableKind::Length, "Seating depth", "mm"}));

    prompter.saveAnswers = {path("ladder.csv"), path("ladder.png"), path("ladder.pdf")};
    w->ExportTable1->trigger();
    w->ExportChart1->trigger();
    w->ExportReport1->trigger();
    EXPECT_TRUE(prompter.messages.empty());
    // The CSV's layout is the ladder CSV's own; here the window's figures, in m/s, reach it.
    const std::string csv = readBytes(dir.file("ladder.csv"));
    EXPECT_NE(csv.find("\r\n71,3;3;811,0;2,0;1,0;"), std::string::npos) << csv;
    EXPECT_EQ(readBytes(dir.file("ladder.png")).compare(0, 8, "\x89PNG\r\n\x1A\n"), 0);
    EXPECT_GE(pdfPages(dir.file("ladder.pdf")), 1);
    const std::string text = pdfText(dir.file("ladder.pdf"));
    for (const char* expected :
         {"N140 ladder", "Variable: Seating depth (mm)", "Least squares through every shot",
          "Comparisons at 95 %", "Mean 802,0 vs 811,0 is a shown difference", "Strings",
          "3 shots in the figures"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;

    std::vector<QString> previews;
    prompter.onModal = [&](QDialog* dialog) {
        if (qobject_cast<QPrintPreviewDialog*>(dialog))
            previews.push_back(dialog->windowTitle());
        return int(QDialog::Rejected);
    };
    w->PrintReport1->trigger();
    EXPECT_EQ(previews, std::vector<QString>{"Print Report"});

    prompter.saveAnswers = {path("ladder")};
    w->Save1->trigger();
    ASSERT_TRUE(std::filesystem::exists(dir.file("ladder.vxl")));
    EXPECT_FALSE(w->hasUnsavedChanges());
    EXPECT_EQ(w->windowTitle(), "Load Development \u2013 ladder.vxl");
    const session::LoadTest saved = w->loadTest();

    w->New1->trigger();
    EXPECT_TRUE(w->loadTest().strings.empty());
    EXPECT_EQ(w->TitleEdit->text(), "");
    dir.write("other.vxl", "{\"format\": \"vexorel-session\"}");
    prompter.openAnswers = {path("other.vxl"), path("ladder.vxl")};
    w->Open1->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              QStringLiteral("'%1' is not a Vexorel load test (line 1)").arg(path("other.vxl")));
    w->Open1->trigger();
    const session::LoadTest& opened = w->loadTest();
    EXPECT_EQ(opened.title, "N140 ladder");
    EXPECT_EQ(w->TitleEdit->text(), "N140 ladder");
    EXPECT_EQ(w->VariableUnit->currentText(), "mm");
    EXPECT_EQ(opened.variable, saved.variable);
    EXPECT_EQ(opened.comparisons, saved.comparisons);
    ASSERT_EQ(opened.strings.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(rowsOf(opened.strings[i].grid), rowsOf(saved.strings[i].grid));
        EXPECT_EQ(opened.strings[i].value, saved.strings[i].value);
        EXPECT_EQ(opened.strings[i].details, saved.strings[i].details);
    }
    EXPECT_EQ(shown(session::LadderValue), (QStringList{"71,1", "71,3", "71,5"}));
    EXPECT_FALSE(w->hasUnsavedChanges());
}

struct CloseCase {
    const char* name;
    ui::MessageResult answer;
    bool named; // a name given for the file
    bool closes;
    bool saved;
    friend void PrintTo(const CloseCase& c, std::ostream* out) { *out << c.name; }
};

class CloseQuestion : public LoadDev, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseQuestion, IsAskedForAnUnsavedTestAndAnsweredAsTheUserSays)
{
    const CloseCase& c = GetParam();
    addString({"800", "802"}, "40");
    prompter.messageAnswers = {c.answer};
    if (c.answer == ui::MessageResult::Yes)
        prompter.saveAnswers = {c.named ? path("t.vxl") : std::optional<QString>()};
    EXPECT_EQ(w->close(), c.closes);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              "Do you want to save the load test 'Untitled' before closing?");
    EXPECT_EQ(prompter.messages[0].buttons, ui::MessageButtons::YesNoCancel);
    EXPECT_EQ(w->isVisible(), !c.closes);
    EXPECT_EQ(std::filesystem::exists(dir.file("t.vxl")), c.saved);
    // A closed test is gone; one kept open is as it was.
    EXPECT_EQ(w->loadTest().strings.size(), c.closes ? 0u : 1u);
    // Reopened, the window asks nothing for what it no longer holds.
    Form1->LoadDevelopment1->trigger();
    if (c.closes) {
        EXPECT_TRUE(w->close());
    }
    EXPECT_EQ(prompter.messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    LoadDev, CloseQuestion,
    ::testing::Values(CloseCase{"yes", ui::MessageResult::Yes, true, true, true},
                      CloseCase{"yesThenNoName", ui::MessageResult::Yes, false, false, false},
                      CloseCase{"no", ui::MessageResult::No, false, true, false},
                      CloseCase{"cancel", ui::MessageResult::Cancel, false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadDev, TheMainWindowAsksForAnUnsavedLoadTestBeforeItCloses)
{
    Form1->show();
    addString({"800", "802"}, "40");
    // Exit: the main table is empty, so only the load test is asked about.
    prompter.messageAnswers = {ui::MessageResult::Cancel};
    Form1->Exit1->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.contains("load test"));
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_TRUE(w->isVisible());

    // The close box with unsaved shots: the main window's question, then the load test's.
    fillVelocities({"300"}, "0,547");
    table::setUnsavedChanges(true);
    prompter.messageAnswers = {ui::MessageResult::No, ui::MessageResult::Cancel};
    EXPECT_FALSE(Form1->close());
    ASSERT_EQ(prompter.messages.size(), 3u);
    EXPECT_TRUE(prompter.messages[1].text.contains("measurments"));
    EXPECT_TRUE(prompter.messages[2].text.contains("load test"));
    EXPECT_TRUE(Form1->isVisible());

    prompter.messageAnswers = {ui::MessageResult::No, ui::MessageResult::No};
    Form1->Exit1->trigger();
    EXPECT_EQ(prompter.messages.size(), 5u);
    EXPECT_FALSE(Form1->isVisible());
}

TEST_F(LoadDev, ALoadTestNamedAtStartOpensInItsWindow)
{
    w->close();
    session::LoadTest test;
    test.title = "From the desktop";
    test.strings.push_back(session::makeString(tableOf({{"1", "850"}}), {}, test.variable));
    session::writeLoadTest(test, dir.file("t.vxl"));
    openAtStart(Form1, path("t.vxl"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->loadTest().title, "From the desktop");
    EXPECT_EQ(w->currentFile(), path("t.vxl"));
    EXPECT_TRUE(table::isEmpty(Form1->table())) << "the main table stays as it was";
}

} // namespace
