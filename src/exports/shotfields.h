#pragma once

#include "table/measurementtable.h"
#include "table/stringgrid.h"
#include "table/units.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The table's rows as every export writes them: in the units shown, numbers in fixed
// notation with the program's decimal separator. The cells' own formats are for the grid;
// a spreadsheet needs "1234,5" where the energy cell says "1,23E3".
namespace exports {

using ShotFields = std::array<std::string, table::kColumnCount>;

// The header as the grid shows it in these units: "V (m/s)" or "V (ft/s)"...
ShotFields shotHeader(const table::StringGrid& grid, table::Units units);

// Row `row` of the grid. A value that does not convert ("####", an unfilled weight) is an
// empty field: missing to a spreadsheet, not a text among numbers. A bullet name that a
// spreadsheet would run as a formula ("=HYPERLINK(...)" from an imported title) gets a
// leading apostrophe. Reuses the strings of `fields`, so a long table costs no allocation
// per row.
void shotFields(const table::StringGrid& grid, std::size_t row, table::Units units,
                ShotFields& fields);

// A row's velocity as the exports write it, with every digit the table keeps: the stored
// text in m/s; in ft/s the recorded value where the stored text is one, else the converted
// value with the decimals the grid gives it (none for a whole text, one otherwise). The
// program's decimal separator; empty where the cell holds no number.
std::string velocityText(const table::StringGrid& grid, std::size_t row, table::Units units);

// The text as a spreadsheet field: with a leading apostrophe where a spreadsheet would run it
// as a formula ("=HYPERLINK(...)" from an imported title, "-5 fps" typed as a note).
void assignSpreadsheetText(std::string& field, std::string_view text);

// Velocity, energy and weight of a row in the chosen units, from the numbers the table keeps;
// nothing for a cell that does not convert.
std::optional<double> rowVelocityIn(const table::StringGrid& grid, std::size_t row,
                                    table::Units units);
// A row's energy: none where its cell has none ("####"), else computed again from the row's
// velocity and weight, as the cell keeps only three significant digits.
std::optional<double> rowEnergyIn(const table::StringGrid& grid, std::size_t row,
                                  table::Units units);
std::optional<double> rowWeightIn(const table::StringGrid& grid, std::size_t row,
                                  table::Units units);

// Weights keep the grid's decimals: three in grams, one in grains.
int weightDecimals(table::Units units);

// Fixed notation with `decimals` decimals and the program's separator, rounded half away from
// zero as everywhere in the program.
std::string fixed(double value, int decimals);

} // namespace exports
