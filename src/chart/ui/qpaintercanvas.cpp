#include "chart/ui/qpaintercanvas.h"

#include "ui/qtext.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace chart {

namespace {

QColor toQColor(Color c)
{
    return QColor(c.r, c.g, c.b);
}

} // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter)
    : m_painter(painter)
    , m_font(toQFont(Font{}))
    , m_metrics(m_font, painter.device())
{
}

QFont QPainterCanvas::toQFont(const Font& font)
{
    QFont f(QString::fromStdString(font.family));
    f.setPixelSize(std::max(1, font.pixelSize));
    f.setBold(font.bold);
    return f;
}

void QPainterCanvas::setPen(const Pen& pen)
{
    if (!pen.visible) {
        m_painter.setPen(Qt::NoPen);
        return;
    }
    QPen p(toQColor(pen.color));
    p.setWidth(pen.width);
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::RoundJoin);
    m_painter.setPen(p);
}

void QPainterCanvas::setBrush(const Brush& brush)
{
    m_painter.setBrush(brush.visible ? QBrush(toQColor(brush.color)) : QBrush(Qt::NoBrush));
}

void QPainterCanvas::setFont(const Font& font)
{
    m_font = toQFont(font);
    m_painter.setFont(m_font);
    m_metrics = QFontMetricsF(m_font, m_painter.device());
    m_textColor = toQColor(font.color);
}

void QPainterCanvas::rectangle(const RectF& r)
{
    m_painter.drawRect(QRectF(r.left, r.top, r.width, r.height));
}

void QPainterCanvas::polyline(const PointF* points, std::size_t count)
{
    // On a raster device a wide path that crosses itself costs far more than its length, and
    // a crowded line zigzags inside every pixel column: short runs draw it several times
    // faster. Each run after the first begins with a stub of the segment before, half a pen
    // wide, so the join at its first point is drawn as within one path. Vector files keep
    // the line as one path.
    const bool raster = m_painter.paintEngine()->type() == QPaintEngine::Raster;
    const std::size_t runLength = raster ? 12 : std::max<std::size_t>(count, 1);
    const double stub = std::max(0.5, m_painter.pen().widthF() / 2);
    for (std::size_t start = 0; start == 0 || start + 1 < count; start += runLength) {
        m_run.clear();
        if (start > 0) {
            const PointF before = points[start - 1], at = points[start];
            const double dx = before.x - at.x, dy = before.y - at.y;
            const double length = std::hypot(dx, dy);
            m_run.push_back(length > stub
                                ? QPointF(at.x + dx * stub / length, at.y + dy * stub / length)
                                : QPointF(before.x, before.y));
        }
        for (std::size_t i = start; i < std::min(start + runLength + 1, count); ++i)
            m_run.push_back(QPointF(points[i].x, points[i].y));
        m_painter.drawPolyline(m_run.data(), static_cast<int>(m_run.size()));
    }
}

void QPainterCanvas::polygon(const PointF* points, std::size_t count)
{
    std::vector<QPointF> pts(count);
    for (std::size_t i = 0; i < count; ++i)
        pts[i] = QPointF(points[i].x, points[i].y);
    m_painter.drawPolygon(pts.data(), static_cast<int>(count));
}

void QPainterCanvas::ellipse(const RectF& r)
{
    m_painter.drawEllipse(QRectF(r.left, r.top, r.width, r.height));
}

void QPainterCanvas::text(PointF at, std::string_view text, TextAlign align, int angle)
{
    const QString s = ui::toQString(text);
    const double w = m_metrics.horizontalAdvance(s);
    double x = 0;
    if (align == TextAlign::Center)
        x = -w / 2;
    else if (align == TextAlign::Right)
        x = -w;
    m_painter.save();
    m_painter.setPen(m_textColor);
    m_painter.translate(at.x, at.y);
    m_painter.rotate(-angle);
    m_painter.drawText(QPointF(x, m_metrics.ascent()), s);
    m_painter.restore();
}

double QPainterCanvas::textWidth(std::string_view text)
{
    return m_metrics.horizontalAdvance(ui::toQString(text));
}

double QPainterCanvas::textHeight()
{
    return m_metrics.height();
}

} // namespace chart
