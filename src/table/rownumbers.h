#pragma once

#include "table/cellrows.h"
#include "table/columns.h"
#include "table/units.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace table {

// The numbers behind the V, E, m and dV texts of the measurement table, converted once when a
// text is written and kept beside the cells. Every pass, the panel, the charts and the exports
// read them here; the texts stay the truth. A text that does not convert is NaN here, and a
// reader that must report it converts the text again for the error's words.
class RowNumbers {
public:
    // As the passes take a velocity (velocityOf); NaN where they refuse the text.
    double velocity(std::size_t row) const
    {
        return row < m_velocityIsStrict.size() && m_velocityIsStrict[row] ? m_velocity[row]
                                                                          : kNotANumber;
    }
    // As a decimal number (strToFloat), which also takes forms such as "3e2".
    double velocityAsDecimal(std::size_t row) const { return at(m_velocity, row); }
    double energy(std::size_t row) const { return at(m_energy, row); }
    double weight(std::size_t row) const { return at(m_weight, row); }
    // The deviation the dV text shows, for the chart drawn from it.
    double deviation(std::size_t row) const { return at(m_deviation, row); }
    // Left out of the shot statistics (the excluded mark "1").
    bool excluded(std::size_t row) const { return row < m_excluded.size() && m_excluded[row]; }
    // The decimals the V column shows in a unit: the most any of its velocities needs to be
    // shown exactly (velocityDecimalsNeeded). 0 for a table of whole velocities.
    int velocityDecimals(Units units) const;
    // The decimals the row's own velocity needs (velocityDecimalsNeeded), found when it was
    // written.
    int velocityDecimalsNeeded(std::size_t row, Units units) const;

    // The columns whose numbers are kept.
    static constexpr bool keeps(std::size_t col)
    {
        return col == ColV || col == ColE || col == ColM || col == ColDV || col == ColExcluded;
    }

    // Kept in step with the grid's texts by StringGrid.
    void resize(std::size_t rows);
    void reserve(std::size_t rows);
    // One more row, empty: as resize(size() + 1), at a reader's pace of a row at a time.
    void appendRow();
    std::size_t size() const { return m_velocity.size(); }
    void write(std::size_t col, std::size_t row, std::string_view text);
    // The number of a decimal column's text (E, m or dV) where the writer knows it already:
    // exactly what write() would convert the text to.
    void writeNumber(std::size_t col, std::size_t row, double value);
    void erase(std::size_t first, std::size_t last);
    // Rows from `first` on are those of `rows`, converted here.
    void replaceFrom(std::size_t first, const CellRows& rows);
    // The same with the rows' numbers converted already, as a file reader does while it has
    // the texts at hand.
    void replaceFrom(std::size_t first, RowNumbers&& tail);

    static constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();

private:
    void countDecimals(std::size_t row, int sign);
    double weightOf(std::string_view text);

    static double at(const std::vector<double>& values, std::size_t row)
    {
        return row < values.size() ? values[row] : kNotANumber;
    }

    std::vector<double> m_velocity;
    // Bytes, not vector<bool>: a file's rows are appended one by one, and bits cost there.
    std::vector<std::uint8_t> m_velocityIsStrict;
    std::vector<double> m_energy;
    std::vector<double> m_weight;
    std::vector<double> m_deviation;
    std::vector<std::uint8_t> m_excluded;
    // The last weight text converted and its number: a string's rows share one weight.
    std::string m_lastWeightText;
    double m_lastWeight = kNotANumber;
    // Per row, the decimals its velocity needs: m/s in the low four bits, ft/s in the high.
    std::vector<std::uint8_t> m_velocityDecimals;
    // Per unit, how many rows need 1, 2, 3 decimals (index 0 unused), so the column's decimals
    // follow a change without a look at the other rows.
    std::array<std::array<std::size_t, 4>, 2> m_decimalRows{};
};

} // namespace table
