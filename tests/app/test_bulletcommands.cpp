#include "app/forms.h"
#include "app/tform1.h"
#include "bullets/tform2.h"
#include "runtime/convert.h"
#include "support/smallfs.h"
#include "support/ui/mainwindowfixture.h"
#include "ui/gridview.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

const char kList[] = "JSB Exact\r\n0,547\r\nH&N Baracuda\r\n0,690\r\nNo weight\r\n\r\n";

class Bullets : public MainWindowTest {
protected:
    void choose(int index)
    {
        Form1->ComboBox1->setCurrentIndex(index);
        emit Form1->ComboBox1->activated(index);
    }
};

TEST_F(Bullets, ChoosingABulletReplacesATypedWeight)
{
    start(kList);
    Form1->setWeightText("1,111");
    choose(1);
    EXPECT_EQ(Form1->weightText(), "0,690");
    choose(2);
    EXPECT_EQ(Form1->weightText(), " ,   ");
}

// The list a new ~/Vexorel starts with: every weight goes into the field whole and gives the
// shots an energy in grams' terms.
TEST_F(Bullets, TheStarterListGivesEveryBulletAWeightTheEnergyRuleTakes)
{
    start(readBytes(VEXOREL_STARTER_BULLETS));
    ASSERT_EQ(Form1->ComboBox1->count(), 12);
    fillVelocities({"300"}, "0,120");
    std::vector<std::string> weights;
    for (int i = 0; i < Form1->ComboBox1->count(); ++i) {
        SCOPED_TRACE(i);
        choose(i);
        EXPECT_TRUE(Form1->MaskEdit1->hasAcceptableInput()) << Form1->weightText();
        Form1->Grid->selectRows(1, 1);
        Form1->SpeedButton1->click();
        EXPECT_EQ(column(4),
                  (std::vector<std::string>{Form1->ComboBox1->currentText().toStdString()}));
        weights.push_back(column(3).at(0));
        // The energy format keeps three significant digits.
        const double joules = rt::strToFloat(weights.back()) / 1000 * 300 * 300 / 2;
        EXPECT_NEAR(rt::strToFloat(column(2).at(0)), joules, joules * 0.005);
    }
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(weights.front(), "0,547");
    EXPECT_EQ(weights.back(), "11,340");
}

// In Imperial the field shows grains; a bullet of the list is applied with the grams the list
// holds, and only grains the user typed are converted. Each step applies the field to row 1.
TEST_F(Bullets, ImperialWeightFieldShowsGrainsAndAppliesTheListsGramsUnlessTyped)
{
    start(kList);
    fillVelocities({"300"}, "0,120");
    QLineEdit* field = Form1->MaskEdit1;
    const auto type = [field](const char* text) {
        return [field, text] {
            field->setFocus();
            field->selectAll();
            QTest::keyClicks(field, QString::fromLatin1(text));
        };
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        QString shown;
        QString unit;
        std::string weight;
    };
    const Step steps[] = {
        {"start", [] {}, "0,547", "gram", "0,547"},
        {"Imperial", [] { Form1->Imperial1->trigger(); }, "8,4", "gr", "0,547"},
        {"another bullet", [this] { choose(1); }, "10,6", "gr", "0,690"},
        {"back to the pellet", [this] { choose(0); }, "8,4", "gr", "0,547"},
        {"its grains typed", type("8,4"), "8,4", "gr", "0,544"},
        {"Metric", [] { Form1->Metric1->trigger(); }, "0,544", "gram", "0,544"},
        {"Imperial again", [] { Form1->Imperial1->trigger(); }, "8,4", "gr", "0,544"},
        {"a bullet without weight", [this] { choose(2); }, "_,_", "gr", " ,   "},
        {"a rifle's grains typed", type("168,0"), "168,0", "gr", "10,886"},
        {"typed in Metric", [&] { Form1->Metric1->trigger(), type("1,5")(); }, "1,5__", "gram",
         "1,5  "},
        {"and shown in grains", [] { Form1->Imperial1->trigger(); }, "23,1", "gr", "1,5  "},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(field->displayText(), step.shown);
        EXPECT_EQ(Form1->findChild<QLabel*>("Label2")->text(), step.unit);
        EXPECT_EQ(Form1->weightText(), step.weight);
        prompter.messages.clear();
        Form1->Grid->selectRows(1, 1);
        Form1->SpeedButton1->click();
        const bool weight = step.weight != " ,   ";
        EXPECT_EQ(prompter.messages.size(), weight ? 0u : 1u) << "no weight is refused";
        if (weight) {
            EXPECT_EQ(column(3)[0], step.weight);
        }
    }
}

