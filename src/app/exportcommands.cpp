// The main window's exports: the table for spreadsheets (CSV, a LabRadar-style report, the
// clipboard), the visible chart as a picture, and the session's report as a PDF or on paper.
#include "app/tform1.h"
#include "chart/ui/chartwidget.h"
#include "charts/chartpicture.h"
#include "exports/copytext.h"
#include "exports/csvexport.h"
#include "exports/labradarexport.h"
#include "exports/ui/papersize.h"
#include "runtime/atomicfile.h"
#include "table/currentfile.h"
#include "table/measurementtable.h"
#include "ui/errorreport.h"
#include "ui/gridview.h"
#include "ui/localtime.h"
#include "ui/qtext.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QTabWidget>

void TForm1::setUpExportDialogs()
{
    SaveDialog4.filter = QStringLiteral("CSV spreadsheet (*.csv)");
    SaveDialog4.defaultSuffix = QStringLiteral("csv");
    SaveDialog5.filter = QStringLiteral("LabRadar report (*.csv)");
    SaveDialog5.defaultSuffix = QStringLiteral("csv");
    SaveDialog6.filter =
        QStringLiteral("PNG picture (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)");
    SaveDialog6.defaultSuffix = QStringLiteral("png");
    SaveDialog7.filter = QStringLiteral("PDF document (*.pdf)");
    SaveDialog7.defaultSuffix = QStringLiteral("pdf");
}

void TForm1::proposeSessionName(ui::FileDialogState& dialog, const char* suffix) const
{
    const QString current = ui::toQString(table::currentFileName());
    if (current.isEmpty())
        return;
    dialog.fileName =
        QFileInfo(current).completeBaseName() + QLatin1Char('.') + QString::fromUtf8(suffix);
    if (dialog.directory.isEmpty())
        dialog.directory = QFileInfo(current).absolutePath();
}

std::vector<exports::StatisticLine> TForm1::exportedStatistics() const
{
    const ui::GridSelection marked = Grid->selection();
    exports::ConfidenceSetting confidence{m_confidence, {}};
    // The panel's target, while it is in the units shown.
    if (m_shotsTarget && m_shotsTarget->second == m_units)
        confidence.target = m_shotsTarget->first;
    return exports::statisticLines(m_table, m_statistics ? &*m_statistics : nullptr, m_units,
                                   exports::MarkedRows{marked.top, marked.bottom}, confidence);
}

exports::ReportSource TForm1::reportSource() const
{
    exports::ReportSource source;
    const QString current = ui::toQString(table::currentFileName());
    const QFileInfo file(current);
    source.sessionName = current.isEmpty() ? QStringLiteral("Unsaved session") : file.fileName();
    // The shots are as old as the file that holds them; a table in no file is today's.
    const QDate date =
        current.isEmpty() || !file.exists() ? QDate::currentDate() : file.lastModified().date();
    source.date = QLocale().toString(date, QLocale::LongFormat);
    source.details = m_details;
    source.grid = &m_table;
    source.units = m_units;
    source.statistics = exportedStatistics();
    source.charts = {&ChartV->chart(), &ChartE->chart(), &ChartdV->chart(),
                     &ChartDistribution->chart()};
    return source;
}

void TForm1::ExportTableAsCsv1Click()
{
    if (refuseEmptyTable())
        return;
    proposeSessionName(SaveDialog4, "csv");
    if (const auto path = ui::askSaveFile(this, SaveDialog4))
        rt::createFile(ui::toLocalPath(*path),
                       exports::tableCsv(m_table, m_units, exportedStatistics(), m_details));
}

void TForm1::ExportLabRadarReport1Click()
{
    if (refuseEmptyTable())
        return;
    proposeSessionName(SaveDialog5, "csv");
    if (const auto path = ui::askSaveFile(this, SaveDialog5)) {
        const QDateTime now = QDateTime::currentDateTime();
        const exports::ExportMoment moment{now.toString(QStringLiteral("yyyy-MM-dd")).toStdString(),
                                           now.toString(QStringLiteral("HH:mm:ss")).toStdString()};
        rt::createFile(ui::toLocalPath(*path),
                       exports::labRadarReport(m_table, m_units, moment, ui::localTimeText));
    }
}

void TForm1::ExportChartAsPicture1Click()
{
    auto* chart = qobject_cast<chart::ChartWidget*>(PageControl1->currentWidget());
    if (!chart || chart->seriesCount() == 0)
        return;
    if (const auto path = ui::askSaveFile(this, SaveDialog6))
        charts::savePicture(*chart, chartPictureSize(chart),
                            charts::pictureFormatFor(*path, SaveDialog6.selectedFilter),
                            ui::toLocalPath(*path));
}

void TForm1::ExportReportAsPdf1Click()
{
    if (refuseEmptyTable())
        return;
    proposeSessionName(SaveDialog7, "pdf");
    if (const auto path = ui::askSaveFile(this, SaveDialog7))
        rt::createFile(ui::toLocalPath(*path),
                       exports::reportPdf(reportSource(), exports::reportPageSize(QLocale())));
}

void TForm1::PrintReport1Click()
{
    if (refuseEmptyTable())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(exports::reportPageSize(QLocale()));
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    const exports::ReportSource source = reportSource();
    printer.setDocName(source.sessionName);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(QStringLiteral("Print Report"));
    // The preview asks again for every change of paper or printer.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [&source](QPrinter* target) {
        ui::guarded([&] { exports::paintReport(*target, source); })();
    });
    ui::prompts().execModal(&preview);
}

void TForm1::Copy1Click()
{
    // The menu item acts where the user is, as Ctrl+C does: a text field keeps its own copy.
    if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        field && field->window() == this) {
        field->copy();
        return;
    }
    if (table::isEmpty(m_table))
        return;
    const ui::GridSelection marked = Grid->selection();
    QGuiApplication::clipboard()->setText(
        ui::toQString(exports::tabSeparatedRows(m_table, marked.top, marked.bottom, m_units)));
}
