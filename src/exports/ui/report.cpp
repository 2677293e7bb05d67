#include "exports/ui/report.h"

#include "chart/decimation.h"
#include "chart/render.h"
#include "chart/ui/qpaintercanvas.h"
#include "exports/bulletsummary.h"
#include "exports/detaillines.h"
#include "exports/shotfields.h"
#include "exports/ui/reportlayout.h"
#include "exports/ui/reportpieces.h"
#include "runtime/decimalseparator.h"
#include "runtime/errors.h"
#include "table/measurementtable.h"
#include "ui/localtime.h"
#include "ui/qtext.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace exports {

namespace {

using namespace reportmetrics;

constexpr double kScreenDpi = 96;
constexpr std::size_t kBulletLines = 4;
// Beyond these the notes end in an ellipsis: the statistics and charts stay on the first page.
constexpr std::size_t kNoteLines = 6;
// The report's charts share the size a vector file may have.
constexpr double kChartFileShare = chart::kVectorFileLimit / kReportCharts;
// Shares of the table's width: N, V, E, m, Bullet, dV.
constexpr std::array<double, table::kColumnCount> kColumnShares = {0.08, 0.15, 0.15,
                                                                   0.14, 0.33, 0.15};
const QColor kRule(0x90, 0x90, 0x90);
const QColor kStripe(0xF0, 0xF0, 0xF0);
// Dark enough to read on any printer, light enough to tell from the counted shots.
const QColor kExcludedText(0x80, 0x80, 0x80);
const QString kExcludedMark = QStringLiteral("excluded");

// The string's date as the report's own is shown, in local time: "Saturday, May 11, 2024,
// 9:41 AM". A date typed without a time is kept as midnight and shows as the day alone; a
// text that is no date shows as it is.
QString stringDate(const std::string& iso)
{
    const QString local = ui::toQString(ui::localTimeText(iso));
    const QDateTime moment = QDateTime::fromString(local, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!moment.isValid())
        return local;
    const QLocale locale;
    const QString day = locale.toString(moment.date(), QLocale::LongFormat);
    if (moment.time() == QTime(0, 0))
        return day;
    return day + QStringLiteral(", ") + locale.toString(moment.time(), QLocale::ShortFormat);
}

// A line under the title: one text across the page, or two fields side by side.
struct HeadingLine {
    QString left;
    QString right;
};

std::vector<HeadingLine> headingLines(const ReportSource& report)
{
    std::vector<HeadingLine> lines;
    lines.push_back(
        {report.details.dateTime.empty() ? report.date : stringDate(report.details.dateTime), {}});
    std::vector<QString> fields;
    QString notes;
    for (const DetailLine& line : detailLines(report.details)) {
        if (line.caption == kDateCaption)
            continue;
        if (line.caption == kNotesCaption)
            notes = ui::toQString(line.value);
        else
            fields.push_back(ui::toQString(line.caption) + QStringLiteral(": ") +
                             ui::toQString(line.value));
    }
    for (std::size_t i = 0; i < fields.size(); i += 2)
        lines.push_back({fields[i], i + 1 < fields.size() ? fields[i + 1] : QString()});
    if (!notes.isEmpty()) {
        QStringList noteLines = notes.split(QLatin1Char('\n'));
        if (static_cast<std::size_t>(noteLines.size()) > kNoteLines) {
            noteLines.resize(kNoteLines);
            noteLines.back() += QStringLiteral(" \u2026");
        }
        noteLines.front().prepend(QStringLiteral("Notes: "));
        for (const QString& line : noteLines)
            lines.push_back({line, {}});
    }
    const BulletSummary bullets = bulletSummary(*report.grid, report.units, kBulletLines);
    for (const std::string& bullet : bullets.bullets)
        lines.push_back({QStringLiteral("Bullet: ") + ui::toQString(bullet), {}});
    if (bullets.more > 0)
        lines.push_back({QStringLiteral("and %1 more bullets").arg(bullets.more), {}});
    return lines;
}

class ReportPainter {
public:
    // everyPoint: the charts keep every point where the file stays small enough; else they
    // are thinned to the device's pixels.
    ReportPainter(QPagedPaintDevice& device, QPainter& painter, const ReportSource& report,
                  bool everyPoint)
        : m_device(device)
        , m_painter(painter)
        , m_report(report)
        , m_everyPoint(everyPoint)
    {
        // Everything is laid out in screen pixels, the charts' own unit, and scaled to the
        // device, as a printed chart is.
        m_scale = device.logicalDpiY() / kScreenDpi;
        m_painter.scale(m_scale, m_scale);
        m_width = device.width() / m_scale;
        m_height = device.height() / m_scale;
        m_heading = headingLines(report);
        m_layout = layoutReport(m_height, m_heading.size() + 1, report.statistics.size(),
                                report.grid->rowCount() - 1);
    }

