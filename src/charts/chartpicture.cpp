#include "charts/chartpicture.h"

#include "chart/decimation.h"
#include "chart/ui/chartwidget.h"
#include "charts/chartexport.h"
#include "runtime/atomicfile.h"
#include "runtime/errors.h"
#include "ui/qtext.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <optional>

namespace charts {

namespace {

constexpr double kScreenDpi = 96;
constexpr qreal kPngPixelRatio = 2;
constexpr double kInchesPerMetre = 1 / 0.0254;

std::optional<PictureFormat> formatOfSuffix(const QString& suffix)
{
    const QString s = suffix.toLower();
    if (s == QLatin1String("png"))
        return PictureFormat::Png;
    if (s == QLatin1String("svg"))
        return PictureFormat::Svg;
    if (s == QLatin1String("pdf"))
        return PictureFormat::Pdf;
    return std::nullopt;
}

std::string toStdString(const QByteArray& bytes)
{
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QByteArray png(const chart::ChartWidget& chart, QSize size)
{
    QImage image(size * kPngPixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(kPngPixelRatio);
    const int dotsPerMetre = qRound(kScreenDpi * kPngPixelRatio * kInchesPerMetre);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        chart.render(painter, size, kPngPixelRatio);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw rt::Exception("Cannot write the picture");
    return bytes;
}

QByteArray svg(const chart::ChartWidget& chart, QSize size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    // At the screen's resolution the drawing's size in millimetres is the chart's on screen.
    generator.setResolution(static_cast<int>(kScreenDpi));
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(ui::toQString(chart.chart().title));
    QPainter painter(&generator);
    // One drawing unit per chart pixel.
    chart.render(painter, size,
                 chart::keepsEveryPoint(chart.chart(), chart::kSvgCost) ? chart::kEveryPoint : 1);
    painter.end();
    return bytes;
}

QByteArray pdf(const chart::ChartWidget& chart, QSize size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(ui::toQString(chart.chart().title));
    writer.setCreator(QStringLiteral("Vexorel!"));
    // Exactly the chart's size: a near standard size must not round the page to it.
    const QPageSize page(QSizeF(size) * (72 / kScreenDpi), QPageSize::Point, QString(),
                         QPageSize::ExactMatch);
    writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&writer))
        throw rt::Exception("Cannot write the picture");
    drawScaled(chart, size, painter, QRectF(0, 0, writer.width(), writer.height()),
               chart::keepsEveryPoint(chart.chart(), chart::kPdfCost));
    painter.end();
    return bytes;
}

} // namespace

PictureFormat pictureFormatFor(const QString& path, const QString& chosenFilter)
{
    if (const auto byName = formatOfSuffix(QFileInfo(path).suffix()))
        return *byName;
    // "SVG drawing (*.svg)": the pattern's suffix.
    const qsizetype dot = chosenFilter.lastIndexOf(QLatin1String("*."));
    if (dot >= 0) {
        const QString pattern = chosenFilter.mid(dot + 2).section(QLatin1Char(')'), 0, 0);
        if (const auto byFilter = formatOfSuffix(pattern.section(QLatin1Char(' '), 0, 0)))
            return *byFilter;
    }
    return PictureFormat::Png;
}

std::string pictureBytes(const chart::ChartWidget& chart, QSize size, PictureFormat format)
{
    size = size.expandedTo(QSize(1, 1));
    switch (format) {
    case PictureFormat::Svg:
        return toStdString(svg(chart, size));
    case PictureFormat::Pdf:
        return toStdString(pdf(chart, size));
    case PictureFormat::Png:
        break;
    }
    return toStdString(png(chart, size));
}

void savePicture(const chart::ChartWidget& chart, QSize size, PictureFormat format,
                 const std::string& path)
{
    rt::createFile(path, pictureBytes(chart, size, format));
}

} // namespace charts
