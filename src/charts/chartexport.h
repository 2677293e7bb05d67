#pragma once

#include <QSize>
#include <QString>

#include <string>

class QPainter;
class QPrinter;
class QRectF;
namespace chart {
class ChartWidget;
}

// Pictures and printouts of a chart, drawn as it shows on screen at the given size.
namespace charts {

// Write through a temporary file, so a failure leaves what was there; a file that cannot be
// written raises "Cannot create file <path>".
void saveBmp(const chart::ChartWidget& chart, QSize size, const std::string& path);
void saveWmf(const chart::ChartWidget& chart, QSize size, const std::string& path);

// The metafile's bytes, for the writer above and for tests.
std::string wmfBytes(const chart::ChartWidget& chart, QSize size);

// Draws the chart laid out at `size`, as on screen, and scales it into target (device
// pixels). Fonts are pixel-sized for the screen: a printer or PDF of 1200 dpi drawn at its
// own pixels would show them a few points high. Crowded lines are thinned to the target's
// pixel columns unless everyPoint is set.
void drawScaled(const chart::ChartWidget& chart, QSize size, QPainter& painter,
                const QRectF& target, bool everyPoint = false);

// One page: 15 % margins on the chart's longer side, the other two keeping its proportions.
void printChart(const chart::ChartWidget& chart, QSize size, QPrinter& printer);

// At once, without a dialog, as one job named jobName. Without a default printer raises
// "There is no default printer currently selected".
void printOnDefaultPrinter(const chart::ChartWidget& chart, QSize size, const QString& jobName);

} // namespace charts
