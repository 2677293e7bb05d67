// Import from Device, Import Folder, Add Series of several files, drops, and the import read
// off the window's thread, through the real window.
#include "app/forms.h"
#include "app/tform1.h"
#include "chart/ui/chartwidget.h"
#include "imports/ui/seriesdialog.h"
#include "imports/ui/stringpicker.h"
#include "imports/ui/unitdialog.h"
#include "support/devicetrees.h"
#include "support/ui/mainwindowfixture.h"
#include "table/currentfile.h"
#include "table/measurementtable.h"
#include "ui/gridview.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include <atomic>
#include <future>
#include <memory>

namespace {

constexpr char kGarmin[] = "\"308 Win 168 SMK\"\r\n"
                           "#,SPEED (FPS),KE (FT-LB),TIME\r\n"
                           "1, 2804.0, 2932.6, 9:41:02 AM\r\n"
                           "2, 2780.4, 2883.4, 9:41:40 AM\r\n"
                           "-,,,,,,\r\n"
                           "PROJECTILE WEIGHT (GRAINS),168.0,,,,,,,\r\n";

constexpr char kMagnetoSpeed[] = "Series,12, Shots:, 2\r\n"
                                 "Series,Shot,Speed\r\n"
                                 "12, 1,  801, m/s\r\n"
                                 "12, 2,  812, m/s\r\n"
                                 "----,----,----,----\r\n"
                                 "Series,13, Shots:, 1\r\n"
                                 "Series,Shot,Speed\r\n"
                                 "13, 1,  790, m/s\r\n"
                                 "----,----,----,----\r\n";

class DeviceCommands : public MainWindowTest {
protected:
    void SetUp() override
    {
        start("");
        writeLabRadarCard(dir, "card");
        writeXeroDrive(dir, "xero");
        dir.write("string.csv", kGarmin);
        dir.write("LOG.CSV", kMagnetoSpeed);
        dir.write("list.txt", "300\r\n310\r\n");
    }

    QString path(const char* name) const { return QString::fromStdString(dir.file(name)); }

    QStringList seriesItems() const
    {
        QStringList items;
        for (int i = 0; i < Form1->ListBox1->count(); ++i)
            items << Form1->ListBox1->item(i)->text();
        return items;
    }

    // What the string picker showed last; its rows as "name|date|shots|mean", "(refused)" for
    // a row that cannot be chosen.
    struct {
        QString caption;
        QString meanHeader;
        QStringList rows;
        bool several = false;
    } picker;

    // The picker is answered with these rows (none: as it comes, the newest chosen), any other
    // dialog with `others`.
    void answerPicker(const QList<int>& chosen, int others = QDialog::Rejected)
    {
        picker = {};
        prompter.onModal = [this, chosen, others](QDialog* dialog) {
            auto* shown = qobject_cast<StringPicker*>(dialog);
            if (!shown)
                return others;
            const QTreeWidget* list = shown->list();
            picker.caption = shown->caption()->text();
            picker.meanHeader = list->headerItem()->text(4);
            picker.several = list->selectionMode() == QAbstractItemView::ExtendedSelection;
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* item = list->topLevelItem(i);
                QStringList cells;
                for (int col = 1; col <= 4; ++col)
                    cells << item->text(col);
                picker.rows << cells.join('|') + (item->isDisabled() ? " (refused)" : "");
            }
            if (!chosen.isEmpty())
                shown->choose(chosen);
            return int(QDialog::Accepted);
        };
    }
};

