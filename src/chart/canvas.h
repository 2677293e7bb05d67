#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What the chart draws on. One drawing routine serves the screen, bitmaps, printers and
// metafiles, so everything it needs is in this small interface; coordinates are pixels of
// the chart with the origin at its top left corner.
namespace chart {

struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

struct PointF {
    double x = 0, y = 0;
    friend bool operator==(const PointF&, const PointF&) = default;
};

struct RectF {
    double left = 0, top = 0, width = 0, height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
    bool isEmpty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const RectF&, const RectF&) = default;
};

struct Pen {
    Color color;
    int width = 1;
    bool visible = true;
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    Color color;
    bool visible = true;
    friend bool operator==(const Brush&, const Brush&) = default;
};

struct Font {
    std::string family = "Arial";
    int pixelSize = 11;
    bool bold = false;
    Color color;
    friend bool operator==(const Font&, const Font&) = default;
};

// Horizontal anchor of a text at its point; vertically the point is the text's top.
enum class TextAlign { Left, Center, Right };

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void setPen(const Pen& pen) = 0;
    virtual void setBrush(const Brush& brush) = 0;
    virtual void setFont(const Font& font) = 0;

    virtual void rectangle(const RectF& rect) = 0;
    virtual void polyline(const PointF* points, std::size_t count) = 0;
    // Filled with the brush, outlined with the pen.
    virtual void polygon(const PointF* points, std::size_t count) = 0;
    // The ellipse inside rect, filled with the brush, outlined with the pen.
    virtual void ellipse(const RectF& rect) = 0;
    // UTF-8 text in the current font; angle 90 runs upwards (an axis title).
    virtual void text(PointF at, std::string_view text, TextAlign align, int angle = 0) = 0;

    // Metrics of the current font, for layout.
    virtual double textWidth(std::string_view text) = 0;
    virtual double textHeight() = 0;
};

} // namespace chart
