#include "app/forms.h"
#include "app/shotstatisticspanel.h"
#include "app/tform1.h"
#include "chart/ui/chartwidget.h"
#include "support/ui/mainwindowfixture.h"
#include "support/wmfreader.h"
#include "table/currentfile.h"
#include "table/measurementtable.h"
#include "ui/gridview.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const QString kDash = QStringLiteral("\u2014");

QString range(const char* low, const char* high)
{
    return QString::fromUtf8(low) + QStringLiteral(" \u2013 ") + QString::fromUtf8(high);
}

const QString kNoFlyer = QStringLiteral("Flyer (Grubbs, 95 %): none");

// The panel's confidence texts at 95 %, as confidenceTexts() reads them.
QStringList at95(const QString& mean, const QString& sd, const QString& target,
                 const QString& needed, const QString& flyer)
{
    return {"Mean 95 %", mean, "SD 95 %", sd, target, needed, flyer};
}

class ConfidenceCommands : public MainWindowTest {
protected:
    void SetUp() override { start(""); }

    ShotStatisticsPanel* panel() const { return Form1->ShotStatisticsDock; }

    void shots(const std::vector<std::string>& velocities)
    {
        std::vector<const char*> texts;
        for (const std::string& v : velocities)
            texts.push_back(v.c_str());
        fillVelocities(texts, "0,547");
        Form1->deviationPass(Form1->statisticsPass());
        Form1->Button1->click();
    }

    // What the panel says with confidence, as the user reads it.
    QStringList confidenceTexts() const
    {
        const ShotStatisticsPanel* p = panel();
        return {p->MeanRangeCaption->text(), p->MeanRangeValue->text(),
                p->SdRangeCaption->text(),   p->SdRangeValue->text(),
                p->ShotsTargetEdit->text(),  p->ShotsNeededValue->text(),
                p->FlyerLabel->text()};
    }

    void restart()
    {
        destroyForms();
        createForms();
    }
};

// Mean 852.1 and SD 3.573; 862 is the flyer: G = 9.9 / 3.573 = 2.77 > 2.290 (n = 10).
const std::vector<std::string> kFlyerString = {"850", "851", "852", "850", "851",
                                               "852", "851", "850", "852", "862"};

