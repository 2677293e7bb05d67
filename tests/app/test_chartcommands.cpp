#include "app/forms.h"
#include "app/tform1.h"
#include "chart/layout.h"
#include "chart/ui/chartwidget.h"
#include "chart/ui/qpaintercanvas.h"
#include "charts/chartexport.h"
#include "runtime/decimalseparator.h"
#include "support/tempdir.h"
#include "support/ui/scriptedprompter.h"
#include "support/wmfreader.h"
#include "table/currentfile.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>

namespace {

std::string record(int n, int v)
{
    return std::to_string(n) + "\r\n" + std::to_string(v) + "\r\n22,5\r\n0,547\r\nJSB\r\n0,35\r\n";
}

std::string measurementFile(int records, int base)
{
    std::string s;
    for (int i = 1; i <= records; ++i)
        s += record(i, base + i);
    return s;
}

int pageCount(const std::string& pdfinfo)
{
    const std::size_t at = pdfinfo.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(pdfinfo.c_str() + at + 6);
}

std::pair<int, std::string> run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput().toStdString()};
}

class ChartCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.write("Bullets.vx!", "JSB\r\n0,547\r\n");
        cwd = std::make_unique<CurrentDir>(dir.path());
        createForms();
        Form1->resize(900, 600);
        Form1->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form1));
    }
    void TearDown() override
    {
        destroyForms();
        cwd.reset();
        table::setCurrentFileName("");
        table::setUnsavedChanges(false);
        rt::setDecimalSeparator(',');
    }

    void fillTable(const std::vector<std::array<const char*, 3>>& rows)
    {
        table::StringGrid& t = Form1->table();
        t.setRowCount(rows.size() + 1);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            t.setCell(0, i + 1, std::to_string(i + 1));
            t.setCell(1, i + 1, rows[i][0]);
            t.setCell(2, i + 1, rows[i][1]);
            t.setCell(5, i + 1, rows[i][2]);
        }
    }

    void addSeries(const std::string& name, const std::string& bytes)
    {
        dir.write(name, bytes);
        prompter.openAnswers.push_back(QString::fromStdString(dir.file(name)));
        Form1->Button9->click();
    }

    std::vector<chart::ChartWidget*> charts() const
    {
        return {Form1->ChartV, Form1->ChartE, Form1->ChartdV};
    }

    QStringList errors() const
    {
        QStringList out;
        for (const auto& m : prompter.messages)
            if (m.icon == ui::MessageIcon::Critical)
                out << m.text;
        return out;
    }

    TempDir dir;
    std::unique_ptr<CurrentDir> cwd;
    ScriptedPrompter prompter;
};

