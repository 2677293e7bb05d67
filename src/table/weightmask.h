#pragma once

#include <string>
#include <string_view>

// The weight field holds one optional digit, a literal comma and three optional digits.
// The program treats unfilled positions as spaces (an untouched field reads " ,   "), while
// the toolkit's mask shows them as '_' and strips them from its text, so these two
// functions translate between the field's display and the text the program works with.
namespace table {

// Qt's form of the mask: '0' is an optional digit there.
inline constexpr char kWeightInputMask[] = "0,000;_";
inline constexpr char kWeightBlank = '_';
inline constexpr std::size_t kWeightFieldLength = 5;
inline constexpr std::size_t kWeightCommaPosition = 1;

// The field's text as the program reads it: blanks become spaces.
std::string weightFieldText(std::string_view displayText);

// The display that a weight text gives when put into the field: characters go to the
// positions they stand at, a non-digit leaves its position blank, the comma is fixed and
// anything past five characters is dropped ("0,510" stays, "####" gives "_,___").
std::string weightDisplayFor(std::string_view weight);

} // namespace table
