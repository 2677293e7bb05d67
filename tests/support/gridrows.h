#pragma once

#include "table/measurementtable.h"

#include <string>
#include <vector>

// A measurement table from rows of cell texts and back, for tests that compare whole tables.
// Header-only: only the tests that link the table include it.
using GridRow = std::vector<std::string>;

// Rows 1.. of a fresh table, each row's texts from column 0 on.
inline table::StringGrid tableOf(const std::vector<GridRow>& rows)
{
    table::StringGrid grid = table::makeGrid();
    grid.setRowCount(rows.size() + 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            grid.setCell(c, r + 1, rows[r][c]);
    }
    return grid;
}

// The first `columns` texts of every data row.
inline std::vector<GridRow> rowsOf(const table::StringGrid& grid, std::size_t columns)
{
    std::vector<GridRow> rows;
    for (std::size_t r = 1; r < grid.rowCount(); ++r) {
        GridRow row;
        for (std::size_t c = 0; c < columns; ++c)
            row.emplace_back(grid.cell(c, r));
        rows.push_back(row);
    }
    return rows;
}
