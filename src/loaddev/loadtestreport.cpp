#include "loaddev/loadtestreport.h"

#include "chart/render.h"
#include "chart/ui/qpaintercanvas.h"
#include "exports/ui/reportlayout.h"
#include "exports/ui/reportpieces.h"
#include "runtime/decimalseparator.h"
#include "runtime/errors.h"
#include "session/laddertexts.h"
#include "session/stringcomparison.h"
#include "ui/localtime.h"
#include "ui/qtext.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <array>
#include <functional>

namespace loaddev {

namespace {

using namespace exports::reportmetrics;

constexpr double kScreenDpi = 96;
// The ladder's chart gets more room than the session's three: it is the report's point.
constexpr double kLadderChartHeight = 1.5 * kChartMax;
// Shares of the table's width, column by column of session::LadderColumn.
constexpr std::array<double, session::kLadderColumnCount> kColumnShares = {
    0.12, 0.07, 0.11, 0.09, 0.09, 0.16, 0.12, 0.14, 0.10};
const QColor kRule(0x90, 0x90, 0x90);
const QColor kStripe(0xF0, 0xF0, 0xF0);

// The string's details as the report lists them: caption and text, the empty ones left out.
std::vector<std::pair<QString, QString>> detailLines(const table::StringDetails& d)
{
    const auto quantity = [](const table::Quantity& q) {
        return ui::toQString(q.value + (q.unit.empty() || q.value.empty() ? "" : " " + q.unit));
    };
    const std::pair<const char*, QString> all[] = {
        {"Title", ui::toQString(d.title)},   {"Date", ui::toQString(ui::localTimeText(d.dateTime))},
        {"Rifle", ui::toQString(d.rifle)},   {"Cartridge", ui::toQString(d.cartridge)},
        {"Powder", ui::toQString(d.powder)}, {"Charge", quantity(d.charge)},
        {"Primer", ui::toQString(d.primer)}, {"Case", ui::toQString(d.caseName)},
        {"Length", quantity(d.length)},      {"Temperature", quantity(d.temperature)},
        {"Place", ui::toQString(d.place)},
    };
    std::vector<std::pair<QString, QString>> lines;
    for (const auto& [caption, text] : all) {
        if (!text.isEmpty())
            lines.emplace_back(QString::fromUtf8(caption), text);
    }
    const QStringList notes = ui::toQString(d.notes).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < notes.size(); ++i) {
        if (!notes[i].isEmpty() || i + 1 < notes.size())
            lines.emplace_back(i == 0 ? QStringLiteral("Notes") : QString(), notes[i]);
    }
    return lines;
}

// Lays the report out from the top down, starting a page where the next part does not fit.
// Run once without painting to count the pages, then to paint them with "Page n of N".
class ReportFlow {
public:
    ReportFlow(QPagedPaintDevice& device, QPainter* painter, const LoadTestReport& report,
               int pageCount)
        : m_device(device)
        , m_painter(painter)
        , m_report(report)
        , m_test(*report.test)
        , m_figures(*report.figures)
        , m_pageCount(pageCount)
    {
        const double scale = device.logicalDpiY() / kScreenDpi;
        if (m_painter)
            m_painter->scale(scale, scale);
        m_width = device.width() / scale;
        m_bottom = device.height() / scale - kFooter;
    }

    int run()
    {
        heading();
        ladderTable();
        lineFigures();
        ladderChart();
        comparisons();
        strings();
        footer();
        return m_page;
    }

private:
    bool painting() const { return m_painter != nullptr; }

    void room(double height)
    {
        if (m_y + height <= m_bottom || m_y == 0)
            return;
        footer();
        if (painting() && !m_device.newPage())
            throw rt::Exception("Printing failed");
        ++m_page;
        m_y = 0;
    }

    void text(const QRectF& box, const QString& s, Qt::Alignment align = Qt::AlignLeft)
    {
        if (painting())
            exports::paintText(*m_painter, box, s, align);
    }

    void font(int pixels, bool bold = false)
    {
        if (painting())
            m_painter->setFont(exports::reportFont(pixels, bold));
    }

    void line(const QString& s, int pixels = 12, bool bold = false)
    {
        room(kLine);
        font(pixels, bold);
        text(QRectF(0, m_y, m_width, kLine), s);
        m_y += kLine;
    }

    void section(const QString& title)
    {
        m_y += kGap;
        // A title stays with at least the line after it.
        room(kSectionTitle + kLine);
        font(14, true);
        text(QRectF(0, m_y, m_width, kSectionTitle), title);
        m_y += kSectionTitle;
    }

    void footer()
    {
        if (!painting())
            return;
        m_painter->setPen(Qt::black);
        font(9);
        const QRectF box(0, m_bottom + 4, m_width, kFooter - 4);
        text(box, m_report.name);
        text(box, QStringLiteral("Page %1 of %2").arg(m_page).arg(m_pageCount), Qt::AlignRight);
    }

    void heading()
    {
        font(20, true);
        text(QRectF(0, 0, m_width, kTitleLine),
             ui::toQString(m_test.title.empty() ? std::string("Load test") : m_test.title));
        m_y = kTitleLine;
        line(m_report.date);
        line(QStringLiteral("Variable: %1")
                 .arg(ui::toQString(session::variableHeading(m_test.variable))));
        line(QStringLiteral("Confidence level: %1, velocities in %2")
                 .arg(ui::toQString(session::levelText(m_figures.level)),
                      ui::toQString(table::velocityUnit(m_figures.units))));
        line(QStringLiteral("%1 strings").arg(m_test.strings.size()));
    }

