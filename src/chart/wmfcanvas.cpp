#include "chart/wmfcanvas.h"

#include "runtime/encoding.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace chart {

namespace {

constexpr std::uint16_t kSetWindowOrg = 0x020B;
constexpr std::uint16_t kSetWindowExt = 0x020C;
constexpr std::uint16_t kSetBkMode = 0x0102;
constexpr std::uint16_t kSetTextColor = 0x0209;
constexpr std::uint16_t kSetTextAlign = 0x012E;
constexpr std::uint16_t kCreatePen = 0x02FA;
constexpr std::uint16_t kCreateBrush = 0x02FC;
constexpr std::uint16_t kCreateFont = 0x02FB;
constexpr std::uint16_t kSelectObject = 0x012D;
constexpr std::uint16_t kDeleteObject = 0x01F0;
constexpr std::uint16_t kPolyline = 0x0325;
constexpr std::uint16_t kPolygon = 0x0324;
constexpr std::uint16_t kRectangle = 0x041B;
constexpr std::uint16_t kEllipse = 0x0418;
constexpr std::uint16_t kTextOut = 0x0521;

constexpr std::uint16_t kTaLeft = 0, kTaRight = 2, kTaCenter = 6;
constexpr std::uint8_t kCyrillicCharset = 204;

std::uint16_t coord(double v)
{
    const long r = std::lround(std::clamp(v, -32768.0, 32767.0));
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(r));
}

std::array<std::uint16_t, 2> colorRef(Color c)
{
    return {static_cast<std::uint16_t>(c.r | (c.g << 8)), c.b};
}

