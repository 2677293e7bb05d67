#pragma once

#include "table/cellrows.h"
#include "table/rownumbers.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace table {

// Told about changes, so a view can follow the grid without polling it.
class GridObserver {
public:
    virtual ~GridObserver() = default;
    virtual void rowCountAboutToChange(std::size_t oldCount, std::size_t newCount) = 0;
    virtual void rowCountChanged(std::size_t oldCount, std::size_t newCount) = 0;
    // Rows first..last (inclusive) have new cell texts.
    virtual void rowsChanged(std::size_t first, std::size_t last) = 0;
    virtual void columnWidthChanged(std::size_t col) = 0;
};

// A grid of cell texts: the only store of the measurements. Row 0 is the header row.
// Reading a cell outside the grid gives "", because the table can shrink to its header row
// while callers still look at row 1.
class StringGrid {
public:
    // A measurement table keeps the numbers behind its texts (numbers()); other grids, such
    // as the bullet list's, have none to keep.
    StringGrid(std::size_t colCount, std::size_t rowCount, bool keepNumbers = false);

    std::size_t colCount() const { return m_colCount; }
    std::size_t rowCount() const { return m_rowCount; }
    // New rows are empty; removed rows are gone with their texts.
    void setRowCount(std::size_t rows);

    // Valid until the grid next changes.
    std::string_view cell(std::size_t col, std::size_t row) const { return m_rows.cell(col, row); }
    // The numbers behind the cells' texts, converted when they were written.
    const RowNumbers& numbers() const { return m_numbers; }
    // Writing outside the grid is a caller's fault; it is ignored rather than growing the grid.
    void setCell(std::size_t col, std::size_t row, std::string_view text);

    // Column `col` of rows first..last at once (CellRows::setColumn): a pass that writes a
    // cell of every row moves the store once.
    void setColumn(std::size_t col, std::size_t first, std::size_t last,
                   const CellRows::CellText& text);
    // The same for a decimal column (E, m or dV) whose writer knows each text's number (what
    // the text reads as) as it makes the text, which holds no line end: nothing is read back.
    using CellTextAndNumber = std::function<double(std::size_t row, std::string& text)>;
    void setColumnWithNumbers(std::size_t col, std::size_t first, std::size_t last,
                              const CellTextAndNumber& text);

    // Removes rows first..last (inclusive); the rows below move up.
    void removeRows(std::size_t first, std::size_t last);
    // Replaces rows from `first` on by `rows` (of as many columns), taking over their store.
    void replaceRowsFrom(std::size_t first, CellRows&& rows);
    // The same with the rows' numbers already converted (numbers.size() == rows.size()).
    void replaceRowsFrom(std::size_t first, CellRows&& rows, RowNumbers&& numbers);

    int colWidth(std::size_t col) const;
    void setColWidth(std::size_t col, int width);

    // Between beginUpdate and endUpdate cell changes are reported once, as one range, which
    // keeps a pass over 65,535 rows from waking a view 65,535 times.
    void beginUpdate();
    void endUpdate();

    void setObserver(GridObserver* observer) { m_observer = observer; }

private:
    void replaceRows(std::size_t first, CellRows&& rows, RowNumbers* converted);
    void noteChanged(std::size_t row);
    void forgetChangesFrom(std::size_t rows);

    std::size_t m_colCount;
    std::size_t m_rowCount;
    CellRows m_rows;
    RowNumbers m_numbers;
    bool m_keepNumbers;
    std::vector<int> m_colWidths;
    GridObserver* m_observer = nullptr;
    int m_updateDepth = 0;
    std::size_t m_dirtyFirst = 0;
    std::size_t m_dirtyLast = 0;
    bool m_dirty = false;
};

// Emits one change report for everything written while it lives.
class GridUpdate {
public:
    explicit GridUpdate(StringGrid& grid)
        : m_grid(grid)
    {
        m_grid.beginUpdate();
    }
    ~GridUpdate() { m_grid.endUpdate(); }
    GridUpdate(const GridUpdate&) = delete;
    GridUpdate& operator=(const GridUpdate&) = delete;

private:
    StringGrid& m_grid;
};

} // namespace table
