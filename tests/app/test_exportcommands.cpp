#include "app/forms.h"
#include "app/tform1.h"
#include "chart/ui/chartwidget.h"
#include "exports/ui/papersize.h"
#include "exports/ui/report.h"
#include "exports/ui/reportlayout.h"
#include "runtime/atomicfile.h"
#include "runtime/decimalseparator.h"
#include "session/ui/sessiondock.h"
#include "support/csvreader.h"
#include "support/ui/mainwindowfixture.h"
#include "table/currentfile.h"
#include "table/measurementtable.h"
#include "ui/gridview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPageSize>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <numeric>
#include <optional>

#include <time.h>

namespace {

std::pair<int, std::string> run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput().toStdString()};
}

int pdfPages(const std::string& path)
{
    const std::string info = run("pdfinfo", {QString::fromStdString(path)}).second;
    const std::size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

std::string pdfText(const std::string& path)
{
    return run("pdftotext", {"-layout", QString::fromStdString(path), "-"}).second;
}

// Width and height from a PNG's IHDR chunk, which must come first.
QSize pngSize(const std::string& bytes)
{
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1A\n") != 0 ||
        bytes.compare(12, 4, "IHDR") != 0)
        return {};
    const auto be32 = [&](std::size_t at) {
        return int(static_cast<unsigned char>(bytes[at]) << 24 |
                   static_cast<unsigned char>(bytes[at + 1]) << 16 |
                   static_cast<unsigned char>(bytes[at + 2]) << 8 |
                   static_cast<unsigned char>(bytes[at + 3]));
    };
    return {be32(16), be32(20)};
}

class ExportCommands : public MainWindowTest {
protected:
    void SetUp() override
    {
        start("JSB Exact\r\n0,547\r\n");
        Form1->resize(900, 600);
        Form1->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    }
    void TearDown() override
    {
        QLocale::setDefault(m_locale);
        MainWindowTest::TearDown();
    }
    // The paper follows the locale: the tests choose theirs, whatever the machine's is.
    static void useLocale(QLocale::Language language, QLocale::Territory territory)
    {
        QLocale::setDefault(QLocale(language, territory));
    }

    // Shots as a download leaves them: energies, labels, deviations and charts.
    void shots(const std::vector<const char*>& velocities)
    {
        fillVelocities(velocities, "0,547");
        for (std::size_t r = 1; r <= velocities.size(); ++r)
            Form1->table().setCell(table::ColBullet, r, "JSB Exact");
        for (std::size_t r = 1; r <= velocities.size(); ++r)
            Form1->table().setCell(table::ColM, r, "0,547");
        Form1->deviationPass(Form1->statisticsPass());
        Form1->Button1->click();
    }

    std::string saved(QAction* command, const std::string& name)
    {
        prompter.saveAnswers.push_back(QString::fromStdString(dir.file(name)));
        command->trigger();
        return readBytes(dir.file(name));
    }

    QStringList errors() const { return prompter.messageTexts(); }

private:
    QLocale m_locale;
};

