#include "app/forms.h"
#include "app/shotstatisticspanel.h"
#include "app/tform1.h"
#include "help/taboutbox.h"
#include "help/thelpform.h"
#include "imports/devicefolders.h"
#include "imports/ui/weightdialog.h"
#include "runtime/decimalseparator.h"
#include "serial/comport.h"
#include "serial/ui/comcombobox.h"
#include "serial/ui/comsetupfrm.h"
#include "support/ui/mainwindowfixture.h"
#include "table/currentfile.h"
#include "ui/gridview.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace {

using MainWindow = MainWindowTest;

TEST_F(MainWindow, StartsInItsInitialState)
{
    start("JSB Exact\r\n0,547\r\n");
    TForm1* f = Form1;
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(labels(), QStringList(6, "###"));
    EXPECT_FALSE(f->Timer->isActive());
    EXPECT_FALSE(f->CheckBox1->isChecked() || f->CheckBox2->isChecked() ||
                 f->CheckBox3->isChecked());
    EXPECT_EQ(f->table().rowCount(), 2u);
    EXPECT_EQ(f->Grid->model()->rowCount(), 1);
    EXPECT_TRUE(f->Memo1->isHidden());
    EXPECT_EQ(table::currentFileName(), "");
    // The other windows exist from the start, hidden.
    ASSERT_NE(AboutBox, nullptr);
    EXPECT_NE(HelpForm, nullptr);
    EXPECT_FALSE(AboutBox->isVisible());
    EXPECT_EQ(f->ComboBox1->count(), 1);
    EXPECT_EQ(f->weightText(), "0,547");
    EXPECT_EQ(f->startDir(), dir.path());
}

// What a screen reader is told a widget is called. Offscreen, without a bridge and without
// QAccessible::setActive(true), the interfaces are still built: QApplication installs the
// widgets' accessibility factory itself, and being active only decides whether change
// events are passed on to a bridge.
QString spokenName(QWidget* widget)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// The texts of the widgets that label `widget`.
QStringList spokenLabels(QWidget* widget)
{
    QStringList names;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    if (!iface)
        return names;
    for (const auto& [other, relation] : iface->relations(QAccessible::Label))
        names << other->text(QAccessible::Name);
    return names;
}

TEST_F(MainWindow, ControlsCarryAccessibleNames)
{
    start("");
    for (QWidget* w : {(QWidget*)Form1->VmaxLabel, (QWidget*)Form1->EaLabel, (QWidget*)Form1->Grid,
                       (QWidget*)Form1->MaskEdit1, (QWidget*)Form1->Label1})
        EXPECT_FALSE(spokenName(w).isEmpty()) << w->objectName().toStdString();
    for (QWidget* w : Form1->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QPushButton*>(w) || qobject_cast<QCheckBox*>(w) ||
                             qobject_cast<QComboBox*>(w) || qobject_cast<QListWidget*>(w) ||
                             qobject_cast<QGroupBox*>(w);
        if (control && w->window() == Form1) {
            EXPECT_FALSE(spokenName(w).isEmpty()) << w->objectName().toStdString();
        }
    }
}

TEST_F(MainWindow, ScreenReaderHearsValuesStatusAndButtonCaption)
{
    start("A\r\n0,547\r\n");
    fillVelocities({"305", "298"}, "0,547");
    Form1->deviationPass(Form1->statisticsPass());
    const std::pair<QLabel*, const char*> values[] = {
        {Form1->VmaxLabel, "V max"}, {Form1->VminLabel, "V min"}, {Form1->VaLabel, "V a"},
        {Form1->EmaxLabel, "E max"}, {Form1->EminLabel, "E min"}, {Form1->EaLabel, "E a"}};
    const QStringList expected = {"305", "298", "301,50", "25,40", "24,30", "24,85"};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const auto& [label, caption] = values[i];
        EXPECT_EQ(spokenName(label), expected[int(i)]) << caption;
        // Its caption labels it (the group box's title labels it too).
        EXPECT_TRUE(spokenLabels(label).contains(QString::fromUtf8(caption)))
            << spokenLabels(label).join(" | ").toStdString();
    }

    EXPECT_EQ(spokenName(Form1->Label1), "Press button!");
    EXPECT_EQ(spokenName(Form1->BitBtn1), "Load!");
    // The names follow the texts as the session changes them.
    Form1->Label1->setText(QStringLiteral("Loaded."));
    EXPECT_EQ(spokenName(Form1->Label1), "Loaded.");
    Form1->BitBtn1->setText(QStringLiteral("Stop"));
    EXPECT_EQ(spokenName(Form1->BitBtn1), "Stop");
}