// Decodes one code point; a malformed byte counts as one unknown character.
char32_t nextCodePoint(std::string_view s, std::size_t& i)
{
    const auto c = static_cast<unsigned char>(s[i++]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (c >= 0x80 && extra == 0)
        return 0xFFFD;
    char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    while (extra-- > 0) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

const std::map<char32_t, char>& cp1251Table()
{
    static const std::map<char32_t, char> table = [] {
        std::map<char32_t, char> t;
        for (int b = 0x80; b <= 0xFF; ++b) {
            const std::string utf8 = rt::cp1251ToUtf8(std::string(1, static_cast<char>(b)));
            std::size_t i = 0;
            const char32_t cp = nextCodePoint(utf8, i);
            if (cp != 0xFFFD)
                t.emplace(cp, static_cast<char>(b));
        }
        return t;
    }();
    return table;
}

} // namespace

std::string utf8ToCp1251(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    const auto& table = cp1251Table();
    for (std::size_t i = 0; i < text.size();) {
        const char32_t cp = nextCodePoint(text, i);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else {
            const auto it = table.find(cp);
            out += it == table.end() ? '?' : it->second;
        }
    }
    return out;
}

WmfCanvas::WmfCanvas(int width, int height, Measure measure)
    : m_width(std::clamp(width, 1, 32767))
    , m_height(std::clamp(height, 1, 32767))
    , m_measure(std::move(measure))
{
    record(kSetWindowOrg, {0, 0});
    record(kSetWindowExt,
           {static_cast<std::uint16_t>(m_height), static_cast<std::uint16_t>(m_width)});
    record(kSetBkMode, {1});
}

void WmfCanvas::record(std::uint16_t function, const std::vector<std::uint16_t>& params)
{
    const auto size = static_cast<std::uint32_t>(params.size() + 3);
    m_records.push_back(static_cast<std::uint16_t>(size & 0xFFFF));
    m_records.push_back(static_cast<std::uint16_t>(size >> 16));
    m_records.push_back(function);
    m_records.insert(m_records.end(), params.begin(), params.end());
    m_maxRecord = std::max(m_maxRecord, size);
}

// The new object takes the lowest free slot before the old one of its kind is freed, so at
// most four slots are ever in use.
void WmfCanvas::replaceObject(Slot slot, std::uint16_t createFunction,
                              const std::vector<std::uint16_t>& params)
{
    std::size_t index = 0;
    while (index < m_slotsInUse.size() && m_slotsInUse[index])
        ++index;
    if (index == m_slotsInUse.size())
        m_slotsInUse.push_back(false);
    m_slotsInUse[index] = true;
    record(createFunction, params);
    record(kSelectObject, {static_cast<std::uint16_t>(index)});
    if (m_selected[slot] >= 0) {
        record(kDeleteObject, {static_cast<std::uint16_t>(m_selected[slot])});
        m_slotsInUse[static_cast<std::size_t>(m_selected[slot])] = false;
    }
    m_selected[slot] = static_cast<int>(index);
}

void WmfCanvas::setPen(const Pen& pen)
{
    if (!(pen == m_pen)) {
        m_pen = pen;
        m_penDirty = true;
    }
}

void WmfCanvas::setBrush(const Brush& brush)
{
    if (!(brush == m_brush)) {
        m_brush = brush;
        m_brushDirty = true;
    }
}

void WmfCanvas::setFont(const Font& font)
{
    if (!(font == m_font)) {
        m_font = font;
        m_fontDirty = true;
    }
}

void WmfCanvas::applyPen()
{
    if (!m_penDirty)
        return;
    m_penDirty = false;
    const auto c = colorRef(m_pen.color);
    replaceObject(PenSlot, kCreatePen,
                  {static_cast<std::uint16_t>(m_pen.visible ? 0 : 5),
                   static_cast<std::uint16_t>(std::max(1, m_pen.width)), 0, c[0], c[1]});
}

void WmfCanvas::applyBrush()
{
    if (!m_brushDirty)
        return;
    m_brushDirty = false;
    const auto c = colorRef(m_brush.color);
    replaceObject(BrushSlot, kCreateBrush,
                  {static_cast<std::uint16_t>(m_brush.visible ? 0 : 1), c[0], c[1], 0});
}

std::vector<std::uint16_t> WmfCanvas::fontParams(int angle) const
{
    const auto escapement = static_cast<std::uint16_t>(angle * 10);
    std::vector<std::uint16_t> p = {
        static_cast<std::uint16_t>(-m_font.pixelSize),
        0,
        escapement,
        escapement,
        static_cast<std::uint16_t>(m_font.bold ? 700 : 400),
        0,                                                 // italic, underline
        static_cast<std::uint16_t>(kCyrillicCharset << 8), // strike-out, charset
        0,                                                 // output and clip precision
        0};                                                // quality, pitch and family
    std::string face = utf8ToCp1251(m_font.family).substr(0, 31);
    face += '\0';
    if (face.size() % 2)
        face += '\0';
    for (std::size_t i = 0; i < face.size(); i += 2)
        p.push_back(static_cast<std::uint16_t>(static_cast<unsigned char>(face[i]) |
                                               static_cast<unsigned char>(face[i + 1]) << 8));
    return p;
}

// Escapement belongs to the font, so a rotated text selects a font of its own.
void WmfCanvas::applyFont(int angle)
{
    if (m_fontDirty || angle != m_fontAngle) {
        m_fontDirty = false;
        m_fontAngle = angle;
        replaceObject(FontSlot, kCreateFont, fontParams(angle));
    }
    if (!m_haveTextColor || !(m_textColor == m_font.color)) {
        m_haveTextColor = true;
        m_textColor = m_font.color;
        const auto c = colorRef(m_font.color);
        record(kSetTextColor, {c[0], c[1]});
    }
}

void WmfCanvas::rectangle(const RectF& r)
{
    applyPen();
    applyBrush();
    record(kRectangle, {coord(r.bottom()), coord(r.right()), coord(r.top), coord(r.left)});
}

void WmfCanvas::ellipse(const RectF& r)
{
    applyPen();
    applyBrush();
    record(kEllipse, {coord(r.bottom()), coord(r.right()), coord(r.top), coord(r.left)});
}

void WmfCanvas::poly(std::uint16_t function, const PointF* points, std::size_t count)
{
    std::vector<std::uint16_t> p;
    for (std::size_t start = 0; start + 1 < count || (start == 0 && count == 1);) {
        const std::size_t n = std::min(kMaxPolyPoints, count - start);
        p.clear();
        p.push_back(static_cast<std::uint16_t>(n));
        for (std::size_t i = start; i < start + n; ++i) {
            p.push_back(coord(points[i].x));
            p.push_back(coord(points[i].y));
        }
        record(function, p);
        if (start + n >= count)
            break;
        // The next chunk starts where this one ended, so the line has no gap.
        start += n - 1;
    }
}

void WmfCanvas::polyline(const PointF* points, std::size_t count)
{
    if (count == 0)
        return;
    applyPen();
    poly(kPolyline, points, count);
}

void WmfCanvas::polygon(const PointF* points, std::size_t count)
{
    if (count == 0)
        return;
    applyPen();
    applyBrush();
    // A polygon is one face; only the first chunk of an absurdly long one is kept.
    poly(kPolygon, points, std::min(count, kMaxPolyPoints));
}

void WmfCanvas::text(PointF at, std::string_view text, TextAlign align, int angle)
{
    if (text.empty())
        return;
    applyFont(angle);
    const int flags = align == TextAlign::Left    ? kTaLeft
                      : align == TextAlign::Right ? kTaRight
                                                  : kTaCenter;
    if (flags != m_textAlign) {
        m_textAlign = flags;
        record(kSetTextAlign, {static_cast<std::uint16_t>(flags)});
    }
    std::string bytes = utf8ToCp1251(text).substr(0, 32000);
    std::vector<std::uint16_t> p;
    p.push_back(static_cast<std::uint16_t>(bytes.size()));
    if (bytes.size() % 2)
        bytes += '\0';
    for (std::size_t i = 0; i < bytes.size(); i += 2)
        p.push_back(static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[i]) |
                                               static_cast<unsigned char>(bytes[i + 1]) << 8));
    p.push_back(coord(at.y));
    p.push_back(coord(at.x));
    record(kTextOut, p);
}