    void tableRow(const std::array<std::string, session::kLadderColumnCount>& cells, double height)
    {
        double x = 0;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const double w = m_width * kColumnShares[c];
            text(QRectF(x + 3, m_y, w - 6, height), ui::toQString(cells[c]),
                 c == session::LadderFlat ? Qt::AlignHCenter : Qt::AlignRight);
            x += w;
        }
    }

    void tableHeader(const session::LadderTable& table)
    {
        font(10, true);
        if (painting())
            m_painter->setPen(Qt::black);
        tableRow(table.header, kTableHeader);
        if (painting()) {
            m_painter->setPen(kRule);
            m_painter->drawLine(QPointF(0, m_y + kTableHeader),
                                QPointF(m_width, m_y + kTableHeader));
            m_painter->setPen(Qt::black);
        }
        m_y += kTableHeader;
        font(10);
    }

    void ladderTable()
    {
        section(QStringLiteral("Ladder"));
        const session::LadderTable table = session::ladderTable(m_test, m_figures);
        room(kTableHeader + kRow);
        tableHeader(table);
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            if (m_y + kRow > m_bottom) {
                room(kTableHeader + kRow);
                tableHeader(table);
            }
            if (painting() && r % 2 == 1)
                m_painter->fillRect(QRectF(0, m_y, m_width, kRow), kStripe);
            tableRow(table.rows[r], kRow);
            m_y += kRow;
        }
    }

    void lineFigures()
    {
        m_y += kGap / 2;
        if (!m_figures.fit) {
            line(QStringLiteral("No line: it takes three shots or more at two values or more."));
            return;
        }
        line(QStringLiteral("Least squares through every shot: %1, %2")
                 .arg(ui::toQString(session::slopeText(*m_figures.fit, m_test.variable,
                                                       m_figures.units, m_figures.level)),
                      ui::toQString(session::rSquaredText(*m_figures.fit))));
        QStringList spots;
        for (const stats::Run& run : m_figures.flatSpots)
            spots << ui::toQString(
                session::valueShown(m_test.strings[m_figures.rows[run.first].string]) + " \u2013 " +
                session::valueShown(m_test.strings[m_figures.rows[run.last].string]) + " " +
                m_test.variable.unit);
        line(spots.isEmpty() ? QStringLiteral("Flat spots: none")
                             : QStringLiteral("Flat spots: ") + spots.join(QStringLiteral("; ")));
    }

    void ladderChart()
    {
        if (!m_report.chart)
            return;
        m_y += kGap;
        room(kLadderChartHeight);
        if (painting()) {
            m_painter->save();
            m_painter->translate(0, m_y);
            m_painter->setRenderHint(QPainter::Antialiasing, true);
            chart::QPainterCanvas canvas(*m_painter);
            chart::drawChart(*m_report.chart, canvas, {0, 0, m_width, kLadderChartHeight},
                             rt::decimalSeparator());
            m_painter->restore();
        }
        m_y += kLadderChartHeight;
    }

    void comparisons()
    {
        if (m_test.comparisons.empty())
            return;
        section(QStringLiteral("Comparisons at %1")
                    .arg(ui::toQString(session::levelText(m_figures.level))));
        for (const session::Comparison& c : m_test.comparisons) {
            const session::StringComparison result =
                session::compareStrings(m_figures, c.first, c.second);
            room(3 * kLine);
            line(ui::toQString(session::stringLabel(m_test, c.first) + " vs " +
                               session::stringLabel(m_test, c.second)),
                 12, true);
            line(ui::toQString(result.meanSentence));
            line(ui::toQString(result.sdSentence));
        }
    }

    void strings()
    {
        section(QStringLiteral("Strings"));
        for (const session::StringFigures& f : m_figures.rows) {
            const session::LoadTestString& string = m_test.strings[f.string];
            const auto details = detailLines(string.details);
            room(2 * kLine);
            line(ui::toQString(session::stringLabel(m_test, f.string)), 12, true);
            QString shots = QStringLiteral("%1 shots in the figures").arg(f.velocities.size());
            if (f.excluded > 0)
                shots += QStringLiteral(", %1 excluded").arg(f.excluded);
            line(shots);
            for (const auto& [caption, value] : details) {
                room(kLine);
                font(12);
                text(QRectF(0, m_y, m_width * 0.2, kLine), caption);
                text(QRectF(m_width * 0.2, m_y, m_width * 0.8, kLine), value);
                m_y += kLine;
            }
            m_y += kGap / 2;
        }
    }

    QPagedPaintDevice& m_device;
    QPainter* m_painter;
    const LoadTestReport& m_report;
    const session::LoadTest& m_test;
    const session::LadderFigures& m_figures;
    int m_pageCount;
    double m_width = 0;
    double m_bottom = 0;
    double m_y = 0;
    int m_page = 1;
};

} // namespace

int paintLoadTestReport(QPagedPaintDevice& device, const LoadTestReport& report)
{
    const int pages = ReportFlow(device, nullptr, report, 0).run();
    QPainter painter;
    if (!painter.begin(&device))
        throw rt::Exception("Printer selected is not valid");
    ReportFlow(device, &painter, report, pages).run();
    if (!painter.end())
        throw rt::Exception("Printing failed");
    return pages;
}

std::string loadTestReportPdf(const LoadTestReport& report, const QPageSize& paper)
{
    return exports::reportPdfDocument(report.name, paper, [&report](QPagedPaintDevice& device) {
        paintLoadTestReport(device, report);
    });
}

} // namespace loaddev