TEST_F(MainWindow, NeverShrinksBelowTheDesignedClientArea)
{
    start("");
    Form1->show();
    QWidget* client = Form1->centralWidget();
    const QRect chronolite = Form1->findChild<QWidget*>("GroupBox3")->geometry();
    const QRect chart = Form1->findChild<QWidget*>("GroupBox6")->geometry();
    ASSERT_FALSE(chronolite.intersects(chart));
    Form1->resize(300, 200);
    QApplication::processEvents();
    EXPECT_GE(client->width(), 829);
    EXPECT_GE(client->height(), 518);
    const QRect button(Form1->BitBtn1->mapTo(Form1, QPoint(0, 0)), Form1->BitBtn1->size());
    EXPECT_TRUE(Form1->rect().contains(button));
    EXPECT_FALSE(Form1->findChild<QWidget*>("GroupBox3")
                     ->geometry()
                     .intersects(Form1->findChild<QWidget*>("GroupBox6")->geometry()));
    EXPECT_GT(Form1->BitBtn1->width(), 40);
}

// The report's first line stays; the second says which file was looked for, and where.
QString missingListReport(const std::string& folder)
{
    return QString::fromStdString("File not found\nNo bullet list 'Bullets.vx!' in '" +
                                  std::filesystem::canonical(folder).string() + "'");
}

TEST_F(MainWindow, WithoutBulletFileReportsOnceAndStillWorks)
{
    start(std::nullopt);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, missingListReport(dir.path()));
    EXPECT_EQ(prompter.messages[0].icon, ui::MessageIcon::Critical);
    EXPECT_EQ(Form1->ComboBox1->count(), 0);
    EXPECT_EQ(Form1->weightText(), " ,   ");
    EXPECT_TRUE(Form1->isEnabled());
}

// The launcher's note of why the program starts where it does: under the list's report in
// the same first message, or alone.
TEST_F(MainWindow, TheStartNoteComesWithTheFirstMessage)
{
    startNote = "/home/u/Vexorel cannot be made: File exists; started in /home/u";
    start(std::nullopt);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              missingListReport(dir.path()) + "\n" + QString::fromStdString(startNote));

    destroyForms();
    prompter.messages.clear();
    dir.write("bullets.vx!", "JSB Exact\r\n0,547\r\n");
    createForms(startNote);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QString::fromStdString(startNote));
    EXPECT_EQ(Form1->ComboBox1->count(), 1) << "the list is loaded all the same";
}

TEST_F(MainWindow, BulletFileIsFoundInTheCurrentFolderWhateverItsCase)
{
    start("Пуля\r\n####\r\nB\r\n0,510\r\n", "bullets.VX!");
    EXPECT_TRUE(prompter.messages.empty());
    ASSERT_EQ(Form1->ComboBox1->count(), 2);
    EXPECT_EQ(Form1->ComboBox1->itemText(0), "Пуля");
    EXPECT_EQ(Form1->ComboBox1->currentIndex(), 0);
    EXPECT_EQ(Form1->weightText(), " ,   ") << "#### leaves the mask unfilled";
}