double WmfCanvas::textWidth(std::string_view text)
{
    if (m_measure)
        return m_measure(text, m_font);
    return rt::utf8Length(text) * m_font.pixelSize * (m_font.bold ? 0.62 : 0.55);
}

double WmfCanvas::textHeight()
{
    return std::ceil(m_font.pixelSize * 1.15);
}

std::string WmfCanvas::finish()
{
    std::vector<std::uint16_t> words;
    // Placeable header.
    words.push_back(0xCDD7);
    words.push_back(0x9AC6);
    words.push_back(0);
    words.push_back(0);
    words.push_back(0);
    words.push_back(static_cast<std::uint16_t>(m_width));
    words.push_back(static_cast<std::uint16_t>(m_height));
    words.push_back(96);
    words.push_back(0);
    words.push_back(0);
    std::uint16_t checksum = 0;
    for (std::uint16_t w : words)
        checksum ^= w;
    words.push_back(checksum);

    // Everything still selected is deleted before the end, so nothing leaks in a player.
    for (int& slot : m_selected) {
        if (slot >= 0)
            record(kDeleteObject, {static_cast<std::uint16_t>(slot)});
        slot = -1;
    }
    record(0x0000, {});
    const auto fileWords = static_cast<std::uint32_t>(9 + m_records.size());
    words.insert(words.end(),
                 {1, 9, 0x0300, static_cast<std::uint16_t>(fileWords & 0xFFFF),
                  static_cast<std::uint16_t>(fileWords >> 16),
                  static_cast<std::uint16_t>(std::max<std::size_t>(1, m_slotsInUse.size())),
                  static_cast<std::uint16_t>(m_maxRecord & 0xFFFF),
                  static_cast<std::uint16_t>(m_maxRecord >> 16), 0});
    words.insert(words.end(), m_records.begin(), m_records.end());
    m_records.clear();

    std::string out;
    out.reserve(words.size() * 2);
    for (std::uint16_t w : words) {
        out += static_cast<char>(w & 0xFF);
        out += static_cast<char>(w >> 8);
    }
    return out;
}

} // namespace chart
