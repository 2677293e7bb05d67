#pragma once

#include "session/ladder.h"
#include "session/loadtest.h"

#include <QPageSize>
#include <QString>

#include <string>

class QPagedPaintDevice;
namespace chart {
class Chart;
}

// The load test's report for the load book: its title, the variable and the confidence level,
// the ladder's table, the line and its flat spots, the chart, the comparisons the user made
// and every string's details, over as many pages as it takes. One painting serves the PDF
// file, the print preview and the printer, as the session's report does.
namespace loaddev {

struct LoadTestReport {
    // The file's name, or "Unsaved load test".
    QString name;
    QString date;
    const session::LoadTest* test = nullptr;
    const session::LadderFigures* figures = nullptr;
    const chart::Chart* chart = nullptr;
};

// Paints from the page the device has open and returns how many it painted. A device that
// cannot be painted on raises "Printer selected is not valid".
int paintLoadTestReport(QPagedPaintDevice& device, const LoadTestReport& report);

std::string loadTestReportPdf(const LoadTestReport& report, const QPageSize& paper);

} // namespace loaddev
