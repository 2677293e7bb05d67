#pragma once

#include "chart/canvas.h"
#include "chart/decimation.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace chart {

// A canvas that records GDI calls as a placeable Windows metafile (not the enhanced format),
// one logical unit per chart pixel. Texts are stored in Windows-1251 with a Cyrillic font
// charset; characters that code page cannot hold become '?'.
class WmfCanvas final : public Canvas {
public:
    // Text widths for layout; the program passes its screen font metrics so the metafile is
    // laid out like the screen. Without one, a width per character is estimated.
    using Measure = std::function<double(std::string_view text, const Font& font)>;

    WmfCanvas(int width, int height, Measure measure = {});

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

    // The complete file: placeable header, metafile header, records, end record. Ends the
    // recording: call it once.
    std::string finish();

    // Longer polylines are split into records of this many points.
    static constexpr std::size_t kMaxPolyPoints = 4000;
    // Two words a line point; a ribbon face is a record of its own: header, count, four points.
    static constexpr VectorCost kCost{4, 24};

private:
    enum Slot { PenSlot, BrushSlot, FontSlot };
    void record(std::uint16_t function, const std::vector<std::uint16_t>& params);
    void replaceObject(Slot slot, std::uint16_t createFunction,
                       const std::vector<std::uint16_t>& params);
    void poly(std::uint16_t function, const PointF* points, std::size_t count);
    void applyPen();
    void applyBrush();
    void applyFont(int angle);
    std::vector<std::uint16_t> fontParams(int angle) const;

    int m_width;
    int m_height;
    Measure m_measure;
    std::vector<std::uint16_t> m_records;
    std::uint32_t m_maxRecord = 0;
    std::vector<bool> m_slotsInUse;
    int m_selected[3] = {-1, -1, -1};

    Pen m_pen;
    Brush m_brush;
    Font m_font;
    bool m_penDirty = true, m_brushDirty = true, m_fontDirty = true;
    bool m_haveTextColor = false;
    Color m_textColor;
    int m_textAlign = -1;
    int m_fontAngle = 0;
};

// UTF-8 to Windows-1251, '?' for what it cannot hold.
std::string utf8ToCp1251(std::string_view text);

} // namespace chart