TEST_F(MainWindow, WeightFieldReadsTypedDigitsAndBlanks)
{
    start("A\r\n0,510\r\n");
    Form1->MaskEdit1->clear();
    EXPECT_EQ(Form1->weightText(), " ,   ");
    Form1->MaskEdit1->setFocus();
    Form1->MaskEdit1->home(false);
    QTest::keyClicks(Form1->MaskEdit1, "0,120");
    EXPECT_EQ(Form1->weightText(), "0,120");
    Form1->setWeightText("1,2");
    EXPECT_EQ(Form1->weightText(), "1,2  ");
}

TEST_F(MainWindow, WeightFieldTakesRifleWeightsAsTyped)
{
    start("A\r\n0,510\r\n");
    QLineEdit* field = Form1->MaskEdit1;
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "10,886");
    EXPECT_EQ(Form1->weightText(), "10,886");
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->text(), "10,8__") << "unfilled positions show as blanks";
    EXPECT_EQ(Form1->weightText(), "10,8  ");
    QTest::keyClicks(field, "x.");
    EXPECT_EQ(Form1->weightText(), "10,8  ") << "no letters, no second comma";

    field->selectAll();
    QTest::keyClicks(field, "168000");
    EXPECT_EQ(Form1->weightText(), "168,000") << "a full integer part flows on past the comma";
    QTest::keyClick(field, Qt::Key_9);
    EXPECT_EQ(Form1->weightText(), "168,000");

    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_EQ(Form1->weightText(), " ,   ");
}

class Separator : public MainWindowTest, public ::testing::WithParamInterface<char> {};

TEST_P(Separator, StatisticsAndDeviationsFillLabelsAndCells)
{
    start("");
    rt::setDecimalSeparator(GetParam());
    const QString s(QChar::fromLatin1(GetParam()));
    fillVelocities({"300", "310", "290"}, "0,120");
    const double mean = Form1->statisticsPass();
    Form1->deviationPass(mean);
    EXPECT_EQ(labels(), (QStringList{"310", "290", "300" + s + "00", "5" + s + "77", "5" + s + "05",
                                     "5" + s + "41"}));
    QAbstractItemModel* m = Form1->Grid->model();
    EXPECT_EQ(m->index(0, 2).data().toString(), "5" + s + "4");
    EXPECT_EQ(m->index(1, 5).data().toString(), "3" + s + "33");
    EXPECT_EQ(m->index(2, 5).data().toString(), "-3" + s + "33");
}

TEST_P(Separator, InvalidEnergyShowsFourHashesInTheEnergyLabels)
{
    start("");
    rt::setDecimalSeparator(GetParam());
    fillVelocities({"300", "310"}, " ,   ");
    EXPECT_EQ(Form1->Grid->model()->index(0, 2).data().toString(), "####");
    Form1->statisticsPass();
    EXPECT_EQ(labels().mid(3), QStringList(3, "####"));
    EXPECT_EQ(Form1->VmaxLabel->text(), "310");
}

