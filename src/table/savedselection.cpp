#include "table/savedselection.h"

#include "runtime/numberformat.h"
#include "table/measurementtable.h"

namespace table {

SavedSelection::SavedSelection(const StringGrid& grid, std::size_t top, std::size_t bottom)
    : m_grid(grid)
    , m_top(top)
    , m_bottom(bottom)
{
    double sum = 0;
    for (std::size_t r = top; r <= bottom; ++r)
        sum += velocityAt(grid, r);
    m_mean = sum / static_cast<double>(bottom - top + 1);
}

std::string SavedSelection::number(std::size_t row) const
{
    return std::to_string(row - m_top + 1);
}

std::string SavedSelection::deviation(std::size_t row) const
{
    // As in the table: no division by a zero mean.
    if (m_mean == 0)
        return std::string(kInvalidMark);
    return rt::formatTwoDecimal((velocityAt(m_grid, row) - m_mean) / m_mean * 100);
}

} // namespace table
