#include "exports/ui/reportlayout.h"

#include <algorithm>
#include <cmath>

namespace exports {

using namespace reportmetrics;

namespace {

std::size_t rowsIn(double height)
{
    // The charts leave room for whole rows; rounding must not take one back.
    constexpr double kSlack = 1e-6;
    return height + kSlack < kTableHeader + kRow
               ? 0
               : static_cast<std::size_t>(std::floor((height - kTableHeader) / kRow + kSlack));
}

} // namespace

ReportLayout layoutReport(double height, std::size_t headingLines, std::size_t statisticLines,
                          std::size_t rows)
{
    ReportLayout l;
    l.bodyBottom = height - kFooter;
    // The title line, then date and bullets in body lines.
    double y = kTitleLine + static_cast<double>(headingLines > 0 ? headingLines - 1 : 0) * kLine;
    y += kGap;
    l.statisticsTop = y + kSectionTitle;
    l.statisticRows = (statisticLines + 1) / 2;
    y = l.statisticsTop + static_cast<double>(l.statisticRows) * kLine + kGap;

    // Room for the table's first rows under the charts, so a short string stays on one page.
    const double tableStart =
        rows > 0 ? kTableHeader + static_cast<double>(std::min(rows, kMinRowsAfterCharts)) * kRow
                 : 0;
    const auto chartHeightFrom = [&](double top, double below) {
        constexpr auto charts = static_cast<double>(kReportCharts);
        return std::min(kChartMax, (l.bodyBottom - top - below - charts * kGap) / charts);
    };
    l.chartsTop = y;
    l.chartHeight = chartHeightFrom(y, tableStart);
    if (l.chartHeight < kChartMin)
        l.chartHeight = chartHeightFrom(y, 0);
    if (l.chartHeight < kChartMin) {
        l.chartsPage = 2;
        l.chartsTop = 0;
        l.chartHeight = std::max(chartHeightFrom(0, tableStart), 1.0);
    }
    y = l.chartsTop + static_cast<double>(kReportCharts) * (l.chartHeight + kGap);

    l.rowsPerPage = std::max<std::size_t>(rowsIn(l.bodyBottom), 1);
    l.tablePage = l.chartsPage;
    l.tableTop = y;
    l.rowsOnTablePage = rowsIn(l.bodyBottom - y);
    if (l.rowsOnTablePage < std::min(kMinRowsAfterCharts, rows)) {
        ++l.tablePage;
        l.tableTop = 0;
        l.rowsOnTablePage = l.rowsPerPage;
    }
    const std::size_t rest = rows > l.rowsOnTablePage ? rows - l.rowsOnTablePage : 0;
    l.pageCount = l.tablePage + static_cast<int>((rest + l.rowsPerPage - 1) / l.rowsPerPage);
    return l;
}

} // namespace exports
