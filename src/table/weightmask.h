#pragma once

#include <string>
#include <string_view>

// The weight field holds one optional digit, a literal comma and three optional digits.
// The program treats unfilled positions as spaces (an untouched field reads " ,   "), while
// the toolkit's mask shows them as '_' and strips them from its text, so these two
// functions translate between the field's display and the text the program works with.
namespace weightmask {

// Qt's form of the mask: '0' is an optional digit there.
inline constexpr char kInputMask[] = "0,000;_";
inline constexpr char kBlank = '_';
inline constexpr std::size_t kLength = 5;
inline constexpr std::size_t kCommaPosition = 1;

// The field's text as the program reads it: blanks become spaces.
std::string fieldText(std::string_view displayText);

// The display that a weight text gives when put into the field: characters go to the
// positions they stand at, a non-digit leaves its position blank, the comma is fixed and
// anything past five characters is dropped ("0,510" stays, "####" gives "_,___").
std::string displayFor(std::string_view weight);

} // namespace weightmask
