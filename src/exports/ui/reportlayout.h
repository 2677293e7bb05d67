#pragma once

#include <cstddef>

// Where the report's parts go, as numbers: in pixels of 96 per inch inside the page's
// margins, the unit the charts are drawn in. Painting follows this plan, and the page count
// is known before the first page is painted.
namespace exports {

// Velocity, energy, deviation, distribution.
inline constexpr std::size_t kReportCharts = 4;

namespace reportmetrics {
inline constexpr double kTitleLine = 30;
inline constexpr double kLine = 17;
inline constexpr double kGap = 12;
inline constexpr double kSectionTitle = 22;
inline constexpr double kChartMax = 240;
// Below this a chart's labels crowd its plot: the charts go to the next page.
inline constexpr double kChartMin = 150;
inline constexpr double kTableHeader = 20;
inline constexpr double kRow = 15;
inline constexpr double kFooter = 22;
// Fewer table rows than this after the charts look like a stray: the table starts a page.
inline constexpr std::size_t kMinRowsAfterCharts = 5;
} // namespace reportmetrics

struct ReportLayout {
    double statisticsTop = 0;
    std::size_t statisticRows = 0;
    int chartsPage = 1;
    double chartsTop = 0;
    double chartHeight = 0;
    int tablePage = 1;
    double tableTop = 0;
    std::size_t rowsOnTablePage = 0;
    std::size_t rowsPerPage = 0;
    int pageCount = 1;
    // Where the footer begins; the body ends above it.
    double bodyBottom = 0;
};

// height: of the area inside the margins; headingLines: the title, the date and the
// bullet lines; statisticLines in two columns; rows of the table.
ReportLayout layoutReport(double height, std::size_t headingLines, std::size_t statisticLines,
                          std::size_t rows);

} // namespace exports
