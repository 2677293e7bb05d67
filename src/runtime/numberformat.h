#pragma once

#include <string>

namespace rt {

enum class FloatFormat { General, Fixed };

// Writes value with rt::decimalSeparator(). Fixed keeps `digits` decimals, General drops
// trailing zeros; both fall back to scientific notation ("1,23E3") when the integer part
// needs more than `precision` digits, General also below 0.00001. Rounding is half away
// from zero on the decimal digits of the value, so 300.125 gives "300,13".
// precision is clamped to 1..15, digits to 0..18.
std::string formatFloat(double value, FloatFormat format, int precision, int digits);

// Whole numbers: 289.5 -> "290".
std::string formatInteger(double v);

// Two decimals: 300.125 -> "300,13".
std::string formatTwoDecimal(double v);
// The same, with the number the text reads as (parseFloat's result, NaN where it has none), for
// a pass that keeps both: found from the digits where they are known, not read back.
std::string formatTwoDecimal(double v, double& shown);

// Up to three significant digits: 15.9375 -> "15,9"; from 999,5 up, where three digits would
// need an exponent, whole numbers: 1504.2 -> "1504".
std::string formatEnergy(double v);
std::string formatEnergy(double v, double& shown);

} // namespace rt
