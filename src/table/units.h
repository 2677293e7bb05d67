#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Display units. Stored texts stay in m/s, J and g whatever the user picks; only what is
// shown converts.
namespace table {

struct ShotStatistics;
struct Statistics;
class StringGrid;

enum class Units { Metric, Imperial };

inline constexpr double kMetresPerFoot = 0.3048;
inline constexpr double kJoulesPerFootPound = 1.3558179483;
inline constexpr double kGramsPerGrain = 0.06479891;

double feetPerSecond(double metresPerSecond);
double metresPerSecond(double feetPerSecond);
double footPounds(double joules);
double joules(double footPounds);
double grains(double grams);
double grams(double grains);

// The units' names as the headers and figures show them: "m/s" or "ft/s", "J" or "ft\u00B7lbf",
// "g" or "gr".
std::string_view velocityUnit(Units units);
std::string_view energyUnit(Units units);
std::string_view weightUnit(Units units);

// Shown texts of stored cells. Metric shows the stored text itself; so does Imperial for a
// text that does not convert ("####", an empty cell, an unfilled weight).
// Energy: one decimal in ft·lbf.
std::string energyDisplay(std::string_view stored, Units units);
// Weight: one decimal in grains.
std::string weightDisplay(std::string_view stored, Units units);

// The weight field in Imperial units takes grains with one decimal; the table and the bullet
// list keep grams with three, always with a comma, as the field writes them. A text that is
// no weight gives nothing.
std::optional<std::string> weightFieldGrains(std::string_view grams);
std::optional<std::string> weightFieldGrams(std::string_view grains);

// A measurement-table cell as shown: the header row names the unit, the V, E and m columns
// convert, the V column with the decimals its velocities need (velocityShown); every other
// cell shows its stored text.
std::string measurementCellDisplay(const StringGrid& grid, std::size_t col, std::size_t row,
                                   Units units);

// The velocity figures in the chosen unit; counts and CV do not depend on it.
ShotStatistics inUnits(const ShotStatistics& s, Units units);

// The statistics labels' texts: their own formats on the values in the chosen units.
struct StatisticsLabels {
    std::string vMax, vMin, vMean;
    std::string eMax, eMin, eMean;
};
StatisticsLabels statisticsLabels(const Statistics& s, Units units);

} // namespace table
