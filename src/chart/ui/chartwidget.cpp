#include "chart/ui/chartwidget.h"

#include "chart/render.h"
#include "chart/ui/qpaintercanvas.h"
#include "runtime/decimalseparator.h"

#include <QPainter>

namespace chart {

ChartWidget::ChartWidget(QWidget* parent)
    : QWidget(parent)
{
    // The chart paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

chart::Chart& ChartWidget::edit()
{
    update();
    return m_chart;
}

void ChartWidget::render(QPainter& painter, const QSize& size, double resolution) const
{
    chart::QPainterCanvas canvas(painter);
    chart::drawChart(m_chart, canvas, {0, 0, double(size.width()), double(size.height())},
                     rt::decimalSeparator(), resolution);
}

QImage ChartWidget::toImage(const QSize& size) const
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    render(painter, size);
    return image;
}

void ChartWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    render(painter, size(), devicePixelRatioF());
}

} // namespace chart
