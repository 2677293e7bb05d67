#pragma once

#include <optional>
#include <string_view>

namespace rt {

// An optionally signed decimal integer that fits an int, nothing around it; otherwise
// throws ConvertError.
int strToInt(std::string_view text);
// strToInt's value, or nothing where it would throw; no exception on the way, so a table of
// texts that do not convert costs no more than one that does.
std::optional<int> parseInt(std::string_view text);

// strToInt's refusal of a text, for conversions that must fail with its words.
[[noreturn]] void raiseInvalidInteger(std::string_view text);

// A decimal number with ',' or '.' as separator and an optional exponent; blanks around it
// are ignored. Throws ConvertError for anything else, including values beyond a double.
double strToFloat(std::string_view text);
// strToFloat's value, or nothing where it would throw: for texts that may hold a mark.
std::optional<double> parseFloat(std::string_view text);

} // namespace rt
