#pragma once

#include "chart/chart.h"

#include <QImage>
#include <QWidget>

class QPainter;

namespace chart {

// The chart widget: shows a chart::Chart and repaints when it is changed through edit().
class ChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit ChartWidget(QWidget* parent = nullptr);

    const chart::Chart& chart() const { return m_chart; }
    // For changes; the widget repaints once the handler returns to the event loop.
    chart::Chart& edit();

    std::size_t seriesCount() const { return m_chart.seriesCount(); }
    void setLegendVisible(bool visible) { edit().legendVisible = visible; }
    void setView3D(bool on) { edit().view3D = on; }
    void setMarksVisible(bool visible) { edit().setMarksVisible(visible); }

    // Draws the chart as it shows on screen, at the given size, onto any paint device.
    // resolution: the device's pixels per chart pixel, for thinning crowded lines
    // (chart/render.h); kEveryPoint keeps every point.
    void render(QPainter& painter, const QSize& size, double resolution = 1) const;
    // The chart at the given size as a 24-bit picture.
    QImage toImage(const QSize& size) const;

    QSize sizeHint() const override { return {360, 380}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    chart::Chart m_chart;
};

} // namespace chart
