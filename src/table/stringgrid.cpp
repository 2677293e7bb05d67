#include "table/stringgrid.h"

#include <algorithm>

namespace table {

namespace {
constexpr int kDefaultColWidth = 64;
} // namespace

StringGrid::StringGrid(std::size_t colCount, std::size_t rowCount, bool keepNumbers)
    : m_colCount(colCount)
    , m_rowCount(rowCount)
    , m_rows(colCount)
    , m_keepNumbers(keepNumbers)
    , m_colWidths(colCount, kDefaultColWidth)
{
    m_rows.resize(rowCount);
    if (m_keepNumbers)
        m_numbers.resize(rowCount);
}

// Rows that are gone can no longer be reported as changed.
void StringGrid::forgetChangesFrom(std::size_t rows)
{
    if (m_dirty && m_dirtyFirst >= rows)
        m_dirty = false;
    else if (m_dirty)
        m_dirtyLast = std::min(m_dirtyLast, rows - 1);
}

void StringGrid::setRowCount(std::size_t rows)
{
    if (rows == m_rowCount)
        return;
    const std::size_t old = m_rowCount;
    if (m_observer)
        m_observer->rowCountAboutToChange(old, rows);
    m_rows.resize(rows);
    if (m_keepNumbers)
        m_numbers.resize(rows);
    m_rowCount = rows;
    forgetChangesFrom(rows);
    if (m_observer)
        m_observer->rowCountChanged(old, rows);
}

void StringGrid::setCell(std::size_t col, std::size_t row, std::string_view text)
{
    if (col >= m_colCount || row >= m_rowCount)
        return;
    m_rows.setCell(col, row, text);
    if (m_keepNumbers)
        m_numbers.write(col, row, text);
    noteChanged(row);
}

void StringGrid::setColumn(std::size_t col, std::size_t first, std::size_t last,
                           const CellRows::CellText& text)
{
    if (col >= m_colCount || first > last || first >= m_rowCount)
        return;
    last = std::min(last, m_rowCount - 1);
    if (m_keepNumbers && RowNumbers::keeps(col)) {
        // Each text converted as it is made, in the form the cell keeps it.
        m_rows.setColumn(col, first, last, [&](std::size_t r, std::string& cell) {
            text(r, cell);
            CellRows::toCellText(cell);
            m_numbers.write(col, r, cell);
        });
    } else {
        m_rows.setColumn(col, first, last, text);
    }
    GridUpdate update(*this);
    noteChanged(first);
    noteChanged(last);
}

void StringGrid::setColumnWithNumbers(std::size_t col, std::size_t first, std::size_t last,
                                      const CellTextAndNumber& text)
{
    if (!m_keepNumbers || !RowNumbers::keeps(col)) {
        setColumn(col, first, last, [&](std::size_t r, std::string& cell) { text(r, cell); });
        return;
    }
    if (col >= m_colCount || first > last || first >= m_rowCount)
        return;
    last = std::min(last, m_rowCount - 1);
    m_rows.setColumn(col, first, last, [&](std::size_t r, std::string& cell) {
        m_numbers.writeNumber(col, r, text(r, cell));
    });
    GridUpdate update(*this);
    noteChanged(first);
    noteChanged(last);
}

void StringGrid::removeRows(std::size_t first, std::size_t last)
{
    if (first > last || first >= m_rowCount)
        return;
    last = std::min(last, m_rowCount - 1);
    // Told as the rows below moving up and the bottom ones going, as a view expects.
    const std::size_t old = m_rowCount;
    const std::size_t rows = old - (last - first + 1);
    if (m_observer)
        m_observer->rowCountAboutToChange(old, rows);
    m_rows.eraseRows(first, last);
    if (m_keepNumbers)
        m_numbers.erase(first, last);
    m_rowCount = rows;
    forgetChangesFrom(rows);
    if (m_observer)
        m_observer->rowCountChanged(old, rows);
    if (first < rows) {
        GridUpdate update(*this);
        noteChanged(first);
        noteChanged(rows - 1);
    }
}

void StringGrid::replaceRowsFrom(std::size_t first, CellRows&& rows)
{
    replaceRows(first, std::move(rows), nullptr);
}

void StringGrid::replaceRowsFrom(std::size_t first, CellRows&& rows, RowNumbers&& numbers)
{
    replaceRows(first, std::move(rows), &numbers);
}

void StringGrid::replaceRows(std::size_t first, CellRows&& rows, RowNumbers* converted)
{
    first = std::min(first, m_rowCount);
    const std::size_t old = m_rowCount;
    const std::size_t count = first + rows.size();
    if (m_observer && count != old)
        m_observer->rowCountAboutToChange(old, count);
    if (m_keepNumbers && converted && converted->size() == rows.size())
        m_numbers.replaceFrom(first, std::move(*converted));
    else if (m_keepNumbers)
        m_numbers.replaceFrom(first, rows);
    m_rows.replaceFrom(first, std::move(rows));
    m_rowCount = count;
    if (m_dirty && m_dirtyFirst >= count)
        m_dirty = false;
    else if (m_dirty)
        m_dirtyLast = std::min(m_dirtyLast, count - 1);
    if (m_observer && count != old)
        m_observer->rowCountChanged(old, count);
    if (first < count) {
        GridUpdate update(*this);
        noteChanged(first);
        noteChanged(count - 1);
    }
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
