#pragma once

#include "table/stringgrid.h"

#include <string>

// Measurement files: six lines per shot (N, V, E, m, Bullet, dV), each the cell's text as
// the table holds it, every line ended by CR LF; nothing else in the file.
namespace table {

inline constexpr std::size_t kLinesPerRecord = 6;

// Writes every data row. The file replaces the previous one only when complete.
void writeTable(const StringGrid& grid, const std::string& path);

// Writes rows top..bottom as a session of their own: numbered from 1, deviations against
// the block's own mean. A velocity that is not a whole number throws before anything is
// written, so the file that was there stays.
void writeSelection(const StringGrid& grid, std::size_t top, std::size_t bottom,
                    const std::string& path);

// Fills the table from row 1 down; the caller has reset it to one empty data row. The end
// of the file is tested only after a whole record: a short record gets empty cells, an empty
// file gives one empty row. A read error throws with the rows read before it in the table.
void readTable(StringGrid& grid, const std::string& path);

} // namespace table