TEST_F(ChartCommands, RedrawFromButtonAndMenuTitlesTheCurrentSeries)
{
    fillTable({{"300", "5,4", "0,00"}, {"310", "####", "3,33"}});
    Form1->Button1->click();
    for (chart::ChartWidget* c : charts()) {
        ASSERT_EQ(c->seriesCount(), 1u);
        EXPECT_EQ(c->chart().series(0).title(), "No name");
    }
    EXPECT_EQ(Form1->ChartE->chart().series(0).y(1), 0);

    table::setCurrentFileName("/data/mar07.vxm");
    EXPECT_EQ(Form1->ChartV->chart().series(0).title(), "No name") << "saving does not redraw";
    Form1->Redraw1->trigger();
    EXPECT_EQ(Form1->ChartdV->chart().series(0).title(), "mar07");
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(ChartCommands, RedrawFailureIsReportedAndStops)
{
    fillTable({{"300", "5,4", "0"}, {"3x0", "5,4", "0"}});
    Form1->Button1->click();
    EXPECT_EQ(errors(), QStringList{"'3x0' is not a valid integer value"});
    EXPECT_EQ(Form1->ChartV->seriesCount(), 1u);
    EXPECT_EQ(Form1->ChartE->seriesCount(), 0u);
}

TEST_F(ChartCommands, AddSeriesReadsTheFileListsItAndRedraws)
{
    fillTable({{"300", "5,4", "0"}});
    addSeries("mar07.vxm", measurementFile(12, 280));
    ASSERT_EQ(Form1->ListBox1->count(), 1);
    EXPECT_EQ(Form1->ListBox1->item(0)->text(), "mar07.vxm");
    for (chart::ChartWidget* c : charts()) {
        ASSERT_EQ(c->seriesCount(), 2u);
        EXPECT_EQ(c->chart().series(0).title(), "mar07");
        EXPECT_EQ(c->chart().series(0).count(), 12u);
        EXPECT_EQ(c->chart().series(1).title(), "No name");
    }
    EXPECT_EQ(Form1->ChartV->chart().series(0).y(11), 292);

    // The same file twice is two series in two colours; the dialog starts where it ended.
    prompter.openAnswers.push_back(QString::fromStdString(dir.file("mar07.vxm")));
    Form1->AddSeries1->trigger();
    EXPECT_EQ(Form1->ListBox1->count(), 2);
    EXPECT_EQ(prompter.openAsked.back().directory, QString::fromStdString(dir.path()));
    EXPECT_EQ(prompter.openAsked.back().fileName, "mar07.vxm");
    EXPECT_EQ(prompter.openAsked.back().filter, Form1->OpenDialog1.filter);
    EXPECT_NE(Form1->ChartV->chart().series(0).color(), Form1->ChartV->chart().series(1).color());
    EXPECT_EQ(Form1->OpenDialog1.fileName, "mar07.vxm") << "File › Open shares the dialog";
}

TEST_F(ChartCommands, AddSeriesFailuresAndCancel)
{
    prompter.openAnswers.push_back(std::nullopt);
    Form1->Button9->click();
    prompter.openAnswers.push_back(QString::fromStdString(dir.file("missing.vxm")));
    Form1->Button9->click();
    EXPECT_EQ(Form1->ListBox1->count(), 0);
    EXPECT_EQ(errors(), QStringList{"File not found"});

    // An empty file is one record of empty texts: listed, and Redraw fails on it each time.
    addSeries("empty.vxm", "");
    EXPECT_EQ(Form1->ListBox1->count(), 1);
    EXPECT_EQ(errors().size(), 2);
    EXPECT_EQ(errors().back(), "'' is not a valid integer value");
    Form1->Button1->click();
    EXPECT_EQ(errors().size(), 3);
}

TEST_F(ChartCommands, AddSeriesRefusesAFileThatIsNotAMeasurementFile)
{
    fillTable({{"300", "5,4", "0"}});
    addSeries("mar07.vxm", measurementFile(3, 280));
    // A spreadsheet of shots is an export now; notes are neither export nor session.
    addSeries("shots.csv", "Notes\r\nwindy\r\n");
    addSeries("mar08.vxm", measurementFile(2, 280) + "3\r\n283\r\n22,5\r\n0,547\r\nJSB\r\n"
                                                     "0,35\r\nnote\r\n");
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].caption, "Vexorel!");
    EXPECT_EQ(prompter.messages[0].icon, ui::MessageIcon::None);
    EXPECT_EQ(prompter.messages[0].text,
              QString::fromStdString("'" + dir.file("shots.csv") +
                                     "' is not a measurement file (line 1)"));
    EXPECT_EQ(prompter.messages[1].text,
              QString::fromStdString("'" + dir.file("mar08.vxm") +
                                     "' is not a measurement file (line 19)"));
    ASSERT_EQ(Form1->ListBox1->count(), 1);
    for (chart::ChartWidget* c : charts())
        EXPECT_EQ(c->seriesCount(), 2u);

    // Nothing was added: the next series takes the second place.
    addSeries("mar09.vxm", measurementFile(4, 290));
    ASSERT_EQ(Form1->ListBox1->count(), 2);
    EXPECT_EQ(Form1->ChartV->chart().series(1).count(), 4u);
}

TEST_F(ChartCommands, DeleteSeriesAsksAndKeepsTheOrderOfTheRest)
{
    for (auto [name, base] :
         {std::pair{"A.vxm", 100}, {"B.vxm", 200}, {"C.vxm", 300}, {"D.vxm", 400}})
        addSeries(name, measurementFile(3, base));

    Form1->ListBox1->clearSelection();
    Form1->Button10->click();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "No one series loaded or no one series selected!");
    EXPECT_EQ(prompter.messages[0].caption, "Vexorel!");

    Form1->ListBox1->setCurrentRow(1);
    prompter.messageAnswers.push_back(ui::MessageResult::Cancel);
    Form1->DeleteSeries1->trigger();
    EXPECT_EQ(prompter.messages.back().caption, "Series deleting...");
    EXPECT_EQ(prompter.messages.back().text, "Are you really want to delete selected series?");
    EXPECT_EQ(prompter.messages.back().buttons, ui::MessageButtons::OkCancel);
    EXPECT_EQ(Form1->ListBox1->count(), 4);

    prompter.messageAnswers.push_back(ui::MessageResult::Ok);
    Form1->Button10->click();
    ASSERT_EQ(Form1->ListBox1->count(), 3);
    EXPECT_TRUE(Form1->ListBox1->selectedItems().isEmpty());
    const chart::Chart& v = Form1->ChartV->chart();
    ASSERT_EQ(v.seriesCount(), 3u);
    EXPECT_EQ(v.series(0).title(), "A");
    EXPECT_EQ(v.series(1).title(), "C");
    EXPECT_EQ(v.series(1).y(0), 301);
    EXPECT_EQ(v.series(2).y(2), 403);

    addSeries("E.vxm", measurementFile(2, 500));
    EXPECT_EQ(Form1->ChartV->chart().series(3).y(0), 501);
}