TEST_F(ExportCommands, FileMenuHoldsTheExportsAndEditHoldsCopy)
{
    QStringList menus;
    for (QAction* menu : Form1->menuBar()->actions())
        menus << menu->text();
    ASSERT_GE(menus.size(), 3);
    EXPECT_EQ(menus.mid(0, 3), (QStringList{"&File", "&Edit", "&View"}));

    QStringList file;
    QMenu* fileMenu = Form1->menuBar()->actions()[0]->menu();
    for (QAction* item : fileMenu->actions())
        file << (item->isSeparator() ? "-" : item->text());
    EXPECT_EQ(file, (QStringList{"&New", "&Open", "Import...", "Import from Device...",
                                 "Import Folder...", "&Save", "Save As...", "Save Selected As...",
                                 "E&xport", "Print Report...", "-", "&Exit"}));
    QStringList exports;
    for (QAction* item : fileMenu->actions()[8]->menu()->actions())
        exports << item->text();
    EXPECT_EQ(exports, (QStringList{"Table as CSV...", "LabRadar-style Report...",
                                    "Chart as Picture...", "Report as PDF..."}));
    EXPECT_EQ(Form1->Copy1->text(), "Copy");
    EXPECT_EQ(Form1->Copy1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_EQ(Form1->New1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(Form1->Open1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(Form1->Save1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(Form1->Exit1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
}

TEST_F(ExportCommands, AnEmptyTableIsNotExported)
{
    for (QAction* a : {Form1->ExportTableAsCsv1, Form1->ExportLabRadarReport1,
                       Form1->ExportReportAsPdf1, Form1->PrintReport1})
        a->trigger();
    EXPECT_EQ(errors(), QStringList(4, "Measurments Grid is empty!"));
    Form1->ExportChartAsPicture1->trigger();
    EXPECT_TRUE(prompter.saveAsked.empty());
    EXPECT_TRUE(prompter.modalShown.empty());
}

class CsvThroughTheWindow : public ExportCommands, public ::testing::WithParamInterface<char> {};

INSTANTIATE_TEST_SUITE_P(Separators, CsvThroughTheWindow, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

TEST_P(CsvThroughTheWindow, TableAndStatisticsReadBackInTheUnitsShown)
{
    rt::setDecimalSeparator(GetParam());
    const QString s(QChar::fromLatin1(GetParam()));
    shots({"280", "285", "290", "282", "288"});
    table::setCurrentFileName(dir.file("mar07.vxm"));
    Form1->Imperial1->trigger();
    Form1->Grid->selectRows(2, 3);

    const std::string bytes = saved(Form1->ExportTableAsCsv1, "mar07.csv");
    EXPECT_EQ(prompter.saveAsked.back().fileName, "mar07.csv") << "the session's name";
    EXPECT_EQ(prompter.saveAsked.back().filter, "CSV spreadsheet (*.csv)");
    const CsvFile csv = readCsv(bytes, GetParam() == ',' ? ';' : ',');
    ASSERT_TRUE(csv.problems.empty()) << csv.problems.front();
    EXPECT_TRUE(csv.byteOrderMark);
    ASSERT_GE(csv.records.size(), 7u);
    EXPECT_EQ(csv.records[0][1], "V (ft/s)");
    // 285 m/s = 935 ft/s; 0,547 g at 285 m/s = 22.2 J = 16.4 ft-lbf; 8.4 gr.
    EXPECT_EQ(csv.records[2], (std::vector<std::string>{"2", "935", ("16" + s + "4").toStdString(),
                                                        ("8" + s + "4").toStdString(), "JSB Exact",
                                                        ("0" + s + "00").toStdString()}));
    EXPECT_EQ(csv.records[6], std::vector<std::string>{""});
    const auto line = [&](const char* caption) {
        for (const auto& r : csv.records)
            if (!r.empty() && r[0] == caption)
                return r;
        return std::vector<std::string>{};
    };
    EXPECT_EQ(line("V max"), (std::vector<std::string>{"V max", "951", "ft/s"}));
    EXPECT_EQ(line("Median"),
              (std::vector<std::string>{"Median", ("935" + s + "0").toStdString(), "ft/s"}));
    EXPECT_EQ(line("Selected shots"), (std::vector<std::string>{"Selected shots", "2", ""}));
    EXPECT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
}

TEST_F(ExportCommands, LabRadarReportIsStampedWithTheExportMoment)
{
    shots({"300", "310", "290"});
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    saved(Form1->ExportLabRadarReport1, "SR0001 Report");
    const std::string text = readBytes(dir.file("SR0001 Report.csv"));
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    EXPECT_EQ(prompter.saveAsked.back().filter, "LabRadar report (*.csv)");
    ASSERT_EQ(text.rfind("sep=;\r\n", 0), 0u) << "the name got .csv, the file the layout";
    const QString last = QString::fromStdString(text).split("\r\n", Qt::SkipEmptyParts).last();
    const QRegularExpressionMatch m =
        QRegularExpression(R"(^0003;290\.00;23\.00;8\.44;(\d{4}-\d\d-\d\d);(\d\d:\d\d:\d\d);$)")
            .match(last);
    ASSERT_TRUE(m.hasMatch()) << last.toStdString();
    const QDateTime stamp =
        QDateTime::fromString(m.captured(1) + " " + m.captured(2), "yyyy-MM-dd HH:mm:ss");
    EXPECT_GE(stamp, before.addMSecs(-before.time().msec()));
    EXPECT_LE(stamp, after);
}

// The local time zone while it lives: one far from UTC, where a time kept in UTC must be
// converted to show right.
class LocalZone {
public:
    explicit LocalZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~LocalZone()
    {
        if (m_old)
            setenv("TZ", m_old->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    LocalZone(const LocalZone&) = delete;
    LocalZone& operator=(const LocalZone&) = delete;

private:
    std::optional<std::string> m_old;
};

// What the user gives a string in the window reaches the exports: fields typed in the Session
// dock, shot times, a shot excluded through the Edit menu.
TEST_F(ExportCommands, CsvAndLabRadarReportCarryTheDetails)
{
    const LocalZone tokyo("Asia/Tokyo");
    shots({"300", "310", "290"});
    Form1->SessionDock1->ensureBuilt(); // as when its tab is clicked
    QTest::keyClicks(Form1->SessionDock1->RifleEdit, "Tikka T3x");
    QTest::keyClicks(Form1->SessionDock1->ChargeEdit, "24,5");
    Form1->table().setCell(table::ColTime, 1, "2024-05-11T09:41:02");
    Form1->table().setCell(table::ColTime, 2, "2024-06-18T23:47:11Z");
    Form1->Grid->selectRows(3, 3);
    Form1->ExcludeFromStatistics1->trigger();

    const CsvFile csv = readCsv(saved(Form1->ExportTableAsCsv1, "details.csv"), ';');
    ASSERT_TRUE(csv.problems.empty()) << csv.problems.front();
    ASSERT_GE(csv.records.size(), 8u);
    EXPECT_EQ(csv.records[0].size(), 10u);
    EXPECT_EQ(csv.records[3], (std::vector<std::string>{"3", "290", "23,0", "0,547", "JSB Exact",
                                                        "-3,33", "", "yes", "", ""}));
    EXPECT_EQ(csv.records[5], (std::vector<std::string>{"Rifle", "Tikka T3x"}));
    EXPECT_EQ(csv.records[6], (std::vector<std::string>{"Charge", "24.5 gr"}));

    // Each shot in its own local date and time; the one without a time in the export's.
    const QDateTime before = QDateTime::currentDateTime();
    const QStringList lines =
        QString::fromStdString(saved(Form1->ExportLabRadarReport1, "SR0001 Report.csv"))
            .split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[lines.size() - 3].toStdString(), "0001;300.00;24.62;8.44;2024-05-11;09:41:02;");
    EXPECT_EQ(lines[lines.size() - 2].toStdString(), "0002;310.00;26.28;8.44;2024-06-19;08:47:11;");
    EXPECT_EQ(lines.back().left(34).toStdString(),
              "0003;290.00;23.00;8.44;" + before.toString("yyyy-MM-dd").toStdString() + ";");
    EXPECT_TRUE(lines.contains("Stats - Average;305.00;m/s;")) << "the excluded shot left out";
    EXPECT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
}

// Copy through the real shortcut, as a user presses it, in the window that has the focus.
class CopyCommand : public ExportCommands {
protected:
    void SetUp() override
    {
        ExportCommands::SetUp();
        QApplication::clipboard()->clear();
        Form1->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
        shots({"300", "310", "290"});
    }
    static QString clipboard() { return QApplication::clipboard()->text(); }
};

TEST_F(CopyCommand, CtrlCInTheGridCopiesTheMarkedRowsInBothUnitSystems)
{
    Form1->Grid->setFocus();
    Form1->Grid->selectRows(2, 3);
    QTest::keyClick(Form1->Grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "N\tV (m/s)\tE (J)\tm (g)\tBullet\tdV (%)\n"
                           "2\t310\t26,3\t0,547\tJSB Exact\t3,33\n"
                           "3\t290\t23,0\t0,547\tJSB Exact\t-3,33\n");

    Form1->Imperial1->trigger();
    Form1->Grid->selectRows(1, 1);
    Form1->Grid->setFocus();
    Form1->Copy1->trigger();
    EXPECT_EQ(clipboard(),
              QString::fromUtf8("N\tV (ft/s)\tE (ft\u00B7lbf)\tm (gr)\tBullet\tdV (%)\n"
                                "1\t984\t18,2\t8,4\tJSB Exact\t0,00\n"));
}

TEST_F(CopyCommand, CtrlCInTheWeightFieldCopiesItsText)
{
    QLineEdit* field = Form1->MaskEdit1;
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard(), "0,547");
    // The menu item acts on the field with the focus, too.
    field->setSelection(2, 3);
    Form1->Copy1->trigger();
    EXPECT_EQ(clipboard(), "547");
}

TEST_F(ExportCommands, ChartPicturesAreReadByIndependentReaders)
{
    shots({"300", "310", "290"});
    Form1->PageControl1->setCurrentWidget(Form1->ChartE);
    QApplication::processEvents();
    const QSize onScreen = Form1->ChartE->size();
    ASSERT_GT(onScreen.width(), 100);

    // PNG: twice the pixels, sharp at a device pixel ratio of 2.
    saved(Form1->ExportChartAsPicture1, "energy");
    EXPECT_EQ(pngSize(readBytes(dir.file("energy.png"))), onScreen * 2);
    EXPECT_EQ(prompter.saveAsked.back().filter,
              "PNG picture (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)");

    // SVG by the chosen filter: the name gets its extension, rsvg renders it at screen size.
    Form1->SaveDialog6.selectedFilter = "SVG drawing (*.svg)";
    saved(Form1->ExportChartAsPicture1, "energy2");
    EXPECT_FALSE(std::filesystem::exists(dir.file("energy2")));
    ASSERT_TRUE(std::filesystem::exists(dir.file("energy2.svg")));
    const auto [rsvg, rendered] =
        run("rsvg-convert", {"-f", "png", QString::fromStdString(dir.file("energy2.svg"))});
    EXPECT_EQ(rsvg, 0);
    // The size travels in millimetres: a pixel either way.
    EXPECT_NEAR(pngSize(rendered).width(), onScreen.width(), 1);
    EXPECT_NEAR(pngSize(rendered).height(), onScreen.height(), 1);
    EXPECT_NE(readBytes(dir.file("energy2.svg")).find("E = f(N)"), std::string::npos);

    // PDF by the extension typed, whatever filter was chosen: one page of the chart's size.
    saved(Form1->ExportChartAsPicture1, "energy.PDF");
    EXPECT_EQ(prompter.saveAsked.back().selectedFilter, "SVG drawing (*.svg)");
    EXPECT_EQ(Form1->SaveDialog6.selectedFilter, "PDF document (*.pdf)") << "remembered";
    const std::string info =
        run("pdfinfo", {QString::fromStdString(dir.file("energy.PDF"))}).second;
    EXPECT_EQ(pdfPages(dir.file("energy.PDF")), 1);
    const QRegularExpressionMatch size =
        QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)")
            .match(QString::fromStdString(info));
    ASSERT_TRUE(size.hasMatch()) << info;
    EXPECT_NEAR(size.captured(1).toDouble(), onScreen.width() * 0.75, 1);
    EXPECT_NEAR(size.captured(2).toDouble(), onScreen.height() * 0.75, 1);
    const std::string text = pdfText(dir.file("energy.PDF"));
    EXPECT_NE(text.find("E = f(N)"), std::string::npos) << text;
    EXPECT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
}

TEST(ReportPaper, LetterWhereItIsTheCustomA4Elsewhere)
{
    const std::pair<const char*, QPageSize::PageSizeId> cases[] = {
        {"en_US", QPageSize::Letter}, {"en_CA", QPageSize::Letter}, {"es_MX", QPageSize::Letter},
        {"de_DE", QPageSize::A4},     {"en_GB", QPageSize::A4},     {"ru_RU", QPageSize::A4},
        {"C", QPageSize::A4}};
    for (const auto& [name, paper] : cases)
        EXPECT_EQ(exports::reportPageSize(QLocale(QString::fromLatin1(name))).id(), paper) << name;
}

// Shot numbers that start a line of the table in the text pdftotext gives.
std::vector<int> tableNumbers(const std::string& text)
{
    std::vector<int> numbers;
    const QRegularExpression row(R"(^\s*(\d+)\s+\d+\s+[\d,]+\s+[\d,]+\s+JSB Exact\s)",
                                 QRegularExpression::MultilineOption);
    auto it = row.globalMatch(QString::fromStdString(text));
    while (it.hasNext())
        numbers.push_back(it.next().captured(1).toInt());
    return numbers;
}

TEST_F(ExportCommands, ReportOfAThousandShotsRunsOverPagesWithEveryRowOnce)
{
    std::vector<std::string> velocities;
    for (int i = 0; i < 1000; ++i)
        velocities.push_back(std::to_string(280 + (i * 7) % 21));
    std::vector<const char*> v;
    for (const auto& s : velocities)
        v.push_back(s.c_str());
    useLocale(QLocale::English, QLocale::UnitedKingdom);
    shots(v);
    const std::string path = dir.file("report.pdf");
    saved(Form1->ExportReportAsPdf1, "report");
    EXPECT_EQ(prompter.saveAsked.back().filter, "PDF document (*.pdf)");

    // A4 inside 15 mm margins, in pixels of 96 per inch.
    const double height = (297 - 30) / 25.4 * 96;
    const exports::ReportLayout layout = exports::layoutReport(height, 3, 16, 1000);
    const int pages = pdfPages(path);
    EXPECT_EQ(pages, layout.pageCount);
    EXPECT_GE(pages, 12);
    EXPECT_LE(pages, 25);

    const std::string text = pdfText(path);
    for (const char* expected :
         {"Unsaved session", "Bullet: JSB Exact, 0,547 g", "Statistics", "V max", "E max",
          "SD (n\u22121)", "Median", "Mean 95 %", "Shots for", "Flyer (Grubbs, 95 %): none",
          "V = f(N)", "E = f(N)", "dV = f(N)", "Distribution of V", "V (m/s)", "dV (%)"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    EXPECT_EQ(text.find("\u2026"), std::string::npos) << "no statistic cut short";
    const QString today = QLocale().toString(QDate::currentDate(), QLocale::LongFormat);
    EXPECT_NE(text.find(today.toStdString()), std::string::npos) << "an unsaved table is today's";
    EXPECT_NE(text.find("Page " + std::to_string(pages) + " of " + std::to_string(pages)),
              std::string::npos);
    std::vector<int> expectedNumbers(1000);
    std::iota(expectedNumbers.begin(), expectedNumbers.end(), 1);
    EXPECT_EQ(tableNumbers(text), expectedNumbers) << "no row lost or doubled at a page break";
}

TEST_F(ExportCommands, ReportOfASavedSessionCarriesItsNameAndDateOnLetterInTheUS)
{
    useLocale(QLocale::English, QLocale::UnitedStates);
    shots({"300", "310"});
    dir.write("mar07.vxm", "x");
    const QDateTime march(QDate(2024, 3, 7), QTime(10, 0));
    std::filesystem::last_write_time(
        dir.file("mar07.vxm"),
        std::filesystem::file_time_type::clock::now() -
            std::chrono::seconds(march.secsTo(QDateTime::currentDateTime())));
    table::setCurrentFileName(dir.file("mar07.vxm"));
    saved(Form1->ExportReportAsPdf1, "mar07.pdf");
    EXPECT_EQ(prompter.saveAsked.back().fileName, "mar07.pdf");
    const std::string info = run("pdfinfo", {QString::fromStdString(dir.file("mar07.pdf"))}).second;
    EXPECT_NE(info.find("(letter)"), std::string::npos) << info;
    const std::string text = pdfText(dir.file("mar07.pdf"));
    EXPECT_NE(text.find("mar07.vxm"), std::string::npos);
    EXPECT_NE(text.find("Thursday, March 7, 2024"), std::string::npos) << text;
}

// Dated the day the string was shot, with its fields and notes under the title; the excluded
// shot is marked in the table and left out of the figures.
TEST_F(ExportCommands, ReportShowsTheStringsDetailsDateAndExcludedShots)
{
    useLocale(QLocale::English, QLocale::UnitedStates);
    shots({"300", "310", "290"});
    table::StringDetails details;
    details.title = "Ladder step 3";
    details.dateTime = "2024-05-11T09:40:00";
    details.rifle = "Tikka T3x";
    details.charge = {"24.5", "gr"};
    details.temperature = {"21", "\u00B0C"};
    details.notes = "Wind 5 mph from 9\nMirage heavy\nthree\nfour\nfive\nsix\nseven";
    Form1->setStringDetails(details);
    Form1->Grid->selectRows(2, 2);
    Form1->ExcludeFromStatistics1->trigger();
    saved(Form1->ExportReportAsPdf1, "detailed.pdf");
    const std::string text = pdfText(dir.file("detailed.pdf"));

    const QLocale locale;
    const QString shotOn = locale.toString(QDate(2024, 5, 11), QLocale::LongFormat) + ", " +
                           locale.toString(QTime(9, 40), QLocale::ShortFormat);
    for (const std::string& expected :
         {shotOn.toStdString(), std::string("Title: Ladder step 3"),
          std::string("Rifle: Tikka T3x"), std::string("Charge: 24.5 gr"),
          std::string("Temperature: 21 \u00B0C"), std::string("Notes: Wind 5 mph from 9"),
          std::string("Mirage heavy"), std::string("six \u2026")})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    EXPECT_EQ(text.find("seven"), std::string::npos) << "six lines of notes at most";
    EXPECT_EQ(text.find(locale.toString(QDate::currentDate(), QLocale::LongFormat).toStdString()),
              std::string::npos)
        << "the string's day, not today's";

    const QString pdf = QString::fromStdString(text);
    const auto row = [&](const char* pattern) {
        return QRegularExpression(pattern, QRegularExpression::MultilineOption)
            .match(pdf)
            .hasMatch();
    };
    EXPECT_TRUE(row(R"(^\s*2\s+310\s+[\d,]+\s+[\d,]+\s+JSB Exact\s+excluded\s)")) << text;
    EXPECT_FALSE(row(R"(^\s*[13]\s+\d+\s+.*excluded)")) << "only the excluded shot is marked";
    EXPECT_TRUE(row(R"(^\s*Shots\s+2\s)")) << "the figures leave it out";
    EXPECT_TRUE(row(R"(Excluded shots\s+1\s)"));
    EXPECT_TRUE(row(R"(V max\s+310\s)")) << "the labels stay over all rows";
}

// The report's charts keep every point while its PDF stays within the size of a vector file,
// as the chart's own PDF does; beyond, they are thinned to the PDF's resolution. PDF streams
// are compressed: their bytes stand in for the vertices drawn, a few per vertex.
TEST(ReportCharts, EveryPointWhileThePdfStaysWithinTenMegabytes)
{
    table::StringGrid grid = table::makeGrid();
    table::writeHeader(grid);
    grid.setRowCount(2);
    grid.setCell(table::ColN, 1, "1");
    grid.setCell(table::ColV, 1, "300");
    for (const auto& [shots, everyPoint] : {std::pair{65535, true}, std::pair{450000, false}}) {
        chart::ChartWidget widget;
        widget.setView3D(true);
        chart::Series& s = widget.edit().addSeries("V");
        for (int i = 1; i <= shots; ++i)
            s.addXY(i, 280 + (i % 40) * 7919 % 40);
        exports::ReportSource source;
        source.sessionName = "charts";
        source.grid = &grid;
        source.charts = {&widget.chart(), nullptr, nullptr, nullptr};
        const std::string bytes = exports::reportPdf(source, QPageSize(QPageSize::A4));
        SCOPED_TRACE(shots);
        EXPECT_LE(bytes.size(), 10e6);
        if (everyPoint)
            EXPECT_GE(bytes.size() / 8, std::size_t(shots));
        else
            EXPECT_LT(bytes.size() / 8, std::size_t(shots / 2));
    }
}

// A range and the flyer sentence are longer than the other figures: printed whole, not cut
// to the column the short figures fit.
TEST_F(ExportCommands, ReportPrintsLongStatisticsWhole)
{
    table::StringGrid grid = table::makeGrid();
    table::writeHeader(grid);
    grid.setRowCount(2);
    grid.setCell(table::ColN, 1, "1");
    grid.setCell(table::ColV, 1, "850");
    exports::ReportSource source;
    source.sessionName = "long lines";
    source.grid = &grid;
    source.statistics = {{"Shot 12 may be a flyer (Grubbs, 95 %)", "", ""},
                         {"Selected mean 95 %", "2790,1 \u2013 2802,5", "ft/s"}};
    const std::string path = dir.file("long.pdf");
    rt::createFile(path, exports::reportPdf(source, QPageSize(QPageSize::A4)));
    const std::string text = pdfText(path);
    for (const char* expected :
         {"Shot 12 may be a flyer (Grubbs, 95 %)", "Selected mean 95 %", "2790,1 \u2013 2802,5"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
}

TEST_F(ExportCommands, PrintReportShowsThePreviewWhosePagesArePrintable)
{
    useLocale(QLocale::German, QLocale::Germany);
    shots({"300", "310", "290"});
    int pages = -1;
    prompter.onModal = [&](QDialog* dialog) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(dialog);
        EXPECT_NE(preview, nullptr);
        if (!preview)
            return int(QDialog::Rejected);
        EXPECT_EQ(preview->printer()->pageLayout().pageSize().id(), QPageSize::A4);
        // What the print button would do: paint into the chosen printer, here a PDF.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(dir.file("printed.pdf")));
        emit preview->paintRequested(&printer);
        pages = pdfPages(dir.file("printed.pdf"));
        return int(QDialog::Accepted);
    };
    Form1->PrintReport1->trigger();
    ASSERT_EQ(prompter.modalShown.size(), 1u);
    EXPECT_EQ(pages, 1);
    const std::string text = pdfText(dir.file("printed.pdf"));
    EXPECT_NE(text.find("Unsaved session"), std::string::npos) << text;
    EXPECT_NE(text.find("V max"), std::string::npos) << text;
    EXPECT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
}

} // namespace