TEST_F(DeviceCommands, ImportFolderListsTheCardInTheUnitsShownAndImportsTheStringPicked)
{
    struct Case {
        table::Units units;
        QString meanHeader;
        QString series2Mean;
        QString series1Mean;
    };
    const Case cases[] = {{table::Units::Metric, "Mean (m/s)", "808,5", "853,8"},
                          {table::Units::Imperial, "Mean (ft/s)", "2652,6", "2801,3"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.meanHeader.toStdString());
        (c.units == table::Units::Imperial ? Form1->Imperial1 : Form1->Metric1)->trigger();
        if (!table::isEmpty(Form1->table()))
            prompter.messageAnswers.push_back(ui::MessageResult::Ok);
        prompter.folderAnswers.push_back(path("card"));
        answerPicker({1});
        Form1->ImportFolder1->trigger();

        ASSERT_TRUE(prompter.messages.size() <= 1u)
            << prompter.messageTexts().join('\n').toStdString();
        EXPECT_EQ(picker.caption,
                  "LabRadar, 5 series, 2 of them unreadable in '" + path("card/LBR") + "'");
        EXPECT_EQ(picker.meanHeader, c.meanHeader);
        EXPECT_EQ(picker.rows,
                  (QStringList{"Series 2|2024-05-11 10:00:00|2|" + c.series2Mean,
                               "Series 1|2024-05-10 09:41:02|3|" + c.series1Mean, "Series 7||0|",
                               "Series 10||| (refused)", "Series 4||| (refused)"}));
        // Series 1 as Import takes it: every shot exactly, its time, the report's weight.
        EXPECT_EQ(column(1), (std::vector<std::string>{"854,6592", "847,344", "859,536"}));
        EXPECT_EQ(column(3), (std::vector<std::string>(3, "10,886")));
        EXPECT_EQ(column(4), (std::vector<std::string>(3, "SR0001 Report")));
        EXPECT_EQ(Form1->table().cell(table::ColTime, 2), "2024-05-10T09:41:40");
        EXPECT_TRUE(table::hasUnsavedChanges());
        EXPECT_EQ(Form1->ImportDialog1.directory, path("card")) << "the next time starts there";
        prompter.messages.clear();
    }
}

TEST_F(DeviceCommands, ImportFromDeviceLooksAtTheVolumesOffTheWindowsThread)
{
    const std::string stick = dir.file("stick");
    putFile(dir, "stick/photos/a.jpg", "jpeg");
    std::atomic<std::thread::id> askedOn;
    const std::vector<std::string> volumes = {stick, dir.file("xero")};
    Form1->setVolumeSource([&askedOn, volumes] {
        askedOn = std::this_thread::get_id();
        return volumes;
    });
    answerPicker({});
    Form1->ImportFromDevice1->trigger();
    EXPECT_TRUE(askedOn.load() != std::this_thread::get_id());
    ASSERT_TRUE(prompter.messages.empty()) << prompter.messageTexts().join('\n').toStdString();
    EXPECT_EQ(picker.caption, "Xero C1, 3 sessions, 1 of them unreadable in '" +
                                  path("xero/Garmin/Shot_Sessions") + "'");
    const QStringList& rows = picker.rows;
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].startsWith("06-13-2024_01-26-40|")) << rows[0].toStdString();
    EXPECT_TRUE(rows[0].endsWith("|5|" + QString::number(xeroMean(5), 'f', 1).replace('.', ',')));
    EXPECT_TRUE(rows[2].startsWith("activity|") && rows[2].endsWith("(refused)"));
    // Every shot as the device recorded it, with its time and the session's 180 gr.
    ASSERT_EQ(column(1).size(), 5u);
    EXPECT_EQ(column(1)[1], "265,391");
    EXPECT_EQ(column(3)[0], "11,664");
    EXPECT_EQ(Form1->table().cell(table::ColTime, 1), "2024-06-13T01:27:00Z");

    // Nothing plugged in: what to plug in, where the files are, and the way to a phone-like
    // device.
    Form1->setVolumeSource([stick] { return std::vector<std::string>{stick}; });
    prompter.messageAnswers.push_back(ui::MessageResult::Ok); // closing the session imported
    prompter.modalShown.clear();
    Form1->ImportFromDevice1->trigger();
    ASSERT_EQ(prompter.messages.size(), 2u);
    const QString said = prompter.messages[1].text;
    for (const char* part : {"No chronograph found", "USB cable", "Garmin/Shot_Sessions", "SD card",
                             "LBR", "(MTP)", "Import Folder..."})
        EXPECT_TRUE(said.contains(part)) << part;
    EXPECT_TRUE(prompter.modalShown.empty());
    EXPECT_EQ(column(1).size(), 5u) << "the table stays";
}

