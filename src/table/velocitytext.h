#pragma once

#include "table/units.h"

#include <optional>
#include <string>
#include <string_view>

// Velocities exactly as recorded. A radar's "3007,98 ft/s" must come back as 3007,98 however
// often it is stored, shown and saved, so texts are converted digit by digit, never through a
// double: 1 ft/s is exactly 0,3048 m/s, so a ft/s value with k decimals is a m/s value with at
// most k + 4.
namespace table {

// The most decimals a velocity column shows.
inline constexpr int kMaxShownVelocityDecimals = 3;

// The stored m/s text of a velocity a file recorded in m/s or ft/s: every digit kept, the
// program's decimal separator, no trailing zeros after it. Nothing for a text that is not an
// optionally signed decimal number ("2804", "2804.00", "916,83").
std::optional<std::string> storedMetresPerSecond(std::string_view recorded, bool feetPerSecond);

// The ft/s value a stored m/s text is exactly, when it has at most two decimals there: what a
// ft/s device showed. Its text uses the program's separator and has no trailing zeros.
std::optional<std::string> recordedFeetPerSecond(std::string_view stored);

// The decimals of a stored velocity's text, trailing zeros left out; 0 for a text that is no
// velocity.
int velocityDecimals(std::string_view stored);

// The decimals a stored velocity needs to be shown exactly in a unit, at most
// kMaxShownVelocityDecimals: its own in m/s; in ft/s those of the recorded value where it is
// one, else none for a whole text and one for a decimal one. 0 for a text that is no velocity.
int velocityDecimalsNeeded(std::string_view stored, Units units);

// A stored velocity as a column of `decimals` decimals shows it, rounded half away from zero
// on its digits or padded with zeros. `value` is the velocity the table keeps for the text
// (RowNumbers::velocity), NaN for a text that is no velocity, which shows itself. A whole
// text in a whole column shows as it is stored.
std::string velocityShown(std::string_view stored, double value, Units units, int decimals);

} // namespace table
