#include "table/rownumbers.h"

#include "runtime/convert.h"
#include "table/columns.h"
#include "table/velocity.h"
#include "table/velocitytext.h"

#include <algorithm>
#include <array>

namespace table {

namespace {

double decimalOrNaN(std::string_view text)
{
    return rt::parseFloat(text).value_or(RowNumbers::kNotANumber);
}

} // namespace

namespace {

std::size_t unitIndex(Units units)
{
    return units == Units::Imperial ? 1 : 0;
}

} // namespace

bool RowNumbers::keeps(std::size_t col)
{
    return col == ColV || col == ColE || col == ColM || col == ColExcluded;
}

int RowNumbers::velocityDecimals(Units units) const
{
    const auto& rows = m_decimalRows[unitIndex(units)];
    for (int d = kMaxShownVelocityDecimals; d > 0; --d) {
        if (rows[static_cast<std::size_t>(d)] > 0)
            return d;
    }
    return 0;
}

int RowNumbers::velocityDecimalsNeeded(std::size_t row, Units units) const
{
    if (row >= m_velocityDecimals.size())
        return 0;
    const std::uint8_t both = m_velocityDecimals[row];
    return units == Units::Metric ? both & 0x0F : both >> 4;
}

void RowNumbers::countDecimals(std::size_t row, int sign)
{
    for (const Units units : {Units::Metric, Units::Imperial}) {
        const auto d = static_cast<std::size_t>(velocityDecimalsNeeded(row, units));
        if (d > 0)
            m_decimalRows[unitIndex(units)][d] += static_cast<std::size_t>(sign);
    }
}

void RowNumbers::resize(std::size_t rows)
{
    for (std::size_t r = rows; r < m_velocityDecimals.size(); ++r)
        countDecimals(r, -1);
    m_velocityDecimals.resize(rows, 0);
    // New rows are empty, and an empty text is no number.
    m_velocity.resize(rows, kNotANumber);
    m_velocityIsStrict.resize(rows, false);
    m_energy.resize(rows, kNotANumber);
    m_weight.resize(rows, kNotANumber);
    m_excluded.resize(rows, false);
}

void RowNumbers::write(std::size_t col, std::size_t row, std::string_view text)
{
    if (row >= m_velocity.size())
        return;
    switch (col) {
    case ColV:
        countDecimals(row, -1);
        m_velocityDecimals[row] =
            static_cast<std::uint8_t>(table::velocityDecimalsNeeded(text, Units::Metric) |
                                      table::velocityDecimalsNeeded(text, Units::Imperial) << 4);
        countDecimals(row, +1);
        if (const std::optional<double> v = parseVelocity(text)) {
            m_velocity[row] = *v;
            m_velocityIsStrict[row] = true;
        } else {
            m_velocity[row] = decimalOrNaN(text);
            m_velocityIsStrict[row] = false;
        }
        break;
    case ColE:
        m_energy[row] = decimalOrNaN(text);
        break;
    case ColM:
        m_weight[row] = decimalOrNaN(text);
        break;
    case ColExcluded:
        m_excluded[row] = text == kExcludedMark;
        break;
    default:
        break;
    }
}

void RowNumbers::erase(std::size_t first, std::size_t last)
{
    if (first > last || first >= m_velocity.size())
        return;
    last = std::min(last, m_velocity.size() - 1);
    const auto eraseFrom = [&](auto& values) {
        values.erase(values.begin() + static_cast<std::ptrdiff_t>(first),
                     values.begin() + static_cast<std::ptrdiff_t>(last + 1));
    };
    eraseFrom(m_velocity);
    eraseFrom(m_velocityIsStrict);
    eraseFrom(m_energy);
    eraseFrom(m_weight);
    eraseFrom(m_excluded);
    for (std::size_t r = first; r <= last; ++r)
        countDecimals(r, -1);
    eraseFrom(m_velocityDecimals);
}

void RowNumbers::replaceFrom(std::size_t first, const CellRows& rows)
{
    resize(first + rows.size());
    std::array<std::string_view, ColExcluded + 1> cells;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        rows.cellsOf(r, cells);
        for (const std::size_t col : {ColV, ColE, ColM, ColExcluded})
            write(col, first + r, cells[col]);
    }
}

} // namespace table