// By hand from the t, chi-square and Grubbs tables (stats tests check the core against them).
TEST_F(ConfidenceCommands, PanelTextsForNoOneTwoThreeTenAndAFullTableOfShots)
{
    std::vector<std::string> full;
    for (std::size_t i = 0; i < 65'535; ++i)
        full.push_back(std::to_string(849 + i % 3));
    const QStringList tooFew = at95(kDash, kDash, kDash, kDash, "Flyer (Grubbs, 95 %): " + kDash);
    const struct {
        const char* name;
        std::vector<std::string> velocities;
        QStringList expected;
        bool button = false;
    } cases[] = {
        {"none", {}, at95("", "", kDash, "", "")},
        {"one", {"850"}, tooFew},
        {"two", {"850", "852"}, tooFew},
        // 852 ± 4.303·2/√3, 2·√(2/7.378) and 2·√(2/0.0506); ±9 (1 % of 852) from 3 shots.
        {"three",
         {"850", "852", "854"},
         at95(range("847,0", "857,0"), range("1,0", "12,6"), "9 m/s", "3", kNoFlyer)},
        // Mean 851.7, SD √(68/9) = 2.75: the example of ten shots.
        {"ten of SD 2,7",
         {"847,7", "848,7", "849,7", "850,7", "850,7", "851,7", "852,7", "853,7", "855,7", "855,7"},
         at95(range("849,7", "853,7"), range("1,9", "5,0"), "9 m/s", "3", kNoFlyer)},
        // SD √(606/9) = 8.21: another load's SD of 11 lies inside its range.
        {"ten of SD 8,2",
         {"840", "841", "843", "846", "850", "853", "856", "859", "860", "862"},
         at95(range("845,1", "856,9"), range("5,6", "15,0"), "9 m/s", "6", kNoFlyer)},
        {"ten with a flyer", kFlyerString,
         at95(range("849,5", "854,7"), range("2,5", "6,5"), "9 m/s", "3",
              "Shot 10 may be a flyer (Grubbs, 95 %)"),
         true},
        // 849, 850, 851 over and over: mean 850, SD 0.8165, t ≈ z = 1.96 with 65,534 degrees;
        // the SD's range is 0.8165·(1 ± 1.96/√(2·65,534)).
        {"a full table", full,
         at95(range("850,0", "850,0"), range("0,8", "0,8"), "9 m/s", "2", kNoFlyer)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The window as it starts has no shots.
        if (!c.velocities.empty())
            shots(c.velocities);
        EXPECT_EQ(panel()->ShotsValue->text(),
                  c.velocities.empty() ? QString() : QString::number(c.velocities.size()));
        EXPECT_EQ(confidenceTexts(), c.expected);
        EXPECT_EQ(panel()->ExcludeFlyerButton->isVisibleTo(panel()), c.button);
        EXPECT_EQ(panel()->ShotsTargetEdit->isEnabled(), c.expected[4] != kDash);
    }
}

// Pointed out, never removed: the button excludes the shot, and every figure follows.
TEST_F(ConfidenceCommands, TheFlyerIsExcludedByItsButtonOnly)
{
    shots(kFlyerString);
    // The table's own number of the shot, not its row.
    Form1->table().setCell(table::ColN, 10, "17");
    Form1->updateShotStatistics();
    EXPECT_EQ(panel()->FlyerLabel->text(), "Shot 17 may be a flyer (Grubbs, 95 %)");
    EXPECT_EQ(Form1->table().cell(table::ColExcluded, 10), "") << "never excluded by itself";
    EXPECT_EQ(panel()->ShotsValue->text(), "10");
    EXPECT_FALSE(table::hasUnsavedChanges());
    ASSERT_EQ(Form1->ChartDistribution->chart().series(0).count(), 7u);

    panel()->ExcludeFlyerButton->click();
    EXPECT_EQ(Form1->table().cell(table::ColExcluded, 10), table::kExcludedMark);
    EXPECT_TRUE(table::hasUnsavedChanges());
    EXPECT_EQ(panel()->ExcludedLabel->text(), "9 of 10 shots, 1 excluded");
    // 850, 851, 852 three times: mean 851, SD √0.75; t(.975, 8) = 2.306, χ² 17.535 and 2.180.
    EXPECT_EQ(confidenceTexts(),
              at95(range("850,3", "851,7"), range("0,6", "1,7"), "9 m/s", "2", kNoFlyer));
    EXPECT_FALSE(panel()->ExcludeFlyerButton->isVisibleTo(panel()));
    // The distribution chart leaves it out too: IQR 852 - 850, 4/9^(1/3) = 1.92 -> bins of 2.
    const chart::Series& bars = Form1->ChartDistribution->chart().series(0);
    EXPECT_EQ(bars.xs(), (std::vector<double>{850, 852}));
    EXPECT_EQ(bars.ys(), (std::vector<double>{6, 3}));

    // A second press has nothing to exclude.
    panel()->ExcludeFlyerButton->click();
    const std::vector<std::string> excluded = column(table::ColExcluded);
    EXPECT_EQ(std::count(excluded.begin(), excluded.end(), table::kExcludedMark), 1);
}

TEST_F(ConfidenceCommands, ShotsNeededFollowTheSpinBoxUntilTheUnitsChange)
{
    shots(kFlyerString);
    QSpinBox* target = panel()->ShotsTargetEdit;
    EXPECT_EQ(target->value(), 9);
    // ±2: t/√n <= 2/3.573 first at n = 15.
    target->setValue(2);
    EXPECT_EQ(panel()->ShotsNeededValue->text(), "15");
    Form1->updateShotStatistics();
    EXPECT_EQ(target->value(), 2) << "the user's target stays";

    // 2795.6 ft/s: ±28, and SD 11.72 ft/s needs 4 shots (3 give ±29.1).
    Form1->Imperial1->trigger();
    EXPECT_EQ(target->text(), "28 ft/s");
    EXPECT_EQ(panel()->ShotsNeededValue->text(), "4");
    EXPECT_EQ(panel()->MeanRangeValue->text(), range("2787,2", "2804,0"));

    // The selection gets its ranges: 850, 851, 852 is 851 ± 4.303/√3, 1·√(2/7.378)...
    Form1->Metric1->trigger();
    Form1->Grid->selectRows(1, 3);
    EXPECT_EQ((QStringList{panel()->SelectedMeanRangeCaption->text(),
                           panel()->SelectedMeanRangeValue->text(),
                           panel()->SelectedSdRangeCaption->text(),
                           panel()->SelectedSdRangeValue->text()}),
              (QStringList{"Selected mean 95 %", range("848,5", "853,5"), "Selected SD 95 %",
                           range("0,5", "6,3")}));
    Form1->Grid->selectRows(2, 2);
    EXPECT_EQ(panel()->SelectedMeanRangeValue->text(), "");
    EXPECT_EQ(panel()->SelectedSdRangeCaption->text(), "Selected SD 95 %");
}

TEST_F(ConfidenceCommands, LevelIsChosenInTheViewMenuAndRemembered)
{
    EXPECT_TRUE(Form1->Confidence95->isChecked());
    EXPECT_EQ((QStringList{Form1->Confidence90->text(), Form1->Confidence95->text(),
                           Form1->Confidence99->text()}),
              (QStringList{"90 %", "95 %", "99 %"}));
    shots(kFlyerString);
    Form1->Grid->selectRows(1, 3);

    Form1->Confidence99->trigger();
    EXPECT_EQ(Form1->confidence(), 99);
    EXPECT_FALSE(Form1->Confidence95->isChecked());
    // t(.995, 9) = 3.250, χ²(df 9) 23.589 and 1.735; ±9 first at n = 5 (t(.995, 4) = 4.604);
    // G 2.77 against 2.482.
    EXPECT_EQ(confidenceTexts(),
              (QStringList{"Mean 99 %", range("848,4", "855,8"), "SD 99 %", range("2,2", "8,1"),
                           "9 m/s", "5", "Shot 10 may be a flyer (Grubbs, 99 %)"}));
    EXPECT_EQ(panel()->SelectedMeanRangeCaption->text(), "Selected mean 99 %");

    const std::string file =
        qEnvironmentVariable("XDG_CONFIG_HOME").toStdString() + "/Vexorel/Vexorel.conf";
    EXPECT_NE(readBytes(file).find("confidence=99\n"), std::string::npos);
    restart();
    EXPECT_TRUE(Form1->Confidence99->isChecked());
    EXPECT_EQ(panel()->MeanRangeCaption->text(), "Mean 99 %");
    // Another preference saved later keeps the level.
    Form1->Imperial1->trigger();
    panel()->close();
    restart();
    EXPECT_EQ(Form1->confidence(), 99);

    destroyForms();
    dir.write("odd.conf", "[view]\nconfidence=97\n");
    std::filesystem::rename(dir.file("odd.conf"), file);
    createForms();
    EXPECT_TRUE(Form1->Confidence95->isChecked());
    EXPECT_EQ(panel()->SdRangeCaption->text(), "SD 95 %");
}

// Hand-computed bins: Freedman–Diaconis 2·IQR·n^(-1/3) (type 7 quartiles), at least the typed
// resolution, rounded up to 1, 2 or 5 × 10^k, edges on its multiples.
TEST_F(ConfidenceCommands, DistributionChartBinsTheIncludedVelocities)
{
    const struct {
        const char* name;
        std::vector<std::string> velocities;
        bool imperial;
        double first, width;
        std::vector<double> counts;
        double mean;
    } cases[] = {
        // IQR 852 - 850.25: 3.5/10^(1/3) = 1.62 -> 2; 850..864.
        {"flyer", kFlyerString, false, 850, 2, {6, 3, 0, 0, 0, 0, 1}, 852.1},
        // IQR 0.1: 0.2/5^(1/3) = 0.117 -> 0.2, never finer than the tenths typed.
        {"tenths",
         {"850,1", "850,3", "850,2", "850,2", "850,4"},
         false,
         850,
         0.2,
         {1, 3, 1},
         850.24},
        // Equal quartiles: the resolution, 1.
        {"equal quartiles", {"850", "850", "850", "850", "851"}, false, 850, 1, {4, 1}, 850.2},
        // 984.25 and 987.53 ft/s: IQR 1.64, 3.28/2^(1/3) = 2.6 -> 5; 980..990.
        {"imperial", {"300", "301"}, true, 980, 5, {1, 1}, 985.89},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        (c.imperial ? Form1->Imperial1 : Form1->Metric1)->trigger();
        shots(c.velocities);
        const chart::Chart& d = Form1->ChartDistribution->chart();
        EXPECT_EQ(d.bottomAxis.title, c.imperial ? "V [ft/s]" : "V [m/s]");
        ASSERT_GE(d.seriesCount(), 2u);
        const chart::Series& bars = d.series(0);
        ASSERT_TRUE(bars.isBars());
        EXPECT_NEAR(bars.barWidth(), c.width, 1e-12);
        ASSERT_EQ(bars.count(), c.counts.size());
        for (std::size_t i = 0; i < bars.count(); ++i) {
            EXPECT_NEAR(bars.x(i), c.first + i * c.width, 1e-9) << i;
            EXPECT_EQ(bars.y(i), c.counts[i]) << i;
        }
        const chart::Series& mean = d.series(d.seriesCount() - 1);
        ASSERT_EQ(mean.count(), 2u);
        EXPECT_NEAR(mean.x(0), c.mean, 0.005);
        EXPECT_EQ(mean.x(1), mean.x(0)) << "upright";
    }

    // The curve is n·h·pdf: its top over the flyer string is 10·2/(3.573·√(2π)) = 2.233.
    Form1->Metric1->trigger();
    shots(kFlyerString);
    const chart::Series& curve = Form1->ChartDistribution->chart().series(1);
    EXPECT_EQ(curve.title(), "Normal curve");
    EXPECT_NEAR(*std::max_element(curve.ys().begin(), curve.ys().end()), 2.233, 0.002);
    EXPECT_EQ(Form1->ChartDistribution->chart().series(2).title(), "Mean 852,1 m/s");

    prompter.messageAnswers.push_back(ui::MessageResult::Ok);
    Form1->New1->trigger();
    EXPECT_EQ(Form1->ChartDistribution->seriesCount(), 0u) << "no shots, no bars";
}

TEST_F(ConfidenceCommands, DistributionTabHasItsOwnMenuAndIsExportedWhenShown)
{
    QTabWidget* pages = Form1->PageControl1;
    ASSERT_EQ(pages->count(), 4);
    EXPECT_EQ(pages->tabText(3), "Distribution (V)");
    EXPECT_EQ(pages->widget(3), Form1->ChartDistribution);
    QStringList items;
    for (QAction* a : Form1->PopupMenu4->actions())
        if (!a->isSeparator())
            items << a->text();
    EXPECT_EQ(items, (QStringList{"Save as BMP", "Save as WMF", "Print"}));

    Form1->show();
    pages->setCurrentWidget(Form1->ChartDistribution);
    QApplication::processEvents();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(10, 10),
                                 Form1->ChartDistribution->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(Form1->ChartDistribution, &rightClick);
    EXPECT_TRUE(Form1->PopupMenu4->isVisible()) << "its own menu, not the page control's";
    EXPECT_FALSE(Form1->PopupMenu3->isVisible());
    Form1->PopupMenu4->hide();

    // Nothing to save before there are shots.
    Form1->SaveToBMP4->trigger();
    EXPECT_TRUE(prompter.saveAsked.empty());

    // The Legend box counts here too, the 3D box not: bins are no ribbons.
    Form1->CheckBox1->setChecked(true);
    Form1->CheckBox3->setChecked(true);
    shots(kFlyerString);
    EXPECT_TRUE(Form1->ChartDistribution->chart().legendVisible);
    EXPECT_FALSE(Form1->ChartDistribution->chart().view3D);
    Form1->CheckBox3->setChecked(false);
    EXPECT_FALSE(Form1->ChartDistribution->chart().legendVisible);
    prompter.saveAnswers.push_back(QString::fromStdString(dir.file("spread.bmp")));
    Form1->SaveToBMP4->trigger();
    const QImage bmp(QString::fromStdString(dir.file("spread.bmp")));
    EXPECT_EQ(bmp.size(), Form1->ChartDistribution->size());

    prompter.saveAnswers.push_back(QString::fromStdString(dir.file("spread.wmf")));
    Form1->SaveasWMF4->trigger();
    const WmfFile wmf = readWmf(readBytes(dir.file("spread.wmf")));
    EXPECT_TRUE(wmf.problems.empty());
    EXPECT_NE(readBytes(dir.file("spread.wmf")).find("Distribution of V"), std::string::npos);

    // File › Export › Chart as Picture takes the tab that shows.
    Form1->SaveDialog6.selectedFilter = "SVG drawing (*.svg)";
    prompter.saveAnswers.push_back(QString::fromStdString(dir.file("spread.svg")));
    Form1->ExportChartAsPicture1->trigger();
    EXPECT_NE(readBytes(dir.file("spread.svg")).find("Distribution of V"), std::string::npos);
    EXPECT_TRUE(std::none_of(prompter.messages.begin(), prompter.messages.end(),
                             [](const auto& m) { return m.icon == ui::MessageIcon::Critical; }));
}

} // namespace