// A network mount whose server is gone hangs whoever looks at it: the window goes on
// answering, and Cancel returns at once, leaving the look to end on its own.
TEST_F(DeviceCommands, AVolumeThatHangsIsLeftBehindOnCancel)
{
    std::promise<void> release;
    auto finished = std::make_shared<std::atomic<bool>>(false);
    Form1->setVolumeSource([hang = release.get_future().share(), finished] {
        hang.wait();
        *finished = true;
        return std::vector<std::string>{};
    });
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(5);
    prompter.progressDelay = 0;
    QTimer cancelLater;
    cancelLater.setSingleShot(true);
    prompter.onProgress = [&cancelLater](const std::function<void()>& cancel) {
        QObject::connect(&cancelLater, &QTimer::timeout, cancel);
        cancelLater.start(100);
    };
    Form1->ImportFromDevice1->trigger();
    ticker.stop();
    cancelLater.stop();
    EXPECT_GE(ticks, 5) << "the window's timers ran while the drives were looked at";
    EXPECT_EQ(prompter.progressShown,
              std::vector<QString>{"Looking for a chronograph's files on the mounted drives..."});
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(prompter.modalShown.empty());
    EXPECT_FALSE(*finished);
    release.set_value();
    for (int i = 0; i < 500 && !*finished; ++i)
        QTest::qWait(10);
    EXPECT_TRUE(*finished);
}