INSTANTIATE_TEST_SUITE_P(Locales, Separator, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

TEST_F(MainWindow, FailedStatisticsPassLeavesTheLabels)
{
    start("");
    fillVelocities({"300", "bad"}, "0,120");
    EXPECT_THROW(Form1->statisticsPass(), std::exception);
    EXPECT_EQ(labels(), QStringList(6, "###"));
}

TEST_F(MainWindow, GridAlwaysHasACurrentRowAndSelection)
{
    start("");
    fillVelocities({"300", "310", "290", "305"}, "0,120");
    ui::GridSelection sel = Form1->Grid->selection();
    EXPECT_EQ(sel.top, 1u);
    EXPECT_EQ(sel.bottom, 1u);
    Form1->Grid->selectRows(2, 4);
    sel = Form1->Grid->selection();
    EXPECT_EQ(sel.top, 2u);
    EXPECT_EQ(sel.bottom, 4u);
    Form1->Grid->clearSelection();
    EXPECT_EQ(Form1->Grid->selection().top, 2u) << "with nothing marked, the current row";
    Form1->table().setRowCount(2);
    EXPECT_TRUE(Form1->Grid->currentIndex().isValid());
    EXPECT_EQ(Form1->Grid->selection().top, 1u);
}

TEST_F(MainWindow, UserColumnWidthsGoToTheTable)
{
    start("");
    Form1->Grid->setColumnWidth(4, 120);
    EXPECT_EQ(Form1->table().colWidth(4), 120);
}

TEST_F(MainWindow, CaptionFollowsTheCurrentFile)
{
    start("");
    table::setCurrentFileName("/home/u/shots.vxm");
    EXPECT_EQ(Form1->windowTitle(), "/home/u/shots.vxm     Vexorel!");
    table::setCurrentFileName("");
    EXPECT_EQ(Form1->windowTitle(), "Vexorel!");
}

TEST_F(MainWindow, HelpAndAboutOpenTheWindowsMadeAtStartUp)
{
    start("");
    QDialog* help = HelpForm;
    QDialog* about = AboutBox;
    const auto windowsBefore = QApplication::topLevelWidgets().size();
    Form1->FAQ1->trigger();
    Form1->About1->trigger();
    ASSERT_EQ(prompter.modalShown.size(), 2u);
    EXPECT_EQ(prompter.modalShown[0], help);
    EXPECT_EQ(prompter.modalShown[1], about);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsBefore);
}

// The help names what the window shows as the window shows it.
TEST_F(MainWindow, HelpNamesTheCommandsAnswersAndFiguresAsTheWindowShowsThem)
{
    start("A\r\n0,547\r\n");
    const auto page = [](const char* caption) {
        QTabWidget* pages = HelpForm->pages();
        for (int i = 0; i < pages->count(); ++i) {
            if (pages->tabText(i) == QString::fromUtf8(caption))
                return pages->widget(i)->findChild<QPlainTextEdit*>()->toPlainText();
        }
        ADD_FAILURE() << "no page " << caption;
        return QString();
    };
    WeightDialog question(
        QStringLiteral("list.txt"), Form1->ComboBox1->model(), 0,
        [](int) { return std::string("0,547"); }, table::Units::Metric);
    Form1->Imperial1->trigger();
    const QString grains = Form1->findChild<QLabel*>("Label2")->text();
    Form1->Metric1->trigger();
    const auto caption = [](const char* name) {
        return Form1->ShotStatisticsDock->findChild<QLabel*>(QString::fromLatin1(name));
    };

    // As the device picker's caption gives it.
    const QString sessions = QString::fromStdString(imports::deviceSummary(
        {{imports::Device::XeroC1, "/"}, std::vector<imports::DeviceString>(14)}));

    const std::pair<const char*, QString> named[] = {
        {"Измерения", "File › Import (Ctrl+I)"},
        {"Измерения", "File › " + Form1->Import1->text()},
        {"Измерения", "File › " + Form1->ImportFromDevice1->text()},
        {"Измерения", "File › " + Form1->ImportFolder1->text()},
        // The folders the no-chronograph message names too.
        {"Измерения", "Garmin/Shot_Sessions"},
        {"Измерения", "LBR"},
        {"Измерения", "MTP"},
        {"Измерения", "«" + sessions + "»"},
        {"Измерения", "«" + question.FromList->text() + "»"},
        {"Измерения", "«" + question.Typed->text() + "»"},
        {"Измерения", "«" + question.NoWeight->text() + "»"},
        {"Измерения", "«" + Form1->ExportTableAsCsv1->text() + "»"},
        {"Измерения", "«" + Form1->ExportLabRadarReport1->text() + "»"},
        {"Измерения", "«" + Form1->ExportChartAsPicture1->text() + "»"},
        {"Измерения", "«" + Form1->ExportReportAsPdf1->text() + "»"},
        {"Измерения", "File › " + Form1->PrintReport1->text()},
        {"Графики", "Chart › " + Form1->FitAxesToData1->text()},
        {"Пули", "«" + grains + "»"},
        {"Ед. измерения", "«" + grains + "»"},
        {"Статистика", caption("SdNCaption")->text()},
        {"Статистика", caption("SelectedSdNCaption")->text()},
        {"Статистика", "• " + caption("MeanRangeCaption")->text() + " — "},
        {"Статистика", "• " + caption("SdRangeCaption")->text() + " — "},
        {"Статистика", "• " + caption("ShotsNeededCaption")->text()},
        {"Статистика", "View › " + Form1->findChild<QMenu*>("Confidence1")->title()},
        {"Статистика", "«" + Form1->ShotStatisticsDock->ExcludeFlyerButton->text() + "»"},
        {"Статистика", "«" + Form1->PageControl1->tabText(3) + "»"},
        {"Статистика", Form1->SaveToBMP4->text() + ", " + Form1->SaveasWMF4->text() + ", " +
                           Form1->Print5->text()},
        {"Графики", "«" + Form1->PageControl1->tabText(3) + "»"},
    };
    for (const auto& [where, text] : named)
        EXPECT_TRUE(page(where).contains(text)) << where << ": " << text.toStdString();

    // Each SD is compared with the devices its tooltip names, in one sentence of the help.
    const QStringList sentences = page("Статистика").split(". ");
    for (const auto& [name, devices] :
         {std::pair{"SdCaption", QStringList{"LabRadar", "MagnetoSpeed"}},
          std::pair{"SdNCaption", QStringList{"Garmin Xero"}}}) {
        const QLabel* sd = caption(name);
        for (const QString& device : devices) {
            EXPECT_TRUE(sd->toolTip().contains(device)) << name;
            const bool told =
                std::any_of(sentences.begin(), sentences.end(), [&](const QString& s) {
                    return s.contains(device) && s.contains("с " + sd->text());
                });
            EXPECT_TRUE(told) << device.toStdString() << " with " << sd->text().toStdString();
        }
    }
}

