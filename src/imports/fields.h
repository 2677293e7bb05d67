#pragma once

#include "imports/importfile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The pieces of a line every reader needs: fields, numbers, units.
namespace imports {

// Without spaces and tabs at either end.
std::string_view trimmed(std::string_view text);

// Splits a line at `separator`; blanks around a field go. A field that starts with a quote
// runs to its closing quote, with "" standing for one quote inside, so a quoted "488,3" or a
// title with commas stays one field. Nothing for a quote that does not close or text after a
// closing quote.
std::optional<std::vector<std::string>> splitFields(std::string_view line, char separator);

// The field at i, or "" for a line with fewer fields.
std::string_view fieldAt(const std::vector<std::string>& fields, std::size_t i);

// No field holds text: ";;;" as spreadsheets write past the data.
bool onlyEmptyFields(const std::vector<std::string>& fields);

// Fields past the header's columns that tell of a misread line. Empty ones are padding,
// except where commas separate: there a decimal comma ("1,285,5" under "N,V", "285,5," under
// "V,Note") adds a field that may well be empty, and must not read as 285.
bool beyondHeader(const std::vector<std::string>& fields, std::size_t headerColumns,
                  char separator);

// Digits only, such as a shot number "0001".
bool isShotNumber(std::string_view text);

// A decimal number with '.' or ',', blanks around it; nothing for anything else.
std::optional<double> number(std::string_view text);

// The text in the last parentheses of a column header: "SPEED (FPS)" -> "FPS"; the header's
// name before them goes to `name` when given.
std::optional<std::string_view> unitInParentheses(std::string_view header,
                                                  std::string_view* name = nullptr);

// A projectile weight in grams, from grains when `grains`: 0 for a text that says 0 (no weight
// set), nothing for one that is not a weight (not a number, negative, a kilogram or more).
std::optional<double> weightInGrams(std::string_view text, bool grains);

// "m/s", "mps", "ft/s", "fps" in any letter case; Unknown for anything else.
VelocityUnit velocityUnit(std::string_view text);

} // namespace imports