TEST_F(ChartCommands, ViewFlagsBeforeAndAfterTheFirstRedraw)
{
    Form1->CheckBox1->setChecked(true);
    Form1->CheckBox3->setChecked(true);
    Form1->CheckBox2->setChecked(true);
    for (chart::ChartWidget* c : charts()) {
        EXPECT_TRUE(c->chart().view3D);
        EXPECT_TRUE(c->chart().legendVisible);
    }
    fillTable({{"300", "5,4", "0"}});
    Form1->Button1->click();
    for (chart::ChartWidget* c : charts())
        EXPECT_TRUE(c->chart().series(0).marksVisible()) << "Redraw applies the waiting flag";

    Form1->CheckBox2->setChecked(false);
    Form1->CheckBox3->setChecked(false);
    Form1->CheckBox1->setChecked(false);
    for (chart::ChartWidget* c : charts()) {
        EXPECT_FALSE(c->chart().series(0).marksVisible());
        EXPECT_FALSE(c->chart().legendVisible);
        EXPECT_FALSE(c->chart().view3D);
    }
}

// The velocity axis as the chart shows it now, measured with the screen's fonts.
chart::AxisRange shownLeftAxis(const chart::ChartWidget& widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    chart::QPainterCanvas canvas(painter);
    return chart::computeLayout(
               widget.chart(), {0, 0, double(widget.width()), double(widget.height())}, canvas, ',')
        .y;
}

// The texts of a metafile's TEXTOUT records (single-byte text, padded to whole words).
std::vector<std::string> wmfTexts(const WmfFile& f)
{
    std::vector<std::string> texts;
    for (const WmfRecord& r : f.records) {
        if (r.function != 0x0521 || r.params.empty())
            continue;
        std::string text;
        for (std::size_t i = 0; i < r.params[0]; ++i) {
            const std::uint16_t word = r.params[1 + i / 2];
            text += static_cast<char>(i % 2 == 0 ? word & 0xFF : word >> 8);
        }
        texts.push_back(text);
    }
    return texts;
}

TEST_F(ChartCommands, FitAxesToDataRedrawsTheVelocityAndEnergyAxesAndTheExportsFollow)
{
    fillTable({{"282", "5,4", "0"}, {"290", "####", "1,6"}, {"286", "5,6", "-1,6"}});
    Form1->Button1->click();
    ASSERT_FALSE(Form1->FitAxesToData1->isChecked());
    EXPECT_EQ(shownLeftAxis(*Form1->ChartV).min, 0);

    Form1->FitAxesToData1->trigger();
    ASSERT_TRUE(Form1->FitAxesToData1->isChecked());
    const chart::AxisRange fitted = shownLeftAxis(*Form1->ChartV);
    EXPECT_LE(fitted.min, 282 - fitted.step);
    EXPECT_GE(fitted.max, 290 + fitted.step);
    EXPECT_GT(fitted.min, 270);
    EXPECT_LT(fitted.max, 300);
    EXPECT_EQ(Form1->ChartE->chart().leftAxis.fitTo, (chart::DataBounds{5.4, 5.6}));
    EXPECT_FALSE(Form1->ChartdV->chart().leftAxis.fitTo);

    // The metafile is drawn from the same chart: its axis labels are the fitted ones.
    prompter.saveAnswers.push_back(QString::fromStdString(dir.file("fitted.wmf")));
    Form1->SaveasWMF1->trigger();
    const WmfFile wmf = readWmf(readBytes(dir.file("fitted.wmf")));
    EXPECT_TRUE(wmf.problems.empty());
    std::vector<double> leftLabels;
    for (const std::string& text : wmfTexts(wmf)) {
        if (!text.empty() && std::isdigit(static_cast<unsigned char>(text[0])) &&
            std::stod(text) > 3)
            leftLabels.push_back(std::stod(text));
    }
    ASSERT_GE(leftLabels.size(), 2u);
    EXPECT_GE(*std::min_element(leftLabels.begin(), leftLabels.end()), fitted.min - 1e-9);
    EXPECT_LE(*std::max_element(leftLabels.begin(), leftLabels.end()), fitted.max + 1e-9);

    Form1->FitAxesToData1->trigger();
    EXPECT_EQ(shownLeftAxis(*Form1->ChartV).min, 0);
    EXPECT_FALSE(Form1->ChartE->chart().leftAxis.fitTo);
    EXPECT_TRUE(errors().isEmpty());
}

