#include "app/forms.h"
#include "app/preferences.h"
#include "app/shotstatisticspanel.h"
#include "app/tform1.h"
#include "chart/ui/chartwidget.h"
#include "support/ui/mainwindowfixture.h"
#include "table/currentfile.h"
#include "ui/gridmodel.h"
#include "ui/gridview.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class ViewCommands : public MainWindowTest {
protected:
    void SetUp() override { start(""); }

    ShotStatisticsPanel* panel() const { return Form1->ShotStatisticsDock; }

    // 280..290 m/s: mean 285, ES 10, SD sqrt(68 / 4), median 285.
    void fiveShots()
    {
        fillVelocities({"280", "285", "290", "282", "288"}, "0,547");
        Form1->deviationPass(Form1->statisticsPass());
    }

    QStringList allFigures() const
    {
        const ShotStatisticsPanel* p = panel();
        return {p->ShotsValue->text(), p->MeanValue->text(), p->EsValue->text(),
                p->SdValue->text(),    p->CvValue->text(),   p->MedianValue->text()};
    }
    QStringList selectedFigures() const
    {
        const ShotStatisticsPanel* p = panel();
        return {p->SelectedShotsValue->text(), p->SelectedMeanValue->text(),
                p->SelectedEsValue->text(), p->SelectedSdValue->text()};
    }

    QString shown(int row, int col) const
    {
        return Form1->Grid->model()->index(row, col).data().toString();
    }
    QString header(int col) const
    {
        return Form1->Grid->model()->headerData(col, Qt::Horizontal).toString();
    }

    std::string savedAs(const char* name)
    {
        prompter.saveAnswers.push_back(QString::fromStdString(dir.file(name)));
        Form1->SaveAs1->trigger();
        std::ifstream in(dir.file(name), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    void restart()
    {
        destroyForms();
        createForms();
    }
};

TEST_F(ViewCommands, PanelIsDockedRightShownAndHiddenFromTheViewMenu)
{
    QStringList menus;
    for (QAction* menu : Form1->menuBar()->actions())
        menus << menu->text();
    ASSERT_GE(menus.size(), 3);
    EXPECT_EQ(menus.mid(0, 3), (QStringList{"&File", "&Edit", "&View"}));

    EXPECT_EQ(panel()->windowTitle(), "Shot statistics");
    EXPECT_EQ(Form1->dockWidgetArea(panel()), Qt::RightDockWidgetArea);
    EXPECT_EQ(Form1->ShotStatistics1->text(), "Shot Statistics");
    EXPECT_TRUE(Form1->ShotStatistics1->isChecked());

    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    EXPECT_TRUE(panel()->isVisible());
    // The panel comes beside the designed area, not out of it.
    EXPECT_EQ(Form1->centralWidget()->width(), 829);

    Form1->ShotStatistics1->trigger();
    EXPECT_FALSE(panel()->isVisible());
    Form1->ShotStatistics1->trigger();
    EXPECT_TRUE(panel()->isVisible());
    // Its own close button unticks the item.
    panel()->close();
    EXPECT_FALSE(Form1->ShotStatistics1->isChecked());
}

TEST_F(ViewCommands, PanelShowsTheFiguresOfAllRowsWithTheirCaptionsAsBuddies)
{
    EXPECT_EQ(allFigures(), QStringList(6, QString())) << "an empty table shows no figures";

    fiveShots();
    EXPECT_EQ(allFigures(), (QStringList{"5", "285,0", "10,0", "4,1", "1,45%", "285,0"}));
    EXPECT_EQ(panel()->WithoutVelocityLabel->text(), "");

    // A screen reader hears each caption with its value, and the caption explains it.
    const QList<QLabel*> captions = panel()->findChildren<QLabel*>();
    QStringList heard;
    for (const QLabel* caption : captions) {
        if (caption->buddy() == panel()->EsValue) {
            heard << caption->text() + " " + qobject_cast<QLabel*>(caption->buddy())->text();
            EXPECT_TRUE(caption->toolTip().contains("highest")) << caption->toolTip().toStdString();
        }
    }
    EXPECT_EQ(heard, QStringList{"ES 10,0"});
    for (QLabel* value : {panel()->ShotsValue, panel()->MeanValue, panel()->SdValue,
                          panel()->CvValue, panel()->MedianValue}) {
        const bool hasCaption = std::any_of(captions.begin(), captions.end(),
                                            [&](QLabel* c) { return c->buddy() == value; });
        EXPECT_TRUE(hasCaption) << value->objectName().toStdString();
    }
}

TEST_F(ViewCommands, SelectionOfTwoRowsOrMoreHasFiguresOfItsOwn)
{
    fiveShots();
    EXPECT_EQ(selectedFigures(), QStringList(4, QString())) << "one current row is no series";

    // 285, 290, 282: mean 285,67, ES 8, SD sqrt(32,67 / 2).
    Form1->Grid->selectRows(2, 4);
    EXPECT_EQ(selectedFigures(), (QStringList{"3", "285,7", "8,0", "4,0"}));
    EXPECT_EQ(allFigures()[0], "5") << "the whole table's figures stay";

    Form1->Grid->selectRows(4, 4);
    EXPECT_EQ(selectedFigures(), QStringList(4, QString()));

    // New empties the table and every figure with it.
    Form1->Grid->selectRows(1, 5);
    prompter.messageAnswers.push_back(ui::MessageResult::Ok);
    Form1->New1->trigger();
    EXPECT_EQ(allFigures(), QStringList(6, QString()));
    EXPECT_EQ(selectedFigures(), QStringList(4, QString()));
}

TEST_F(ViewCommands, RowsWithoutAVelocityAreCountedWhileTheLabelsPassFails)
{
    // The statistics pass after Open stops at the first velocity that does not convert.
    dir.write("bad.vxm", "1\r\n280\r\n\r\n\r\n\r\n\r\n2\r\n285\r\n\r\n\r\n\r\n\r\n"
                         "3\r\n29O\r\n\r\n\r\n\r\n\r\n4\r\n282\r\n\r\n\r\n\r\n\r\n"
                         "5\r\n\r\n\r\n\r\n\r\n\r\n6\r\n281\r\n\r\n\r\n\r\n\r\n");
    prompter.openAnswers.push_back(QString::fromStdString(dir.file("bad.vxm")));
    Form1->Open1->trigger();
    ASSERT_FALSE(prompter.messages.empty()) << "the failed pass is reported";

    // 280, 285, 282, 281 remain: mean 282, ES 5, median 281,5.
    EXPECT_EQ(allFigures().mid(0, 3), (QStringList{"4", "282,0", "5,0"}));
    EXPECT_EQ(allFigures()[5], "281,5");
    EXPECT_EQ(panel()->WithoutVelocityLabel->text(), "2 rows without a velocity");
}

TEST_F(ViewCommands, ImperialConvertsWhatIsShownAndNothingStored)
{
    fillVelocities({"300", "200"}, "1,000");
    for (std::size_t row : {1, 2})
        Form1->table().setCell(3, row, "1,000");
    Form1->deviationPass(Form1->statisticsPass());
    Form1->setWeightText("8,5");
    const std::string metricFile = savedAs("metric.vxm");
    const QStringList metricLabels = labels();
    EXPECT_EQ(metricLabels, (QStringList{"300", "200", "250,00", "45,00", "20,00", "32,50"}));

    Form1->Imperial1->trigger();
    EXPECT_EQ(Form1->units(), table::Units::Imperial);
    EXPECT_EQ((QStringList{header(1), header(2), header(3), header(5)}),
              (QStringList{"V (ft/s)", "E (ft·lbf)", "m (gr)", "dV (%)"}));
    EXPECT_EQ((QStringList{shown(0, 1), shown(0, 2), shown(0, 3), shown(0, 5)}),
              (QStringList{"984", "33,2", "15,4", "20,00"}));
    EXPECT_EQ(labels(), (QStringList{"984", "656", "820,21", "33,19", "14,75", "23,97"}));
    EXPECT_EQ(panel()->MeanValue->text(), "820,2");
    // Every column still shows its whole header.
    const QHeaderView* h = Form1->Grid->horizontalHeader();
    EXPECT_GE(h->sectionSize(2), h->fontMetrics().horizontalAdvance(header(2)));

    // Stored texts, and so the file, stay metric.
    EXPECT_EQ(Form1->table().cell(1, 1), "300");
    EXPECT_EQ(Form1->table().cell(2, 1), "45");
    EXPECT_EQ(Form1->table().cell(3, 1), "1,000");
    EXPECT_EQ(Form1->table().cell(1, 0), "V (m/s)");
    EXPECT_EQ(Form1->Grid->model()->index(0, 1).data(Qt::EditRole).toString(), "300");
    EXPECT_EQ(savedAs("imperial.vxm"), metricFile);
    Form1->Metric1->trigger();
    Form1->Imperial1->trigger();
    EXPECT_FALSE(table::hasUnsavedChanges()) << "a view change is no change to the shots";
    EXPECT_EQ(Form1->weightText(), "8,5  ") << "the weight field stays in grams";

    // The charts follow: the velocity axis in ft/s, the first shot at 984.
    const chart::Chart& v = Form1->ChartV->chart();
    EXPECT_EQ(v.leftAxis.title, "V [ft/s]");
    ASSERT_EQ(v.seriesCount(), 1u);
    EXPECT_NEAR(v.series(0).y(0), 984.25, 0.01);

    Form1->Metric1->trigger();
    EXPECT_EQ(v.leftAxis.title, "V [m/s]");
    EXPECT_EQ(labels(), metricLabels);
    EXPECT_EQ(shown(0, 1), "300");
    EXPECT_EQ(header(1), "V (m/s)");
    EXPECT_EQ(h->sectionSize(1), 45) << "the designed widths come back";
}

// The user's widths survive every Units click; Imperial only widens the V, E and m columns
// its headers do not fit, and Metric widens nothing.
TEST_F(ViewCommands, UnitsKeepTheWidthsTheUserSet)
{
    QHeaderView* h = Form1->Grid->horizontalHeader();
    const auto fits = [&](int col) {
        return h->sectionSize(col) >= h->fontMetrics().horizontalAdvance(header(col));
    };
    h->resizeSection(table::ColBullet, 130);
    h->resizeSection(table::ColV, 90);
    h->resizeSection(table::ColE, 20);
    h->resizeSection(table::ColM, 12);

    Form1->Imperial1->trigger();
    EXPECT_EQ(h->sectionSize(table::ColBullet), 130);
    EXPECT_EQ(h->sectionSize(table::ColV), 90) << "wide enough already";
    EXPECT_TRUE(fits(table::ColE) && fits(table::ColM));
    const int e = h->sectionSize(table::ColE);
    EXPECT_GT(e, 20);

    Form1->Metric1->trigger();
    EXPECT_EQ(h->sectionSize(table::ColBullet), 130);
    EXPECT_EQ(h->sectionSize(table::ColV), 90);
    EXPECT_EQ(h->sectionSize(table::ColE), e) << "never narrowed";
    h->resizeSection(table::ColM, 12);
    Form1->Metric1->trigger();
    EXPECT_EQ(h->sectionSize(table::ColM), 12) << "Metric widens nothing";
    EXPECT_EQ(Form1->table().colWidth(table::ColM), 12) << "the table keeps the user's width";
    EXPECT_EQ(Form1->table().colWidth(table::ColBullet), 130);
}

// Headers roomier than the designed widths (a larger font would do the same): the columns
// Imperial widens are wide from the start when Imperial is remembered.
TEST_F(ViewCommands, RememberedImperialWidensItsHeadersAtTheStart)
{
    qApp->setStyleSheet(QStringLiteral("QHeaderView::section { padding: 0 12px; }"));
    const auto widths = [this] {
        const QHeaderView* h = Form1->Grid->horizontalHeader();
        return std::vector<int>{h->sectionSize(1), h->sectionSize(2), h->sectionSize(3)};
    };
    restart();
    const std::vector<int> metric = widths();
    Form1->Imperial1->trigger();
    const std::vector<int> clicked = widths();
    restart();
    qApp->setStyleSheet(QString());
    EXPECT_EQ(Form1->units(), table::Units::Imperial);
    for (std::size_t i = 0; i < metric.size(); ++i)
        EXPECT_GT(clicked[i], metric[i]) << "column " << i + 1 << " is widened by the click";
    EXPECT_EQ(widths(), clicked) << "and at the start";
}

TEST_F(ViewCommands, UnitsPanelAndFitAreRememberedAndOddValuesIgnored)
{
    Form1->Imperial1->trigger();
    Form1->ShotStatistics1->trigger();
    Form1->FitAxesToData1->trigger();
    restart();
    EXPECT_EQ(Form1->units(), table::Units::Imperial);
    EXPECT_TRUE(Form1->Imperial1->isChecked());
    EXPECT_FALSE(Form1->Metric1->isChecked());
    EXPECT_EQ(header(1), "V (ft/s)");
    EXPECT_TRUE(panel()->isHidden());
    EXPECT_FALSE(Form1->ShotStatistics1->isChecked());
    EXPECT_TRUE(Form1->FitAxesToData1->isChecked());

    // The panel closed by its own button is remembered at once; a window that goes without a
    // change writes nothing.
    Form1->ShotStatistics1->trigger();
    restart();
    EXPECT_FALSE(panel()->isHidden());
    const std::string file =
        qEnvironmentVariable("XDG_CONFIG_HOME").toStdString() + "/Vexorel/Vexorel.conf";
    panel()->close();
    EXPECT_TRUE(panel()->isHidden()) << "closed";
    EXPECT_EQ(readBytes(file),
              "[chart]\nfitAxes=true\n\n[view]\nshotStatistics=false\nunits=imperial\n");
    std::filesystem::remove(file);
    restart();
    EXPECT_FALSE(std::filesystem::exists(file)) << "written at exit";
    EXPECT_FALSE(panel()->isHidden()) << "the file is gone: defaults";

    destroyForms();
    dir.write("odd.conf", "[view]\nunits=furlongs\nshotStatistics=maybe\n[chart]\nfitAxes=7\n");
    std::filesystem::rename(dir.file("odd.conf"), file);
    createForms();
    EXPECT_EQ(Form1->units(), table::Units::Metric);
    EXPECT_FALSE(panel()->isHidden());
    EXPECT_FALSE(Form1->FitAxesToData1->isChecked());
}

} // namespace
