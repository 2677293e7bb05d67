// The load-development window's files: its load test opened and saved, the exports and the
// report, the close question, and files dropped on it.
#include "chart/ui/chartwidget.h"
#include "charts/chartpicture.h"
#include "exports/ui/papersize.h"
#include "exports/ui/reportpieces.h"
#include "loaddev/laddercsv.h"
#include "loaddev/loaddevwindow.h"
#include "loaddev/loadtestreport.h"
#include "runtime/atomicfile.h"
#include "session/loadtestfile.h"
#include "ui/errorreport.h"
#include "ui/qtext.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QUrl>

namespace loaddev {

namespace {

// The size the chart is saved at when the window has not laid it out yet.
constexpr QSize kPictureSize(720, 480);

QStringList localFiles(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

bool LoadDevWindow::openFile(const QString& path)
{
    session::LoadTest test;
    try {
        test = session::readLoadTest(ui::toLocalPath(path));
    } catch (const session::NotLoadTestFile& refusal) {
        ui::showProgramMessage(this, QStringLiteral("'%1' is not a Vexorel load test (line %2)")
                                         .arg(QDir::toNativeSeparators(path))
                                         .arg(refusal.line()));
        return false;
    } catch (const session::NewerLoadTestFile& refusal) {
        ui::showProgramMessage(this, ui::toQString(refusal.what()));
        return false;
    }
    showTest(std::move(test), QFileInfo(path).absoluteFilePath());
    return true;
}

void LoadDevWindow::showTest(session::LoadTest test, const QString& path)
{
    m_test = std::move(test);
    m_path = path;
    m_unsaved = false;
    showVariable();
    recompute();
    showTitle();
}

void LoadDevWindow::New1Click()
{
    if (!mayClose())
        return;
    showTest({}, {});
}

void LoadDevWindow::Open1Click()
{
    if (!mayClose())
        return;
    if (const auto path = ui::askOpenFile(this, OpenDialog))
        openFile(*path);
}

bool LoadDevWindow::saveTo(const QString& path)
{
    session::writeLoadTest(m_test, ui::toLocalPath(path));
    // Only a file that holds the test becomes its file.
    m_path = path;
    m_unsaved = false;
    showTitle();
    return true;
}

bool LoadDevWindow::Save1Click()
{
    // A title typed and not yet left is part of what is saved.
    titleEdited();
    return m_path.isEmpty() ? SaveAs1Click() : saveTo(m_path);
}

bool LoadDevWindow::SaveAs1Click()
{
    if (SaveDialog.fileName.isEmpty() && !m_test.title.empty())
        SaveDialog.fileName = ui::toQString(m_test.title) + QStringLiteral(".vxl");
    const auto path = ui::askSaveFile(this, SaveDialog);
    return path && saveTo(*path);
}

bool LoadDevWindow::offerToSave()
{
    const ui::MessageResult answer = ui::prompts().message(
        this, QStringLiteral("Load Development"),
        QStringLiteral("Do you want to save the load test '%1' before closing?")
            .arg(m_path.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(m_path).fileName()),
        ui::MessageIcon::None, ui::MessageButtons::YesNoCancel);
    if (answer == ui::MessageResult::No)
        return true;
    if (answer != ui::MessageResult::Yes)
        return false;
    // A save that fails is reported and keeps the window open.
    bool saved = false;
    ui::guarded([this, &saved] { saved = Save1Click(); })();
    return saved;
}

bool LoadDevWindow::mayClose()
{
    return !m_unsaved || offerToSave();
}

void LoadDevWindow::closeEvent(QCloseEvent* event)
{
    if (!mayClose()) {
        event->ignore();
        return;
    }
    // A load test closed is gone, saved or not: the window opens empty next time.
    showTest({}, {});
    event->accept();
}

void LoadDevWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void LoadDevWindow::dropEvent(QDropEvent* event)
{
    const QStringList paths = localFiles(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // A load test dropped is opened; strings of every other kind join the one shown.
    if (paths.size() == 1 && session::isLoadTestName(ui::toLocalPath(paths.front()))) {
        ui::guarded([this, &paths] {
            if (mayClose())
                openFile(paths.front());
        })();
        return;
    }
    addFiles(paths);
}

QString LoadDevWindow::reportName() const
{
    return m_path.isEmpty() ? QStringLiteral("Unsaved load test") : QFileInfo(m_path).fileName();
}

void LoadDevWindow::ExportChart1Click()
{
    if (m_figures.rows.empty())
        return;
    if (const auto path = ui::askSaveFile(this, ChartDialog)) {
        const QSize size = Chart->isVisible() ? Chart->size() : kPictureSize;
        charts::savePicture(*Chart, size,
                            charts::pictureFormatFor(*path, ChartDialog.selectedFilter),
                            ui::toLocalPath(*path));
    }
}

void LoadDevWindow::ExportTable1Click()
{
    if (m_figures.rows.empty())
        return;
    if (const auto path = ui::askSaveFile(this, CsvDialog))
        rt::createFile(ui::toLocalPath(*path), ladderCsv(m_test, m_figures));
}

namespace {

LoadTestReport reportOf(const QString& name, const QString& path, const session::LoadTest& test,
                        const session::LadderFigures& figures, const chart::Chart& chart)
{
    // The strings are as old as the file that holds them; a test in no file is today's.
    const QFileInfo file(path);
    const QDate date =
        path.isEmpty() || !file.exists() ? QDate::currentDate() : file.lastModified().date();
    return {name, QLocale().toString(date, QLocale::LongFormat), &test, &figures, &chart};
}

} // namespace

void LoadDevWindow::ExportReport1Click()
{
    if (m_figures.rows.empty())
        return;
    if (const auto path = ui::askSaveFile(this, ReportDialog))
        rt::createFile(
            ui::toLocalPath(*path),
            loadTestReportPdf(reportOf(reportName(), m_path, m_test, m_figures, Chart->chart()),
                              exports::reportPageSize(QLocale())));
}

void LoadDevWindow::PrintReport1Click()
{
    if (m_figures.rows.empty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(exports::reportPageSize(QLocale()));
    const double margin = exports::kReportMarginMm;
    printer.setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
    const LoadTestReport report = reportOf(reportName(), m_path, m_test, m_figures, Chart->chart());
    printer.setDocName(report.name);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(QStringLiteral("Print Report"));
    // The preview asks again for every change of paper or printer.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&report](QPrinter* target) {
        ui::guarded([&] { paintLoadTestReport(*target, report); })();
    });
    ui::prompts().execModal(&preview);
}

} // namespace loaddev
