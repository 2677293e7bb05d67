#include "chart/chart.h"

#include <algorithm>

namespace chart {

const std::vector<Color>& palette()
{
    static const std::vector<Color> colors = {
        {0x1F, 0x77, 0xB4}, {0xFF, 0x7F, 0x0E}, {0x2C, 0xA0, 0x2C}, {0xD6, 0x27, 0x28},
        {0x94, 0x67, 0xBD}, {0x8C, 0x56, 0x4B}, {0xE3, 0x77, 0xC2}, {0x7F, 0x7F, 0x7F},
        {0xBC, 0xBD, 0x22}, {0x17, 0xBE, 0xCF}};
    return colors;
}

void Series::setHollow(std::size_t i)
{
    const auto at = std::lower_bound(m_hollow.begin(), m_hollow.end(), i);
    if (at == m_hollow.end() || *at != i)
        m_hollow.insert(at, i);
}

bool Series::isHollow(std::size_t i) const
{
    return std::binary_search(m_hollow.begin(), m_hollow.end(), i);
}

Series& Chart::addSeries(std::string title)
{
    const auto& colors = palette();
    Color color = colors[m_series.size() % colors.size()];
    // With fewer series than colours this is the first unused one; beyond that the palette
    // repeats in order.
    if (m_series.size() < colors.size()) {
        for (const Color& c : colors) {
            const bool used = std::any_of(m_series.begin(), m_series.end(),
                                          [&](const auto& s) { return s->color() == c; });
            if (!used) {
                color = c;
                break;
            }
        }
    }
    m_series.push_back(std::make_unique<Series>(std::move(title), color));
    return *m_series.back();
}

void Chart::setMarksVisible(bool visible)
{
    for (auto& s : m_series)
        s->setMarksVisible(visible);
}

} // namespace chart