    int paint()
    {
        paintHeading();
        paintStatistics();
        if (m_layout.chartsPage > m_page)
            nextPage();
        paintCharts();
        if (m_layout.tablePage > m_page)
            nextPage();
        paintTable();
        paintFooter();
        return m_page;
    }

private:
    void text(const QRectF& box, const QString& s, Qt::Alignment align)
    {
        paintText(m_painter, box, s, align);
    }

    void nextPage()
    {
        paintFooter();
        if (!m_device.newPage())
            throw rt::Exception("Printing failed");
        ++m_page;
    }

    void paintFooter()
    {
        m_painter.setPen(Qt::black);
        m_painter.setFont(reportFont(9));
        const QRectF box(0, m_layout.bodyBottom + 4, m_width, kFooter - 4);
        text(box, m_report.sessionName, Qt::AlignLeft);
        text(box, QStringLiteral("Page %1 of %2").arg(m_page).arg(m_layout.pageCount),
             Qt::AlignRight);
    }

    void paintHeading()
    {
        m_painter.setPen(Qt::black);
        m_painter.setFont(reportFont(20, true));
        text(QRectF(0, 0, m_width, kTitleLine), m_report.sessionName, Qt::AlignLeft);
        m_painter.setFont(reportFont(12));
        double y = kTitleLine;
        const double half = (m_width - kGap) / 2;
        for (const HeadingLine& line : m_heading) {
            if (line.right.isEmpty()) {
                text(QRectF(0, y, m_width, kLine), line.left, Qt::AlignLeft);
            } else {
                text(QRectF(0, y, half, kLine), line.left, Qt::AlignLeft);
                text(QRectF(half + kGap, y, half, kLine), line.right, Qt::AlignLeft);
            }
            y += kLine;
        }
    }

    void paintStatistics()
    {
        const double top = m_layout.statisticsTop;
        m_painter.setFont(reportFont(14, true));
        text(QRectF(0, top - kSectionTitle, m_width, kSectionTitle), QStringLiteral("Statistics"),
             Qt::AlignLeft);
        m_painter.setFont(reportFont(12));
        const QFontMetricsF metrics(m_painter.font(), m_painter.device());
        const double column = (m_width - kGap) / 2;
        for (std::size_t i = 0; i < m_report.statistics.size(); ++i) {
            const StatisticLine& line = m_report.statistics[i];
            const std::size_t row = i % m_layout.statisticRows;
            const double x = i < m_layout.statisticRows ? 0 : column + kGap;
            const double y = top + static_cast<double>(row) * kLine;
            // Values end at one edge; a caption has the room its value leaves, so a range
            // ("849,7 – 853,7") and a sentence with no value (the flyer line) stay whole.
            const QString value = ui::toQString(line.value);
            const double valueRight = column * 0.8;
            const double valueWidth =
                value.isEmpty() ? 0 : metrics.horizontalAdvance(value) + kGap / 2;
            const double captionWidth = line.value.empty() && line.unit.empty()
                                            ? column
                                            : std::max(valueRight - valueWidth, column * 0.4);
            text(QRectF(x, y, captionWidth, kLine), ui::toQString(line.caption), Qt::AlignLeft);
            text(QRectF(x + captionWidth, y, valueRight - captionWidth, kLine), value,
                 Qt::AlignRight);
            text(QRectF(x + column * 0.82, y, column * 0.18, kLine), ui::toQString(line.unit),
                 Qt::AlignLeft);
        }
    }