TEST_F(DeviceCommands, AddSeriesTakesSeveralFilesAndSeveralSeriesOfOne)
{
    struct Case {
        const char* name;
        int seriesAnswer;
        QStringList items;
    };
    const Case cases[] = {
        {"cancelled series question", QDialog::Rejected, {}},
        {"both series of the log",
         QDialog::Accepted,
         {"string.csv", "LOG (Series 12).CSV", "LOG (Series 13).CSV", "list.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.openFilesAnswers.push_back(
            {path("string.csv"), path("LOG.CSV"), path("list.txt")});
        QStringList asked;
        prompter.onModal = [&](QDialog* dialog) {
            asked << dialog->objectName();
            if (auto* series = qobject_cast<SeriesDialog*>(dialog)) {
                series->list()->selectAll();
                return c.seriesAnswer;
            }
            return int(QDialog::Accepted);
        };
        Form1->AddSeries1->trigger();
        EXPECT_EQ(seriesItems(), c.items);
        EXPECT_TRUE(prompter.messages.empty()) << prompter.messageTexts().join('\n').toStdString();
        // All asked before any is added; the unit of the bare list only when it gets there.
        EXPECT_EQ(asked, c.seriesAnswer == QDialog::Accepted
                             ? (QStringList{"SeriesDialog", "UnitDialog"})
                             : QStringList{"SeriesDialog"});
    }
    const chart::Chart& v = Form1->ChartV->chart();
    ASSERT_GE(v.seriesCount(), 4u);
    EXPECT_EQ(v.series(1).title(), "LOG (Series 12)");
    EXPECT_EQ(v.series(2).title(), "LOG (Series 13)");
    EXPECT_EQ(v.series(2).y(0), 790);

    // Several strings of a card, marked in its picker.
    prompter.folderAnswers.push_back(path("card"));
    answerPicker({0, 1});
    Form1->AddSeriesFromFolder1->trigger();
    EXPECT_TRUE(picker.several);
    EXPECT_EQ(seriesItems().mid(4), (QStringList{"SR0002 Report.csv", "SR0001 Report.csv"}));
}

// Cancel while a large file is read: the table as it was, the reading stopped. The same
// import without Cancel, shown or not, still comes in.
TEST_F(DeviceCommands, ImportReadsOffTheWindowsThreadAndCancelLeavesTheTable)
{
    // Blank lines until the end: a reader that never stopped would take minutes.
    dir.write("junk.txt", std::string(64 << 20, '\n'));
    struct Case {
        const char* name;
        const char* file;
        // The progress shows only for a reading that outlasts it.
        int delay;
        bool cancel;
        std::vector<std::string> velocities;
    };
    const Case cases[] = {
        {"junk cancelled", "junk.txt", 0, true, {"300", "310"}},
        {"shown, not cancelled", "string.csv", 0, false, {"854,6592", "847,46592"}},
        {"quick", "list.txt", 300, false, {"300", "310"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fillVelocities({"300", "310"}, "0,547");
        table::setUnsavedChanges(false);
        prompter.messageAnswers.push_back(ui::MessageResult::Ok);
        prompter.openAnswers.push_back(path(c.file));
        prompter.progressDelay = c.delay;
        prompter.progressShown.clear();
        prompter.messages.clear();
        prompter.onProgress = [&c](const std::function<void()>& cancel) {
            if (c.cancel)
                cancel();
        };
        prompter.onModal = [](QDialog*) { return int(QDialog::Accepted); };
        Form1->Import1->trigger();
        EXPECT_EQ(prompter.progressShown,
                  c.delay ? std::vector<QString>()
                          : std::vector<QString>{"Reading '" + QString(c.file) + "'..."});
        EXPECT_EQ(column(1), c.velocities);
        EXPECT_EQ(table::hasUnsavedChanges(), !c.cancel);
        ASSERT_EQ(prompter.messages.size(), 1u) << "only the question before the import";
    }
}

struct DropCase {
    const char* name;
    // Names in the test's folder, or whole URLs.
    std::vector<const char*> dropped;
    bool onSeriesList;
    // Rows the picker chooses, when it is asked.
    QList<int> picked;
    std::vector<std::string> velocities;
    QStringList items = {};
    QString message = {};
};

void PrintTo(const DropCase& c, std::ostream* out)
{
    *out << c.name;
}

class Drops : public DeviceCommands, public ::testing::WithParamInterface<DropCase> {
protected:
    // As a desktop delivers it: entering over a widget, then dropping there. The window takes
    // the drop wherever it lands.
    void drop(QWidget* target, const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &dropped);
        EXPECT_TRUE(dropped.isAccepted());
        // The work runs once the drop is over.
        EXPECT_TRUE(prompter.openAsked.empty() && prompter.modalShown.empty());
        QCoreApplication::processEvents();
    }
};

TEST_P(Drops, ImportOpenOrAddAsTheMenuCommandsDo)
{
    const DropCase& c = GetParam();
    dir.write("shots.vxm", "1\r\n300\r\n24,6\r\n0,547\r\nJSB\r\n0,00\r\n");
    Form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    QList<QUrl> urls;
    for (const char* name : c.dropped)
        urls << (QString(name).contains("://") ? QUrl(name) : QUrl::fromLocalFile(path(name)));
    answerPicker(c.picked, QDialog::Accepted);
    drop(c.onSeriesList ? Form1->ListBox1->viewport() : static_cast<QWidget*>(Form1->Grid), urls);
    // An empty table still has its one blank row.
    EXPECT_EQ(table::isEmpty(Form1->table()) ? std::vector<std::string>() : column(1),
              c.velocities);
    EXPECT_EQ(seriesItems(), c.items);
    EXPECT_EQ(prompter.messageTexts().join('\n'),
              QString(c.message).replace("%1", QString::fromStdString(dir.path())));
}

INSTANTIATE_TEST_SUITE_P(
    DeviceCommands, Drops,
    ::testing::Values(
        DropCase{"oneExport", {"string.csv"}, false, {}, {"854,6592", "847,46592"}},
        DropCase{"oneSession", {"shots.vxm"}, false, {}, {"300"}},
        DropCase{"aCard", {"card"}, false, {0}, {"805", "812"}},
        DropCase{"aXeroFile",
                 {"xero/Garmin/Shot_Sessions/06-11-2024_00-26-40.fit"},
                 false,
                 {},
                 {"265", "265,391", "265,782"}},
        DropCase{
            "severalFiles", {"string.csv", "list.txt"}, false, {}, {}, {"string.csv", "list.txt"}},
        DropCase{"oneOnTheSeriesList", {"string.csv"}, true, {}, {}, {"string.csv"}},
        DropCase{"aCardOnTheSeriesList",
                 {"card"},
                 true,
                 {0, 1, 3},
                 {},
                 {"SR0002 Report.csv", "SR0001 Report.csv"}},
        DropCase{"aFolderOfNothing",
                 {"card/LBR/SR0001/TRK"},
                 false,
                 {},
                 {},
                 {},
                 "'%1/card/LBR/SR0001/TRK' holds no chronograph's files: neither a LabRadar SD "
                 "card's LBR folder nor a Garmin Xero's Garmin/Shot_Sessions folder."},
        DropCase{"aLink",
                 {"string.csv", "https://example.com/string.csv"},
                 false,
                 {},
                 {},
                 {},
                 "'https://example.com/string.csv' is not a file on this computer. Save it into "
                 "a folder first, then drop the saved file."}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
