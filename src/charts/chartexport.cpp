#include "charts/chartexport.h"

#include "chart/decimation.h"
#include "chart/render.h"
#include "chart/ui/chartwidget.h"
#include "chart/ui/qpaintercanvas.h"
#include "chart/wmfcanvas.h"
#include "runtime/atomicfile.h"
#include "runtime/decimalseparator.h"
#include "runtime/errors.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

namespace charts {

namespace {

QSize usable(QSize size)
{
    return size.expandedTo(QSize(1, 1));
}

} // namespace

void saveBmp(const chart::ChartWidget& chart, QSize size, const std::string& path)
{
    const QImage image = chart.toImage(usable(size));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        throw rt::Exception("Cannot create file " + path);
    rt::createFile(path,
                   std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

std::string wmfBytes(const chart::ChartWidget& chart, QSize size)
{
    size = usable(size);
    // Measured with the screen's fonts, so the metafile is laid out like the chart on screen.
    chart::WmfCanvas canvas(
        size.width(), size.height(), [](std::string_view text, const chart::Font& font) {
            const QFontMetricsF metrics(chart::QPainterCanvas::toQFont(font));
            return metrics.horizontalAdvance(
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        });
    // One logical unit per chart pixel.
    const double resolution =
        chart::keepsEveryPoint(chart.chart(), chart::WmfCanvas::kCost) ? chart::kEveryPoint : 1;
    chart::drawChart(chart.chart(), canvas, {0, 0, double(size.width()), double(size.height())},
                     rt::decimalSeparator(), resolution);
    return canvas.finish();
}

void saveWmf(const chart::ChartWidget& chart, QSize size, const std::string& path)
{
    rt::createFile(path, wmfBytes(chart, size));
}

void drawScaled(const chart::ChartWidget& chart, QSize size, QPainter& painter,
                const QRectF& target, bool everyPoint)
{
    size = usable(size);
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / size.width(), target.height() / size.height());
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    chart.render(painter, size, everyPoint ? chart::kEveryPoint : target.width() / size.width());
    painter.restore();
}

void printChart(const chart::ChartWidget& chart, QSize size, QPrinter& printer)
{
    size = usable(size);
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer))
        throw rt::Exception("Printer selected is not valid");
    const QRectF page = printer.paperRect(QPrinter::DevicePixel);
    const double w = size.width(), h = size.height();
    double targetW, targetH;
    if (w > h) {
        targetW = page.width() * 0.7;
        targetH = targetW * h / w;
    } else {
        targetH = page.height() * 0.7;
        targetW = targetH * w / h;
    }
    // A very flat or very tall chart still fits the page.
    const double fit = std::min({1.0, page.width() * 0.7 / targetW, page.height() * 0.7 / targetH});
    targetW *= fit;
    targetH *= fit;
    const QRectF target(page.left() + (page.width() - targetW) / 2,
                        page.top() + (page.height() - targetH) / 2, targetW, targetH);
    try {
        drawScaled(chart, size, painter, target);
    } catch (...) {
        printer.abort();
        throw;
    }
    if (!painter.end())
        throw rt::Exception("Printing failed");
}

void printOnDefaultPrinter(const chart::ChartWidget& chart, QSize size, const QString& jobName)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        throw rt::Exception("There is no default printer currently selected");
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(jobName);
    printer.setCopyCount(1);
    printChart(chart, size, printer);
}

} // namespace charts