    void paintCharts()
    {
        double y = m_layout.chartsTop;
        for (const chart::Chart* c : m_report.charts) {
            if (c) {
                // Drawn at the size it gets, so its fonts keep their on-screen size. Not
                // clipped: the last tick's label may reach a little into the margin.
                m_painter.save();
                m_painter.translate(0, y);
                m_painter.setRenderHint(QPainter::Antialiasing, true);
                chart::QPainterCanvas canvas(m_painter);
                const bool everyPoint =
                    m_everyPoint && chart::keepsEveryPoint(*c, chart::kPdfCost, kChartFileShare);
                chart::drawChart(*c, canvas, {0, 0, m_width, m_layout.chartHeight},
                                 rt::decimalSeparator(), everyPoint ? chart::kEveryPoint : m_scale);
                m_painter.restore();
            }
            y += m_layout.chartHeight + kGap;
        }
    }

    void paintTableHeader(double y)
    {
        m_painter.setFont(reportFont(11, true));
        paintRow(y, shotHeader(*m_report.grid, m_report.units), kTableHeader);
        m_painter.setPen(kRule);
        m_painter.drawLine(QPointF(0, y + kTableHeader), QPointF(m_width, y + kTableHeader));
        m_painter.setPen(Qt::black);
        m_painter.setFont(reportFont(11));
    }

    // An excluded shot is greyed, and marked at the end of its bullet's column, where the
    // mark stays readable in black and white.
    void paintRow(double y, const ShotFields& fields, double height, bool excluded = false)
    {
        double x = 0;
        for (std::size_t col = 0; col < fields.size(); ++col) {
            const double w = m_width * kColumnShares[col];
            const Qt::Alignment align = col == table::ColBullet ? Qt::AlignLeft : Qt::AlignRight;
            // A little air between a right-aligned number and the next column's text.
            QRectF box(x + 4, y, w - 8, height);
            if (excluded && col == table::ColBullet) {
                const QFont plain = m_painter.font();
                QFont italic = plain;
                italic.setItalic(true);
                m_painter.setFont(italic);
                text(box, kExcludedMark, Qt::AlignRight);
                const double markWidth =
                    QFontMetricsF(italic, m_painter.device()).horizontalAdvance(kExcludedMark);
                m_painter.setFont(plain);
                box.setWidth(std::max(0.0, box.width() - markWidth - kGap));
            }
            text(box, ui::toQString(fields[col]), align);
            x += w;
        }
    }

    void paintTable()
    {
        const table::StringGrid& grid = *m_report.grid;
        double y = m_layout.tableTop;
        std::size_t room = m_layout.rowsOnTablePage;
        paintTableHeader(y);
        y += kTableHeader;
        ShotFields fields;
        for (std::size_t row = 1; row < grid.rowCount(); ++row) {
            if (room == 0) {
                nextPage();
                y = 0;
                room = m_layout.rowsPerPage;
                paintTableHeader(y);
                y += kTableHeader;
            }
            if (row % 2 == 0)
                m_painter.fillRect(QRectF(0, y, m_width, kRow), kStripe);
            shotFields(grid, row, m_report.units, fields);
            const bool excluded = grid.numbers().excluded(row);
            m_painter.setPen(excluded ? kExcludedText : QColor(Qt::black));
            paintRow(y, fields, kRow, excluded);
            y += kRow;
            --room;
        }
    }

    QPagedPaintDevice& m_device;
    QPainter& m_painter;
    const ReportSource& m_report;
    bool m_everyPoint;
    double m_scale = 1;
    double m_width = 0;
    double m_height = 0;
    std::vector<HeadingLine> m_heading;
    ReportLayout m_layout;
    int m_page = 1;
};

int paintPages(QPagedPaintDevice& device, const ReportSource& report, bool everyPoint)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw rt::Exception("Printer selected is not valid");
    ReportPainter reportPainter(device, painter, report, everyPoint);
    const int pages = reportPainter.paint();
    if (!painter.end())
        throw rt::Exception("Printing failed");
    return pages;
}

} // namespace

int paintReport(QPagedPaintDevice& device, const ReportSource& report)
{
    return paintPages(device, report, false);
}

std::string reportPdf(const ReportSource& report, const QPageSize& paper)
{
    return reportPdfDocument(report.sessionName, paper, [&report](QPagedPaintDevice& device) {
        paintPages(device, report, true);
    });
}

} // namespace exports
