#pragma once

#include "chart/axis.h"
#include "chart/canvas.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace chart {

// A series: a title for the legend and its points in the order they were added, drawn as a
// line through them or as bars.
class Series {
public:
    Series(std::string title, Color color)
        : m_title(std::move(title))
        , m_color(color)
    {
    }

    const std::string& title() const { return m_title; }
    Color color() const { return m_color; }

    void addXY(double x, double y)
    {
        m_x.push_back(x);
        m_y.push_back(y);
    }
    void reserve(std::size_t n)
    {
        m_x.reserve(n);
        m_y.reserve(n);
    }
    std::size_t count() const { return m_x.size(); }
    double x(std::size_t i) const { return m_x[i]; }
    double y(std::size_t i) const { return m_y[i]; }
    const std::vector<double>& xs() const { return m_x; }
    const std::vector<double>& ys() const { return m_y; }

    // A histogram's bins: point i is a bar from x(i) to x(i) + width and from 0 up to y(i).
    void setBars(double width)
    {
        m_bars = true;
        m_barWidth = width;
    }
    bool isBars() const { return m_bars; }
    double barWidth() const { return m_barWidth; }

    bool marksVisible() const { return m_marksVisible; }
    void setMarksVisible(bool visible) { m_marksVisible = visible; }

    // A line through the points (the default), a dot at each point, or both.
    bool lineVisible() const { return m_lineVisible; }
    void setLineVisible(bool visible) { m_lineVisible = visible; }
    bool pointsVisible() const { return m_pointsVisible; }
    void setPointsVisible(bool visible) { m_pointsVisible = visible; }

    // A vertical bar from low to high at x with short caps, in the series' colour: a mean's
    // scatter, say. The axes are fitted around the bars too.
    struct ErrorBar {
        double x = 0;
        double low = 0;
        double high = 0;
    };
    void addErrorBar(double x, double low, double high) { m_errorBars.push_back({x, low, high}); }
    const std::vector<ErrorBar>& errorBars() const { return m_errorBars; }

    // A point drawn as a small hollow circle of its own (a shot left out of the statistics);
    // thinning a crowded line never drops it.
    void setHollow(std::size_t i);
    bool isHollow(std::size_t i) const;
    // Ascending.
    const std::vector<std::size_t>& hollowPoints() const { return m_hollow; }

private:
    std::string m_title;
    Color m_color;
    std::vector<double> m_x, m_y;
    std::vector<std::size_t> m_hollow;
    std::vector<ErrorBar> m_errorBars;
    bool m_marksVisible = false;
    bool m_bars = false;
    double m_barWidth = 0;
    bool m_lineVisible = true;
    bool m_pointsVisible = false;
};

// A stretch of the bottom axis shaded across the whole plot, behind the series and the grid:
// a ladder's flat spot.
struct Band {
    double from = 0;
    double to = 0;
    Color color;
};

// The colours series receive in order; they show on white and stay apart for the common
// colour-vision deficiencies (Tableau 10).
const std::vector<Color>& palette();

struct AxisSettings {
    std::string title;
    bool automaticMinimum = true;
    bool automaticMaximum = true;
    double minimum = 0;
    double maximum = 0;
    // While set, the axis is fitted to these values (fittedRange) and the ends above wait:
    // the chart cannot tell the values it should fit from those it merely draws.
    std::optional<DataBounds> fitTo;
    // Ticks never lie closer: a whole shot on N, a whole count of shots.
    double smallestStep = 0;
};

// Everything a chart shows, without any drawing: the widget, the exports and the tests all
// read the same state.
class Chart {
public:
    std::string title;
    AxisSettings leftAxis;
    AxisSettings bottomAxis = wholeSteps();
    bool legendVisible = true;
    bool view3D = false;
    // Left, bottom and back walls in the 3D view.
    bool wallsVisible = true;
    std::vector<Band> bands;
    // Lines of text in a box in the plot's top left corner: a fitted line's figures.
    std::vector<std::string> notes;

    // The series gets the first palette colour that no other series of this chart uses, so
    // charts filled in the same order colour their series alike.
    Series& addSeries(std::string title = {});
    void removeAllSeries() { m_series.clear(); }
    std::size_t seriesCount() const { return m_series.size(); }
    Series& series(std::size_t i) { return *m_series[i]; }
    const Series& series(std::size_t i) const { return *m_series[i]; }

    void setLeftAxisAutomatic() { leftAxis.automaticMinimum = leftAxis.automaticMaximum = true; }
    void setLeftAxisMinimum(double minimum)
    {
        leftAxis.automaticMinimum = false;
        leftAxis.minimum = minimum;
    }
    void setMarksVisible(bool visible);

private:
    // N counts shots: no tick between two.
    static AxisSettings wholeSteps()
    {
        AxisSettings a;
        a.smallestStep = 1;
        return a;
    }

    std::vector<std::unique_ptr<Series>> m_series;
};

} // namespace chart
