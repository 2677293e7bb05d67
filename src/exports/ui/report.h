#pragma once

#include "exports/statisticlines.h"
#include "exports/ui/reportlayout.h"
#include "table/stringdetails.h"
#include "table/stringgrid.h"
#include "table/units.h"

#include <QPageSize>
#include <QString>

#include <array>
#include <string>
#include <vector>

class QPagedPaintDevice;
namespace chart {
class Chart;
}

// The session's report: its name, the string's date and details, the bullets, every
// statistic, the four charts, then the table over as many pages as it needs, its excluded
// shots greyed and marked. One painting serves the PDF file, the print preview and the
// printer.
namespace exports {

struct ReportSource {
    QString sessionName;
    // The report's own date, the file's or today's: shown where the string has none.
    QString date;
    // Under the title: the string's date in local time and its fields that hold something.
    table::StringDetails details;
    const table::StringGrid* grid = nullptr;
    table::Units units = table::Units::Metric;
    std::vector<StatisticLine> statistics;
    // Velocity, energy, deviation and the velocities' distribution, as the window shows them.
    std::array<const chart::Chart*, kReportCharts> charts{};
};

// Paints on the device's pages, starting on the page it has open, and returns how many
// it painted; the charts' lines are thinned to the device's pixels. A device that cannot be
// painted on raises "Printer selected is not valid".
int paintReport(QPagedPaintDevice& device, const ReportSource& report);

// The report as a PDF document on the given paper with 15 mm margins. Its charts keep every
// point while the file stays within the size of a vector file (chart::kVectorFileLimit).
std::string reportPdf(const ReportSource& report, const QPageSize& paper);

} // namespace exports
