#pragma once

#include "table/stringgrid.h"
#include "table/units.h"

#include <cstddef>
#include <string>

// Rows as spreadsheets paste them: tab-separated fields, one line per row, the header first.
namespace exports {

// Rows top..bottom (grid rows, clipped to the data rows) in the units shown, numbers as the
// CSV export writes them. A tab or line break inside a field becomes a space: spreadsheets
// do not unquote pasted text.
std::string tabSeparatedRows(const table::StringGrid& grid, std::size_t top, std::size_t bottom,
                             table::Units units);

} // namespace exports