TEST_F(MainWindow, WindowFollowsItsAnchorsWhenResized)
{
    start("");
    Form1->show();
    QWidget* measurements = Form1->findChild<QWidget*>("GroupBox2");
    QWidget* chronolite = Form1->findChild<QWidget*>("GroupBox3");
    QWidget* statistics = Form1->findChild<QWidget*>("GroupBox5");
    const QRect m0 = measurements->geometry();
    const QRect c0 = chronolite->geometry();
    const QRect s0 = statistics->geometry();
    const QRect p0 = Form1->PageControl1->geometry();
    Form1->resize(Form1->width() + 100, Form1->height() + 50);
    QApplication::processEvents();
    EXPECT_EQ(measurements->geometry(), m0.adjusted(0, 0, 0, 50));
    EXPECT_EQ(chronolite->geometry(), c0.adjusted(0, 0, 100, 0));
    EXPECT_EQ(statistics->geometry(), s0);
    EXPECT_EQ(Form1->PageControl1->geometry(), p0.adjusted(0, 0, 100, 50));
}

TEST_F(MainWindow, ComSetupFromTheButtonAndBothMenusSetsTheDownloadPort)
{
    start("");
    int opened = 0;
    prompter.onModal = [&](QDialog* dialog) {
        auto* form = dynamic_cast<TComSetupFrm*>(dialog);
        EXPECT_NE(form, nullptr);
        if (!form)
            return int(QDialog::Rejected);
        ++opened;
        EXPECT_EQ(form->Combo2->currentText(), opened == 1 ? "9600" : "19200");
        const int index = form->Combo2->findText(QStringLiteral("19200"));
        form->Combo2->setCurrentIndex(index);
        emit form->Combo2->activated(index);
        return int(QDialog::Accepted);
    };
    Form1->Button2->click();
    Form1->COMSetup1->trigger();
    Form1->COMSetup2->trigger();
    EXPECT_EQ(opened, 3);
    EXPECT_EQ(Form1->ComPort->BaudRate(), br19200);
    EXPECT_TRUE(prompter.messages.empty());
}

} // namespace
