#include "table/stringgrid.h"

#include <algorithm>

namespace table {

namespace {
const std::string kEmpty;
constexpr int kDefaultColWidth = 64;
} // namespace

StringGrid::StringGrid(std::size_t colCount, std::size_t rowCount)
    : m_colCount(colCount)
    , m_rowCount(rowCount)
    , m_cells(colCount * rowCount)
    , m_colWidths(colCount, kDefaultColWidth)
{
}

void StringGrid::setRowCount(std::size_t rows)
{
    if (rows == m_rowCount)
        return;
    const std::size_t old = m_rowCount;
    if (m_observer)
        m_observer->rowCountAboutToChange(old, rows);
    m_cells.resize(m_colCount * rows);
    m_rowCount = rows;
    if (m_dirty && m_dirtyFirst >= rows)
        m_dirty = false;
    else if (m_dirty)
        m_dirtyLast = std::min(m_dirtyLast, rows - 1);
    if (m_observer)
        m_observer->rowCountChanged(old, rows);
}

const std::string& StringGrid::cell(std::size_t col, std::size_t row) const
{
    if (col >= m_colCount || row >= m_rowCount)
        return kEmpty;
    return m_cells[row * m_colCount + col];
}

void StringGrid::setCell(std::size_t col, std::size_t row, std::string text)
{
    if (col >= m_colCount || row >= m_rowCount)
        return;
    m_cells[row * m_colCount + col] = std::move(text);
    noteChanged(row);
}

int StringGrid::colWidth(std::size_t col) const
{
    return col < m_colCount ? m_colWidths[col] : 0;
}

void StringGrid::setColWidth(std::size_t col, int width)
{
    if (col >= m_colCount || m_colWidths[col] == width)
        return;
    m_colWidths[col] = width;
    if (m_observer)
        m_observer->columnWidthChanged(col);
}

void StringGrid::beginUpdate()
{
    ++m_updateDepth;
}

void StringGrid::endUpdate()
{
    if (m_updateDepth == 0 || --m_updateDepth > 0)
        return;
    if (m_dirty) {
        m_dirty = false;
        if (m_observer)
            m_observer->rowsChanged(m_dirtyFirst, m_dirtyLast);
    }
}

void StringGrid::noteChanged(std::size_t row)
{
    if (m_updateDepth == 0) {
        if (m_observer)
            m_observer->rowsChanged(row, row);
        return;
    }
    if (!m_dirty) {
        m_dirty = true;
        m_dirtyFirst = m_dirtyLast = row;
    } else {
        m_dirtyFirst = std::min(m_dirtyFirst, row);
        m_dirtyLast = std::max(m_dirtyLast, row);
    }
}

} // namespace table
