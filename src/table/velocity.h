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

// Where the text's ',' or '.' is, or npos. A plain loop: a library search for either of two
// characters runs a search of the pair for every character, which a pass over 65,535 short
// texts feels.
constexpr std::size_t separatorAt(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == ',' || text[i] == '.')
            return i;
    return std::string_view::npos;
}

// No separator in the text: a whole velocity is shown without decimals in other units too.
bool isWholeVelocity(std::string_view text);

} // namespace table