std::pair<int, int> bmpSize(const std::string& bytes)
{
    auto i32 = [&](std::size_t at) {
        return static_cast<int>(
            static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8 |
            static_cast<unsigned char>(bytes[at + 2]) << 16 |
            static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 3])) << 24);
    };
    if (bytes.size() < 26 || bytes.compare(0, 2, "BM") != 0)
        return {0, 0};
    EXPECT_EQ(static_cast<std::size_t>(i32(2)), bytes.size()) << "file size field";
    return {i32(18), std::abs(i32(22))};
}

TEST_F(ChartCommands, NothingToSaveOrPrintBeforeTheFirstRedraw)
{
    for (QAction* a : {Form1->SaveToBMP1, Form1->SaveasWMF2, Form1->Print4, Form1->Print2})
        a->trigger();
    EXPECT_TRUE(prompter.saveAsked.empty());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ChartCommands, BitmapIsTheChartAtItsOnScreenSize)
{
    fillTable({{"300", "5,4", "0"}, {"310", "5,6", "1,6"}});
    Form1->Button1->click();
    const QSize onScreen = Form1->ChartV->size();
    prompter.saveAnswers.push_back(QString::fromStdString(dir.file("velocity")));
    Form1->SaveToBMP1->trigger();
    const std::string bytes = readBytes(dir.file("velocity.bmp"));
    EXPECT_EQ(bmpSize(bytes), (std::pair{onScreen.width(), onScreen.height()}));
    EXPECT_EQ(prompter.saveAsked.back().filter, "BitMap Picture (*.bmp)");

    // The tab-strip menu acts on the deviation chart, which is not showing: it is drawn at
    // the size of the page that is.
    prompter.saveAnswers.push_back(QString::fromStdString(dir.file("dev.bmp")));
    Form1->SaveToBMP3->trigger();
    EXPECT_EQ(bmpSize(readBytes(dir.file("dev.bmp"))),
              (std::pair{onScreen.width(), onScreen.height()}));
    EXPECT_EQ(prompter.saveAsked.back().directory, QString::fromStdString(dir.path()));
    EXPECT_EQ(prompter.saveAsked.back().fileName, "velocity.bmp") << "one dialog for all charts";

    const QImage image(QString::fromStdString(dir.file("dev.bmp")));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
}

TEST_F(ChartCommands, MetafileIsReadByLibwmf)
{
    fillTable({{"300", "5,4", "0"}, {"310", "5,6", "1,6"}, {"305", "####", "-1,6"}});
    Form1->CheckBox1->setChecked(true);
    Form1->CheckBox2->setChecked(true);
    Form1->CheckBox3->setChecked(true);
    Form1->Button1->click();
    const QSize onScreen =
        Form1->ChartE->isVisible() ? Form1->ChartE->size() : Form1->ChartV->size();
    prompter.saveAnswers.push_back(QString::fromStdString(dir.file("energy")));
    Form1->SaveasWMF2->trigger();
    const std::string bytes = readBytes(dir.file("energy.wmf"));
    const WmfFile f = readWmf(bytes);
    EXPECT_TRUE(f.problems.empty());
    EXPECT_EQ(f.width, onScreen.width());
    EXPECT_EQ(f.height, onScreen.height());
    EXPECT_EQ(prompter.saveAsked.back().filter, "Windows Meta File (*.wmf)");

    const auto [status, out] = run("wmf2svg", {"-o", QString::fromStdString(dir.file("energy.svg")),
                                               QString::fromStdString(dir.file("energy.wmf"))});
    EXPECT_EQ(status, 0);
    const std::string svg = readBytes(dir.file("energy.svg"));
    EXPECT_NE(svg.find("E = f(N)"), std::string::npos);
    EXPECT_NE(svg.find("No name"), std::string::npos);
    EXPECT_NE(svg.find("5,6"), std::string::npos) << "marks";
}

