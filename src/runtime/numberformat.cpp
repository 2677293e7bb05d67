#include "runtime/numberformat.h"

#include "runtime/decimalseparator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace rt {

namespace {

// A double carries 15 trustworthy decimal digits; rounding happens on these, not on the
// binary value, so a weight typed as 300,125 rounds up the way the shooter expects.
constexpr int kMaxDigits = 15;
constexpr int kMaxDecimals = 18;

// value = 0.<digits> * 10^exponent; digits has no trailing zeros and is empty for zero.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal toDecimal(double magnitude)
{
    Decimal d;
    if (magnitude == 0.0)
        return d;
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::scientific, kMaxDigits - 1);
    // The shape is "d.dddddddddddddde[+-]x..".
    const char* p = buffer;
    const char* end = result.ptr;
    for (; p != end && *p != 'e'; ++p) {
        if (*p != '.')
            d.digits += *p;
    }
    ++p; // 'e'
    const bool negativeExponent = *p == '-';
    ++p; // sign
    int exponent = 0;
    std::from_chars(p, end, exponent);
    d.exponent = (negativeExponent ? -exponent : exponent) + 1;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// Keeps `count` significant digits, half away from zero; count may be zero or negative
// when the wanted place lies left of the first digit.
void roundTo(Decimal& d, int count)
{
    if (d.digits.empty() || count >= static_cast<int>(d.digits.size()))
        return;
    if (count < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[count] >= '5';
    d.digits.resize(count);
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.digits[i] == '9') {
            d.digits.pop_back();
            --i;
        }
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits.assign(1, '1');
            ++d.exponent;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
}

char digitAt(const Decimal& d, int index)
{
    if (index < 0 || index >= static_cast<int>(d.digits.size()))
        return '0';
    return d.digits[index];
}

std::string scientific(const Decimal& d, char separator)
{
    std::string text(1, d.digits[0]);
    if (d.digits.size() > 1) {
        text += separator;
        text.append(d.digits, 1);
    }
    text += 'E';
    const int exponent = d.exponent - 1;
    if (exponent < 0)
        text += '-';
    text += std::to_string(std::abs(exponent));
    return text;
}

std::string integerPart(const Decimal& d)
{
    if (d.exponent <= 0)
        return "0";
    std::string text;
    text.reserve(d.exponent);
    for (int i = 0; i < d.exponent; ++i)
        text += digitAt(d, i);
    return text;
}

std::string fixed(const Decimal& d, int decimals, char separator)
{
    std::string text = integerPart(d);
    if (decimals > 0) {
        text += separator;
        for (int i = 0; i < decimals; ++i)
            text += digitAt(d, d.exponent + i);
    }
    return text;
}

std::string general(const Decimal& d, char separator)
{
    return fixed(d, std::max(0, static_cast<int>(d.digits.size()) - d.exponent), separator);
}

} // namespace

std::string formatFloat(double value, FloatFormat format, int precision, int digits)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";

    precision = std::clamp(precision, 1, kMaxDigits);
    digits = std::clamp(digits, 0, kMaxDecimals);
    const char separator = decimalSeparator();

    Decimal d = toDecimal(std::fabs(value));
    std::string body;
    if (format == FloatFormat::Fixed) {
        if (!d.digits.empty())
            roundTo(d, std::min(precision, d.exponent + digits));
        if (!d.digits.empty() && d.exponent > precision)
            body = scientific(d, separator);
        else
            body = fixed(d, digits, separator);
    } else {
        roundTo(d, precision);
        if (d.digits.empty())
            body.assign(1, '0');
        // Rounded already, so 0.0000099999 at three digits counts as 0.00001.
        else if (d.exponent > precision || d.exponent < -4)
            body = scientific(d, separator);
        else
            body = general(d, separator);
    }

    // Whatever rounds to zero is written unsigned, negative zero included.
    if (value < 0 && !d.digits.empty())
        return '-' + body;
    return body;
}

std::string formatInteger(double v)
{
    return formatFloat(v, FloatFormat::Fixed, 4, 0);
}

std::string formatTwoDecimal(double v)
{
    return formatFloat(v, FloatFormat::Fixed, 5, 2);
}

std::string formatEnergy(double v)
{
    return formatFloat(v, FloatFormat::General, 3, 0);
}

} // namespace rt