TEST_F(Bullets, ApplyChangesWritesSelectedRowsAndRefreshesTheLabels)
{
    start(kList);
    fillVelocities({"300", "310", "290"}, "0,120");
    Form1->deviationPass(Form1->statisticsPass());
    choose(1);
    Form1->Grid->selectRows(2, 3);
    Form1->SpeedButton1->click();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(column(3), (std::vector<std::string>{"", "0,690", "0,690"}));
    EXPECT_EQ(column(4), (std::vector<std::string>{"", "H&N Baracuda", "H&N Baracuda"}));
    EXPECT_EQ(column(2), (std::vector<std::string>{"5,4", "33,2", "29"}));
    // E max is the largest energy in the table again, not the one before the change.
    EXPECT_EQ(labels(), (QStringList{"310", "290", "300,00", "33,20", "5,40", "22,53"}));
    EXPECT_EQ(redraws, 1);

    Form1->Grid->clearSelection();
    Form1->Grid->setCurrentIndex(Form1->Grid->model()->index(0, 0));
    Form1->Grid->clearSelection();
    choose(0);
    Form1->SpeedButton1->click();
    EXPECT_EQ(column(3), (std::vector<std::string>{"0,547", "0,690", "0,690"}))
        << "with nothing marked only the current row changes";
}

TEST_F(Bullets, ApplyChangesRunsBothPassesBeforeTheRedraw)
{
    start(kList);
    fillVelocities({"300", "310", "290"}, "0,120");
    // What the charts are given when the redraw runs.
    QStringList labelsAtRedraw;
    std::vector<std::string> deviationsAtRedraw;
    QObject::connect(Form1->Button1, &QPushButton::clicked, [&] {
        labelsAtRedraw = labels();
        deviationsAtRedraw = column(5);
    });
    Form1->Grid->selectRows(1, 3);
    Form1->SpeedButton1->click();
    EXPECT_EQ(column(2), (std::vector<std::string>{"24,6", "26,3", "23"}));
    EXPECT_EQ(labelsAtRedraw, (QStringList{"310", "290", "300,00", "26,30", "23,00", "24,63"}));
    EXPECT_EQ(deviationsAtRedraw, (std::vector<std::string>{"0,00", "3,33", "-3,33"}));
    EXPECT_EQ(redraws, 1);
}

TEST_F(Bullets, ApplyChangesOverAVelocityThatDoesNotConvertStopsAtTheStatistics)
{
    start(kList);
    fillVelocities({"300", "3,5,0"}, "0,120");
    Form1->Grid->selectRows(1, 1);
    Form1->SpeedButton1->click();
    EXPECT_EQ(column(2), (std::vector<std::string>{"24,6", "####"}));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "'3,5,0' is not a valid integer value");
    EXPECT_EQ(labels(), QStringList(6, "###"));
    EXPECT_EQ(redraws, 0) << "as after a download, the failed pass ends the command";
}

TEST_F(Bullets, ApplyChangesRefusesAnEmptyTableOrAWeightThatDoesNotConvert)
{
    start(kList);
    Form1->SpeedButton1->click();
    fillVelocities({"300"}, "0,120");
    choose(2);
    Form1->SpeedButton1->click();
    ASSERT_EQ(prompter.messages.size(), 2u);
    for (const auto& m : prompter.messages) {
        EXPECT_EQ(m.caption, "Vexorel!");
        EXPECT_EQ(m.text, "No measurments loaded or incorrect Bullet Weight!");
    }
    EXPECT_EQ(column(3), (std::vector<std::string>{""}));
    EXPECT_EQ(redraws, 0);
}

// 0.547 * 300.5^2 / 2000 = 24.70
TEST_F(Bullets, ApplyChangesGivesFourHashesToAVelocityThatDoesNotConvert)
{
    start(kList);
    fillVelocities({"300", "3,5,0", "300,5"}, "0,120");
    Form1->Grid->selectRows(1, 3);
    Form1->SpeedButton1->click();
    EXPECT_EQ(column(2), (std::vector<std::string>{"24,6", "####", "24,7"}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"0,547", "0,547", "0,547"}));
}

