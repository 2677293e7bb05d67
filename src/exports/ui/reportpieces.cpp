#include "exports/ui/reportpieces.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace exports {

QFont reportFont(int pixels, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

void paintText(QPainter& painter, const QRectF& box, const QString& text, Qt::Alignment align)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(box, align | Qt::AlignVCenter,
                     metrics.elidedText(text, Qt::ElideRight, box.width()));
}

std::string reportPdfDocument(const QString& title, const QPageSize& paper,
                              const std::function<void(QPagedPaintDevice&)>& paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Vexorel!"));
        writer.setPageLayout(QPageLayout(
            paper, QPageLayout::Portrait,
            QMarginsF(kReportMarginMm, kReportMarginMm, kReportMarginMm, kReportMarginMm),
            QPageLayout::Millimeter));
        paint(writer);
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace exports
