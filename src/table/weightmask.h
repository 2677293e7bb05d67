#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The weight field holds one to three digits, a fixed comma and three decimal positions.
// The field shows an unfilled position as '_' (with no digits before the comma, one '_'
// stands there); the program reads unfilled positions as spaces, so an untouched field
// reads " ,   " and a rifle bullet "10,886". These rules keep the field in that form while
// the user edits it, translate its display into the text the program works with, and put
// a loaded weight into it.
namespace table {

inline constexpr char kWeightBlank = '_';
inline constexpr std::size_t kWeightIntegerDigits = 3;
inline constexpr std::size_t kWeightDecimals = 3;

// The field's positions: grams as above, or grains with up to five digits and one decimal
// ("8,4", "168,0", "15432,4") when the window shows Imperial units.
struct WeightShape {
    std::size_t integerDigits = kWeightIntegerDigits;
    std::size_t decimals = kWeightDecimals;
};
inline constexpr WeightShape kGramsShape{};
inline constexpr WeightShape kGrainsShape{5, 1};

// The field's text as the program reads it: blanks become spaces.
std::string weightFieldText(std::string_view displayText);

// The display that a weight text gives when put into the field. The part before the first
// ',' or '.' (the whole text when there is none) shows when it is one to three digits; when
// it is empty or a single space the field has no digits there; anything else is not a
// weight and leaves the whole field unfilled ("####" gives "_,___"). The part after it goes
// to the three decimal positions one character each, a non-digit leaving its position
// blank, the rest dropped ("0,51" gives "0,51_", "10,886" stays).
std::string weightDisplayFor(std::string_view weight, WeightShape shape = kGramsShape);

struct WeightEdit {
    std::string display;
    std::size_t cursor = 0;
};

// Brings the field's text after one edit (a key typed, a deletion, a paste) back into the
// field's form, with the cursor where the user expects it. The edit is refused (nullopt)
// when it cannot be expressed: a character that is not a digit, a blank or the comma, a
// fourth digit before the comma other than at its end, a digit typed past the last
// position. Decimal positions are overwritten and blanked rather than shifted, as in a mask;
// a fourth digit typed at the end of a full integer part goes on to the first decimal, so
// typing "168000" gives "168,000"; a comma typed before the field's comma moves the cursor
// past it; the comma itself cannot be deleted. '.' counts as the comma, ' ' as a blank.
std::optional<WeightEdit> normalizeWeightEdit(std::string_view text, std::size_t cursor,
                                              WeightShape shape = kGramsShape);

} // namespace table
