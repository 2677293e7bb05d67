#pragma once

#include "session/loadtest.h"
#include "stats/intervals.h"
#include "stats/regression.h"
#include "table/units.h"

#include <cstddef>
#include <optional>
#include <vector>

// What a load test shows across its strings: each string's figures, the line through every
// shot and the flat spots along it. Velocities are in the unit asked for; `level` is the
// confidence level as a probability (0.95).
namespace session {

struct StringFigures {
    // Its index in LoadTest::strings.
    std::size_t string = 0;
    // None until a value is typed.
    std::optional<double> value;
    // The included shots' velocities, in firing order; rows without a velocity are left out.
    std::vector<double> velocities;
    std::size_t excluded = 0;
    // With one shot or more.
    std::optional<double> mean;
    std::optional<double> extremeSpread;
    // Sample deviation (n - 1) and its range, with two shots or more.
    std::optional<double> sd;
    std::optional<stats::Interval> sdInterval;
    // Against the string before it on the ladder: the nearest lower value whose string has a
    // mean. None for the first, and the gain none where the two values are the same.
    std::optional<double> meanChange;
    std::optional<double> gainPerUnit;
    // Within a flat spot.
    bool flat = false;
};

struct LadderFigures {
    double level = 0.95;
    table::Units units = table::Units::Metric;
    // Every string: those with a value in increasing order of it (equal values in the order
    // they were added), then those without one, in the order they were added.
    std::vector<StringFigures> rows;
    // Least squares through every included shot of the strings with a value. None below
    // three such shots, or when they were all fired at one value.
    std::optional<stats::LineFit> fit;
    // Runs of rows (indexes into rows, in value order) whose means move by less than half of
    // what the fitted slope predicts over their spacing (stats::flatSpots), over the strings
    // with a value and a mean. None when the slope's range includes 0.
    std::vector<stats::Run> flatSpots;
};

LadderFigures ladderFigures(const LoadTest& test, double level, table::Units units);

// The row of a string in the figures.
std::size_t rowOfString(const LadderFigures& figures, std::size_t string);

} // namespace session