TEST_F(Bullets, RifleBulletWeightReachesTheFieldTheTableTheEnergyAndTheFile)
{
    start("JSB Exact\r\n0,547\r\nBerger 168 gr\r\n10,886\r\n");
    fillVelocities({"300", "300"}, "0,120");
    choose(1);
    EXPECT_EQ(Form1->MaskEdit1->text(), "10,886");
    EXPECT_EQ(Form1->weightText(), "10,886");
    Form1->Grid->selectRows(1, 1);
    Form1->SpeedButton1->click();

    // The same weight typed by hand.
    Form1->setWeightText("");
    Form1->MaskEdit1->setFocus();
    Form1->MaskEdit1->selectAll();
    QTest::keyClicks(Form1->MaskEdit1, "10,886");
    Form1->Grid->selectRows(2, 2);
    Form1->SpeedButton1->click();

    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(column(3), (std::vector<std::string>{"10,886", "10,886"}));
    EXPECT_EQ(column(2), (std::vector<std::string>{"490", "490"})) << "10,886 g at 300 m/s";

    prompter.saveAnswers = {QString::fromStdString(dir.file("rifle.vxm"))};
    Form1->SaveAs1->trigger();
    EXPECT_EQ(readBytes(dir.file("rifle.vxm")),
              "1\r\n300\r\n490\r\n10,886\r\nBerger 168 gr\r\n0,00\r\n"
              "2\r\n300\r\n490\r\n10,886\r\nBerger 168 gr\r\n0,00\r\n")
        << "Apply changes also fills the deviations";
}

// The editor is shown for real (offscreen); the script plays the user while it is open.
class Editor : public Bullets {
protected:
    int openEditor(const std::function<void(TForm2*)>& user)
    {
        prompter.onModal = [&](QDialog* dialog) {
            EXPECT_EQ(dialog, Form2);
            Form2->show();
            user(Form2);
            const int result = Form2->result();
            Form2->hide();
            return result;
        };
        Form1->BulletListEditor1->trigger();
        return prompter.modalShown.size();
    }
    // Through the view's model, as the cell editor writes what the user typed.
    static void setCell(TForm2* f, int row, int col, const char* text)
    {
        QAbstractItemModel* m = f->Grid1->model();
        ASSERT_TRUE(m->flags(m->index(row, col)) & Qt::ItemIsEditable);
        ASSERT_TRUE(m->setData(m->index(row, col), QString::fromUtf8(text)));
    }
    static QString cell(TForm2* f, int row, int col)
    {
        return f->Grid1->model()->index(row, col).data().toString();
    }
    static int rowCount(TForm2* f) { return f->Grid1->model()->rowCount(); }
    std::string file() const { return readBytes(dir.file("Bullets.vx!")); }
};

TEST_F(Editor, ShowsTheFileWithOneEmptyRowBelow)
{
    const std::string longName(200, 'L');
    start(longName + "\r\n0,5\r\nB\r\n0,6\r\n");
    openEditor([&](TForm2* f) {
        EXPECT_EQ(rowCount(f), 3);
        EXPECT_EQ(cell(f, 0, 0).size(), 200) << "the editor shows names whole";
        EXPECT_EQ(cell(f, 1, 1), "0,6");
        EXPECT_EQ(cell(f, 2, 0), "");
    });
}

// Closing the program with the editor open and a cell being typed into: the cell must not be
// written into a table that is already gone.
TEST_F(Editor, ProgramEndsWhileACellIsBeingEdited)
{
    start(kList);
    Form2->show();
    Form2->Grid1->setFocus();
    Form2->Grid1->edit(Form2->Grid1->model()->index(0, 0));
    auto* editor = Form2->Grid1->findChild<QLineEdit*>();
    ASSERT_TRUE(editor) << "the cell editor is open";
    editor->setText(QStringLiteral("typed"));
    destroyForms();
    EXPECT_EQ(file(), kList) << "nothing is saved by closing";
}

