#pragma once

#include "session/ladder.h"
#include "session/loadtest.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

// A load test's figures as the window, the report and the CSV show them: numbers with the
// program's decimal separator, velocities in the figures' unit, "—" where a figure cannot
// exist.
namespace session {

// "95 %"; "99,5 %" for a level between whole percents.
std::string levelText(double level);
// A figure with one decimal and its sign: "+23,4", "-3,0", "0,0".
std::string signedFigure(double value);

// "+23,4 ft/s per grain (95 %: 18,1 – 28,7)"
std::string slopeText(const stats::LineFit& fit, const Variable& variable, table::Units units,
                      double level);
// "R² = 0,93"
std::string rSquaredText(const stats::LineFit& fit);

// The value as typed, with the program's decimal separator: "42,5".
std::string valueShown(const LoadTestString& string);
// How a string is named in lists: its value and unit ("42,5 gr"), else its title, else
// "String 3" (its place, from 1).
std::string stringLabel(const LoadTest& test, std::size_t index);

// The variable's heading: "Charge (gr)".
std::string variableHeading(const Variable& variable);

enum LadderColumn : std::size_t {
    LadderValue,
    LadderShots,
    LadderMean,
    LadderES,
    LadderSD,
    LadderSDRange,
    LadderMeanChange,
    LadderGain,
    LadderFlat,
    kLadderColumnCount
};

struct LadderTable {
    std::array<std::string, kLadderColumnCount> header;
    // In the figures' row order.
    std::vector<std::array<std::string, kLadderColumnCount>> rows;
};

// The mark of a string within a flat spot.
inline constexpr char kFlatMark[] = "flat";

LadderTable ladderTable(const LoadTest& test, const LadderFigures& figures);

} // namespace session
