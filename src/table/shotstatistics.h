#pragma once

#include "table/stringgrid.h"
#include "table/units.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a shooter judges a load by: spread and scatter of the velocities over all rows or a
// selection. Rows whose velocity does not convert, and shots excluded from the statistics, are
// left out and counted.
namespace table {

struct ShotStatistics {
    // Rows whose velocity converts, excluded ones not counted.
    std::size_t shots = 0;
    std::size_t withoutVelocity = 0;
    std::size_t excluded = 0;
    // Meaningful only with at least one shot.
    double mean = 0;
    double extremeSpread = 0;
    double lowest = 0;
    double highest = 0;
    double median = 0;
    // Sample deviation (n - 1); absent below two shots.
    std::optional<double> standardDeviation;
    // Population deviation (n), as some devices' apps show it; absent below two shots too.
    std::optional<double> populationDeviation;
    // SD / mean * 100; absent without an SD or with a mean of 0.
    std::optional<double> coefficientOfVariation;
};

// Over all data rows; an empty table gives no shots and no rows without a velocity.
ShotStatistics shotStatistics(const StringGrid& grid);
// Over rows top..bottom, clipped to the data rows.
ShotStatistics shotStatistics(const StringGrid& grid, std::size_t top, std::size_t bottom);

// The velocities the statistics count over rows top..bottom (clipped to the data rows), in the
// unit shown, each with its row: what the confidence figures and the distribution chart start
// from.
struct IncludedShots {
    std::vector<double> velocities;
    std::vector<std::size_t> rows;
};
IncludedShots includedShots(const StringGrid& grid, std::size_t top, std::size_t bottom,
                            Units units);
IncludedShots includedShots(const StringGrid& grid, Units units);

// The figures as shown; all empty when the range had no rows at all.
struct ShotStatisticsTexts {
    std::string shots;
    std::string mean;
    std::string extremeSpread;
    std::string standardDeviation;
    std::string populationDeviation;
    std::string coefficientOfVariation;
    std::string median;
    // "2 rows without a velocity"; empty when every row converted.
    std::string withoutVelocity;
    // "9 of 10 shots, 1 excluded"; empty when none is.
    std::string excluded;
};

// The figures' captions, shared by the panel and the exports.
struct ShotStatisticsCaptions {
    std::string_view shots, mean, extremeSpread, standardDeviation, populationDeviation,
        coefficientOfVariation, median;
};
inline constexpr ShotStatisticsCaptions kAllRowsCaptions{"Shots",  "Mean", "ES",    "SD (n\u22121)",
                                                         "SD (n)", "CV",   "Median"};
// The selection has no CV and no median of its own.
inline constexpr ShotStatisticsCaptions kSelectionCaptions{"Selected shots",
                                                           "Selected mean",
                                                           "Selected ES",
                                                           "Selected SD (n\u22121)",
                                                           "Selected SD (n)",
                                                           {},
                                                           {}};

// Stands where a figure cannot exist, such as the SD of one shot.
inline constexpr std::string_view kNoFigure = "\u2014";

// Mean, ES, SD and median with one decimal, CV with two and "%", half away from zero, with
// the program's decimal separator.
ShotStatisticsTexts formatShotStatistics(const ShotStatistics& s);

// A velocity figure with one decimal, as the panel shows it.
std::string formatVelocityFigure(double v);

} // namespace table