TEST_F(Editor, OkWritesTheRowsAndReloadsTheMainWindow)
{
    start(kList);
    choose(1);
    openEditor([&](TForm2* f) {
        setCell(f, 0, 0, "");      // removed
        setCell(f, 2, 0, " ");     // a name of one space is a name
        setCell(f, 3, 0, "Новая"); // typed into the bottom row, no weight
        f->Button3->click();
        setCell(f, 4, 1, "9,999"); // a weight without a name is not written
        f->Button1->click();
        EXPECT_EQ(f->result(), QDialog::Accepted);
    });
    EXPECT_EQ(file(), "H&N Baracuda\r\n0,690\r\n \r\n####\r\nНовая\r\n####\r\n");
    ASSERT_EQ(Form1->ComboBox1->count(), 3);
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), 0);
    EXPECT_EQ(Form1->ComboBox1->itemText(2), "Новая");
    EXPECT_EQ(Form1->weightText(), "0,690");
}

TEST_F(Editor, ARifleBulletEnteredInTheEditorKeepsItsWeight)
{
    start(kList);
    openEditor([&](TForm2* f) {
        setCell(f, 0, 0, "Berger 168 gr");
        setCell(f, 0, 1, "10,886");
        f->Button1->click();
    });
    EXPECT_EQ(Form1->ComboBox1->currentText(), "Berger 168 gr");
    EXPECT_EQ(Form1->weightText(), "10,886");
}

TEST_F(Editor, OkWithEveryNameEmptiedWritesAnEmptyFile)
{
    start(kList);
    openEditor([&](TForm2* f) {
        for (int r = 0; r < rowCount(f); ++r)
            setCell(f, r, 0, "");
        f->Button1->click();
    });
    EXPECT_EQ(file(), "");
    EXPECT_EQ(Form1->ComboBox1->count(), 1);
    EXPECT_EQ(Form1->ComboBox1->itemText(0), "");
}

TEST_F(Editor, CancelWritesNothingAndAddedRowsAreGoneNextTime)
{
    start(kList);
    openEditor([&](TForm2* f) {
        for (int i = 0; i < 3; ++i)
            f->Button3->click();
        setCell(f, 0, 0, "changed");
        f->Button2->click();
        EXPECT_EQ(f->result(), QDialog::Rejected);
    });
    EXPECT_EQ(file(), kList);
    openEditor([&](TForm2* f) {
        EXPECT_EQ(rowCount(f), 4);
        EXPECT_EQ(cell(f, 0, 0), "JSB Exact");
    });
    EXPECT_EQ(Form1->ComboBox1->itemText(0), "JSB Exact");
}

TEST_F(Editor, MissingFileIsReportedAndOkCreatesIt)
{
    start(std::nullopt);
    prompter.messages.clear();
    openEditor([&](TForm2* f) {
        EXPECT_EQ(prompter.messages.size(), 1u);
        setCell(f, 0, 0, "First");
        setCell(f, 0, 1, "0,500");
        f->Button1->click();
    });
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "File not found");
    EXPECT_EQ(readBytes(dir.file("bullets.vx!")), "First\r\n0,500\r\n");
    EXPECT_EQ(Form1->ComboBox1->itemText(0), "First");
}

TEST_F(Editor, WritesTheFileWhateverTheCaseOfItsName)
{
    start(kList, "BULLETS.VX!");
    openEditor([&](TForm2* f) {
        setCell(f, 0, 0, "Renamed");
        f->Button1->click();
    });
    EXPECT_FALSE(std::filesystem::exists(dir.file("bullets.vx!")));
    EXPECT_EQ(readBytes(dir.file("BULLETS.VX!")).substr(0, 9), "Renamed\r\n");
    EXPECT_EQ(Form1->ComboBox1->itemText(0), "Renamed");
}

TEST_F(Editor, UnwritableFolderKeepsTheEditorOpenAndTheListUnchanged)
{
    SmallFilesystem fs(16 * 1024);
    SKIP_UNLESS_MOUNTED(fs);
    {
        std::ofstream out(fs.path() + "/Bullets.vx!", std::ios::binary);
        out << kList;
    }
    fs.makeReadOnly();
    cwd = std::make_unique<CurrentDir>(fs.path());
    createForms();
    openEditor([&](TForm2* f) {
        setCell(f, 0, 0, "Lost edit");
        f->Button1->click();
        EXPECT_TRUE(f->isVisible()) << "the editor stays open";
        EXPECT_EQ(f->result(), 0);
    });
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "File access denied");
    EXPECT_EQ(Form1->ComboBox1->itemText(0), "JSB Exact");
    EXPECT_EQ(readBytes(fs.path() + "/Bullets.vx!"), kList);
}

} // namespace
