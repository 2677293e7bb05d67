#pragma once

#include <optional>
#include <string_view>

// Velocity cells. Radars give hundredths where older chronographs gave whole metres per
// second, and files move between machines, so a velocity may carry ',' or '.' whatever the
// locale's separator.
namespace table {

// An optionally signed whole number, or one with a separator and at least one digit on
// either side ("285", "-3", "285,5", "290.25"), within an int's range as velocities always
// were. Anything else (blanks, exponents, a second separator, an empty text) throws
// rt::ConvertError with the whole-number conversion's text: a bad velocity reads as it
// always has.
double velocityOf(std::string_view text);
// velocityOf's value, or nothing where it would throw.
std::optional<double> parseVelocity(std::string_view text);

// No separator in the text: a whole velocity is shown without decimals in other units too.
bool isWholeVelocity(std::string_view text);

} // namespace table
