#pragma once

#include "table/columns.h"
#include "table/measurementtable.h"
#include "table/stringgrid.h"

#include <string>
#include <vector>

// A string's rows as the tests write them: all eleven columns (N, V, E, m, Bullet, dV, Time,
// Flags, Note, Excluded, Recorded), or the first few.
using Row = std::vector<std::string>;

inline table::StringGrid tableOf(const std::vector<Row>& rows)
{
    table::StringGrid grid = table::makeGrid();
    grid.setRowCount(rows.size() + 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            grid.setCell(c, r + 1, rows[r][c]);
    }
    return grid;
}

inline std::vector<Row> rowsOf(const table::StringGrid& grid,
                               std::size_t columns = table::kGridColumnCount)
{
    std::vector<Row> rows;
    for (std::size_t r = 1; r < grid.rowCount(); ++r) {
        Row row;
        for (std::size_t c = 0; c < columns; ++c)
            row.emplace_back(grid.cell(c, r));
        rows.push_back(row);
    }
    return rows;
}
