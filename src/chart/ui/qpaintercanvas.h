#pragma once

#include "chart/canvas.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPointF>

#include <vector>

class QPainter;

namespace chart {

// The canvas of the screen, bitmaps and printers.
class QPainterCanvas final : public Canvas {
public:
    explicit QPainterCanvas(QPainter& painter);

    void setPen(const Pen& pen) override;
    void setBrush(const Brush& brush) override;
    void setFont(const Font& font) override;
    void rectangle(const RectF& rect) override;
    void polyline(const PointF* points, std::size_t count) override;
    void polygon(const PointF* points, std::size_t count) override;
    void ellipse(const RectF& rect) override;
    void text(PointF at, std::string_view text, TextAlign align, int angle) override;
    double textWidth(std::string_view text) override;
    double textHeight() override;

    // The Qt font a chart font stands for; the WMF export measures with it too.
    static QFont toQFont(const Font& font);

private:
    QPainter& m_painter;
    QFont m_font;
    QFontMetricsF m_metrics;
    QColor m_textColor;
    std::vector<QPointF> m_run;
};

} // namespace chart