TEST_F(ChartCommands, AFileThatCannotBeCreatedLeavesEverythingAsItWas)
{
    fillTable({{"300", "5,4", "0"}});
    Form1->Button1->click();
    dir.write("keep.wmf", "old");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    const bool root = ::geteuid() == 0;
    const std::string target = root ? dir.file("no/such/folder/x.wmf") : dir.file("keep.wmf");
    prompter.saveAnswers.push_back(QString::fromStdString(target));
    Form1->SaveasWMF1->trigger();
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(errors(), QStringList{QString::fromStdString("Cannot create file " + target)});
    EXPECT_EQ(readBytes(dir.file("keep.wmf")), "old");
}

TEST_F(ChartCommands, PrintoutIsOnePageWithTheChartsTexts)
{
    fillTable({{"300", "5,4", "0"}, {"310", "5,6", "1,6"}});
    Form1->Button1->click();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.file("v.pdf")));
    printer.setDocName("ChartV");
    charts::printChart(*Form1->ChartV, Form1->ChartV->size(), printer);
    const auto [infoStatus, info] = run("pdfinfo", {QString::fromStdString(dir.file("v.pdf"))});
    EXPECT_EQ(infoStatus, 0);
    EXPECT_EQ(pageCount(info), 1) << info;
    const auto [textStatus, text] =
        run("pdftotext", {QString::fromStdString(dir.file("v.pdf")), "-"});
    EXPECT_NE(text.find("V = f(N)"), std::string::npos) << text;
    EXPECT_NE(text.find("V [m/s]"), std::string::npos) << text;
}

// Prints through the real default queue that the test command sets up (cups-pdf): the PDF
// turns up in ~/PDF a little later.
TEST_F(ChartCommands, PrintGoesToTheDefaultPrinterAsOneJob)
{
    if (qEnvironmentVariableIsEmpty("VEXOREL_CUPS_QUEUE"))
        GTEST_SKIP() << "no CUPS queue set up for this run";
    fillTable({{"300", "5,4", "0"}, {"310", "5,6", "1,6"}});
    Form1->Button1->click();
    const QDir out(QDir::homePath() + "/PDF");
    // cups-pdf names the file after the job and replaces an older one of that name.
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
    Form1->Print4->trigger();
    ASSERT_TRUE(errors().isEmpty()) << errors().join(";").toStdString();
    QString pdf;
    QElapsedTimer clock;
    clock.start();
    while (pdf.isEmpty() && clock.elapsed() < 60000) {
        for (const QFileInfo& file : out.entryInfoList({"*.pdf"}, QDir::Files)) {
            if (file.lastModified() >= started && file.size() > 0)
                pdf = file.filePath();
        }
        QTest::qWait(200);
    }
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF from the queue";
    QTest::qWait(500);
    const auto [status, info] = run("pdfinfo", {pdf});
    EXPECT_EQ(pageCount(info), 1) << info;
    EXPECT_NE(info.find("ChartdV"), std::string::npos) << info;
}

TEST(PrintWithoutPrinter, ReportsThatThereIsNoDefaultPrinter)
{
    if (!qEnvironmentVariableIsEmpty("VEXOREL_NO_PRINTER_CHILD")) {
        // The child: a CUPS server nobody answers.
        TempDir dir;
        CurrentDir cwd(dir.path());
        ScriptedPrompter prompter;
        createForms();
        Form1->table().setCell(1, 1, "300");
        Form1->Button1->click();
        Form1->Print2->trigger();
        ASSERT_EQ(prompter.messages.size(), 2u); // the missing bullet file, then the printer
        EXPECT_EQ(prompter.messages[1].text, "There is no default printer currently selected");
        destroyForms();
        return;
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VEXOREL_NO_PRINTER_CHILD", "1");
    env.insert("CUPS_SERVER", "/nonexistent/vexorel-cups.sock");
    env.remove("PRINTER");
    env.remove("LPDEST");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=PrintWithoutPrinter.ReportsThatThereIsNoDefaultPrinter"});
    ASSERT_TRUE(child.waitForFinished(120000));
    const std::string output = child.readAll().toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

} // namespace
