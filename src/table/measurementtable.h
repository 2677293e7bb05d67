#pragma once

#include "table/columns.h"
#include "table/stringgrid.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The measurement table: its columns, the empty-table test, the energy rule and the two
// recomputations run after the table changes. Every value lives as cell text; the grid
// keeps the numbers behind the texts beside them (RowNumbers).
namespace table {

// An energy that cannot be computed, in cells and labels.
inline constexpr std::string_view kInvalidMark = "####";
// Statistics labels with nothing computed.
inline constexpr std::string_view kEmptyMark = "###";

// The captions of the six statistics labels, in the order of Statistics' texts.
inline constexpr std::array<std::string_view, 6> kStatisticsCaptions = {"V max", "V min", "V a",
                                                                        "E max", "E min", "E a"};

// Header row plus one empty row.
StringGrid makeGrid();
void writeHeader(StringGrid& grid);
// Back to the header row plus one empty row.
void clear(StringGrid& grid);
// The one test every command uses: no velocity in row 1.
bool isEmpty(const StringGrid& grid);

// A row's velocity as the passes take it; a text they refuse raises its conversion error.
double velocityAt(const StringGrid& grid, std::size_t row);

// Writes the energy cell of a row from its velocity and a weight text in grams.
void applyEnergyRule(StringGrid& grid, std::size_t row, std::string_view weight);
// The same with the weight text already converted (nothing: it does not convert), for a rule
// run over many rows with one weight.
void applyEnergyRule(StringGrid& grid, std::size_t row, std::optional<double> grams);
// Over rows first..last in one pass over the table's store.
void applyEnergyRule(StringGrid& grid, std::size_t first, std::size_t last,
                     std::optional<double> grams);

struct Statistics {
    std::string vMax, vMin, vMean;
    std::string eMax, eMin, eMean;
    double meanVelocity = 0;
    // The values behind the texts, for showing them in other units.
    double maxVelocity = 0;
    double minVelocity = 0;
    bool energyValid = false;
    double maxEnergy = 0;
    double minEnergy = 0;
    double meanEnergy = 0;
};

// Over rows 1..rowCount-1. A velocity that does not convert throws, before any result
// exists; an energy that does not convert only marks the energy results invalid.
Statistics statisticsPass(const StringGrid& grid);

// Writes every dV cell against the given mean; a mean of 0 gives the invalid mark instead of
// a division by zero. A velocity that does not convert throws, with earlier rows written.
void deviationPass(StringGrid& grid, double meanVelocity);

// Gives rows top..bottom the bullet and weight and recomputes their energies.
void applyBullet(StringGrid& grid, std::size_t top, std::size_t bottom, std::string_view weight,
                 std::string_view bullet);

// Removes rows top..bottom; the rows that remain are renumbered from 1 and keep their other
// cells. The table ends with exactly the remaining rows.
void deleteRows(StringGrid& grid, std::size_t top, std::size_t bottom);

} // namespace table
