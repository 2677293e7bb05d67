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
    m_velocityIsStrict.resize(rows, 0);
    m_energy.resize(rows, kNotANumber);
    m_weight.resize(rows, kNotANumber);
    m_deviation.resize(rows, kNotANumber);
    m_excluded.resize(rows, 0);
}

double RowNumbers::weightOf(std::string_view text)
{
    if (text != m_lastWeightText) {
        m_lastWeightText.assign(text);
        m_lastWeight = decimalOrNaN(text);
    }
    return m_lastWeight;
}

void RowNumbers::appendRow()
{
    m_velocityDecimals.push_back(0);
    m_velocity.push_back(kNotANumber);
    m_velocityIsStrict.push_back(0);
    m_energy.push_back(kNotANumber);
    m_weight.push_back(kNotANumber);
    m_deviation.push_back(kNotANumber);
    m_excluded.push_back(0);
}

void RowNumbers::reserve(std::size_t rows)
{
    m_velocityDecimals.reserve(rows);
    m_velocity.reserve(rows);
    m_velocityIsStrict.reserve(rows);
    m_energy.reserve(rows);
    m_weight.reserve(rows);
    m_deviation.reserve(rows);
    m_excluded.reserve(rows);
}

void RowNumbers::write(std::size_t col, std::size_t row, std::string_view text)
{
    if (row >= m_velocity.size())
        return;
    switch (col) {
    case ColV:
        countDecimals(row, -1);
        // A whole velocity, as every download is, needs no decimals in either unit.
        m_velocityDecimals[row] =
            isWholeVelocity(text) ? 0
                                  : static_cast<std::uint8_t>(
                                        table::velocityDecimalsNeeded(text, Units::Metric) |
                                        table::velocityDecimalsNeeded(text, Units::Imperial) << 4);
        countDecimals(row, +1);
        if (const std::optional<double> v = parseVelocity(text)) {
            m_velocity[row] = *v;
            m_velocityIsStrict[row] = 1;
        } else {
            m_velocity[row] = decimalOrNaN(text);
            m_velocityIsStrict[row] = 0;
        }
        break;
    case ColE:
        m_energy[row] = decimalOrNaN(text);
        break;
    case ColM:
        m_weight[row] = weightOf(text);
        break;
    case ColDV:
        m_deviation[row] = decimalOrNaN(text);
        break;
    case ColExcluded:
        m_excluded[row] = text == kExcludedMark ? 1 : 0;
        break;
    default:
        break;
    }
}

void RowNumbers::writeNumber(std::size_t col, std::size_t row, double value)
{
    if (row >= m_velocity.size())
        return;
    switch (col) {
    case ColE:
        m_energy[row] = value;
        break;
    case ColM:
        m_weight[row] = value;
        break;
    case ColDV:
        m_deviation[row] = value;
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
    eraseFrom(m_deviation);
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
        for (const std::size_t col : {ColV, ColE, ColM, ColDV, ColExcluded})
            write(col, first + r, cells[col]);
    }
}

void RowNumbers::replaceFrom(std::size_t first, RowNumbers&& tail)
{
    resize(first);
    const auto append = [](auto& to, const auto& from) {
        to.insert(to.end(), from.begin(), from.end());
    };
    append(m_velocity, tail.m_velocity);
    append(m_velocityIsStrict, tail.m_velocityIsStrict);
    append(m_energy, tail.m_energy);
    append(m_weight, tail.m_weight);
    append(m_deviation, tail.m_deviation);
    append(m_excluded, tail.m_excluded);
    append(m_velocityDecimals, tail.m_velocityDecimals);
    for (std::size_t u = 0; u < m_decimalRows.size(); ++u) {
        for (std::size_t d = 0; d < m_decimalRows[u].size(); ++d)
            m_decimalRows[u][d] += tail.m_decimalRows[u][d];
    }
}

} // namespace table
