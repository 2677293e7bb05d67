#pragma once

#include "chart/canvas.h"

#include <string>
#include <vector>

// Remembers what the chart asked to draw, with fixed text metrics (6 px a character, 12 px
// a line), so drawing is checked as data instead of pixels.
class RecordingCanvas final : public chart::Canvas {
public:
    enum class Kind { Rectangle, Polyline, Polygon, Ellipse, Text };
    struct Op {
        Kind kind;
        chart::Pen pen;
        chart::Brush brush;
        chart::Font font;
        std::vector<chart::PointF> points; // rectangle, ellipse: top left and bottom right
        std::string text;
        chart::TextAlign align = chart::TextAlign::Left;
        int angle = 0;
    };

    void setPen(const chart::Pen& pen) override { m_pen = pen; }
    void setBrush(const chart::Brush& brush) override { m_brush = brush; }
    void setFont(const chart::Font& font) override { m_font = font; }
    void rectangle(const chart::RectF& r) override
    {
        push(Kind::Rectangle, {{r.left, r.top}, {r.right(), r.bottom()}});
    }
    void polyline(const chart::PointF* p, std::size_t n) override
    {
        push(Kind::Polyline, {p, p + n});
    }
    void polygon(const chart::PointF* p, std::size_t n) override
    {
        push(Kind::Polygon, {p, p + n});
    }
    void ellipse(const chart::RectF& r) override
    {
        push(Kind::Ellipse, {{r.left, r.top}, {r.right(), r.bottom()}});
    }
    void text(chart::PointF at, std::string_view text, chart::TextAlign align, int angle) override
    {
        push(Kind::Text, {at});
        ops.back().text = std::string(text);
        ops.back().align = align;
        ops.back().angle = angle;
    }
    double textWidth(std::string_view text) override { return 6.0 * text.size(); }
    double textHeight() override { return 12; }

    std::vector<const Op*> texts() const { return of(Kind::Text); }
    std::vector<const Op*> of(Kind kind) const
    {
        std::vector<const Op*> out;
        for (const Op& op : ops)
            if (op.kind == kind)
                out.push_back(&op);
        return out;
    }

    std::vector<Op> ops;

private:
    void push(Kind kind, std::vector<chart::PointF> points)
    {
        ops.push_back({kind, m_pen, m_brush, m_font, std::move(points), {}, {}, 0});
    }
    chart::Pen m_pen;
    chart::Brush m_brush;
    chart::Font m_font;
};
