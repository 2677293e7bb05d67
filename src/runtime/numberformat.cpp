#include "runtime/numberformat.h"

#include "runtime/convert.h"
#include "runtime/decimalseparator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>

namespace rt {

namespace {

// A double carries 15 trustworthy decimal digits; rounding happens on these, not on the
// binary value, so a weight typed as 300,125 rounds up the way the shooter expects.
constexpr int kMaxDigits = 15;
constexpr int kMaxDecimals = 18;

// value = 0.<digits> * 10^exponent; no trailing zeros, no digits for zero. Kept on the stack:
// a table's passes format a number per row, and a string per digit step would cost more than
// the arithmetic.
struct Decimal {
    char digits[kMaxDigits + 1];
    int count = 0;
    int exponent = 0;

    void dropTrailingZeros()
    {
        while (count > 0 && digits[count - 1] == '0')
            --count;
    }
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
            d.digits[d.count++] = *p;
    }
    ++p; // 'e'
    const bool negativeExponent = *p == '-';
    ++p; // sign
    int exponent = 0;
    std::from_chars(p, end, exponent);
    d.exponent = (negativeExponent ? -exponent : exponent) + 1;
    d.dropTrailingZeros();
    return d;
}

// Keeps `count` significant digits, half away from zero; count may be zero or negative
// when the wanted place lies left of the first digit.
void roundTo(Decimal& d, int count)
{
    if (d.count == 0 || count >= d.count)
        return;
    if (count < 0) {
        d.count = 0;
        return;
    }
    const bool up = d.digits[count] >= '5';
    d.count = count;
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.digits[i] == '9') {
            --d.count;
            --i;
        }
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits[0] = '1';
            d.count = 1;
            ++d.exponent;
        }
    }
    d.dropTrailingZeros();
}

char digitAt(const Decimal& d, int index)
{
    if (index < 0 || index >= d.count)
        return '0';
    return d.digits[index];
}

// Texts are built here and become a string once.
class Text {
public:
    void put(char c)
    {
        if (m_size < sizeof m_buffer - 1)
            m_buffer[1 + m_size++] = c;
        else
            m_spill += c;
    }
    void put(std::string_view s)
    {
        for (const char c : s)
            put(c);
    }
    // The text, signed or not, in one copy: a pass formats a number per row.
    void takeInto(bool negative, std::string& out)
    {
        m_buffer[0] = '-';
        const std::size_t start = negative ? 0 : 1;
        out.assign(m_buffer + start, m_size + 1 - start);
        if (!m_spill.empty())
            out += m_spill;
    }
    std::string take(bool negative)
    {
        std::string out;
        takeInto(negative, out);
        return out;
    }

private:
    // The first byte is kept for the sign.
    char m_buffer[48];
    std::size_t m_size = 0;
    std::string m_spill; // a value of hundreds of digits, written in full
};

void scientific(Text& text, const Decimal& d, char separator)
{
    text.put(d.digits[0]);
    if (d.count > 1) {
        text.put(separator);
        text.put(std::string_view(d.digits + 1, static_cast<std::size_t>(d.count - 1)));
    }
    text.put('E');
    const int exponent = d.exponent - 1;
    if (exponent < 0)
        text.put('-');
    char buffer[8];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::abs(exponent));
    text.put(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

void fixed(Text& text, const Decimal& d, int decimals, char separator)
{
    if (d.exponent <= 0)
        text.put('0');
    for (int i = 0; i < d.exponent; ++i)
        text.put(digitAt(d, i));
    if (decimals > 0) {
        text.put(separator);
        for (int i = 0; i < decimals; ++i)
            text.put(digitAt(d, d.exponent + i));
    }
}

constexpr double kPowersOfTen[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7};

// The value rounded half away from zero to `places` decimals, as an integer count of them,
// straight from the binary value: exact wherever it is not within a hair of a tie, which only
// the decimal digits can settle. Nothing then, and for values too large to be sure of.
std::optional<std::uint64_t> roundedAt(double magnitude, int places)
{
    if (places < 0 || places > 6)
        return std::nullopt;
    const double scaled = magnitude * kPowersOfTen[places];
    if (!(scaled < 1e7))
        return std::nullopt;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < 1e-6)
        return std::nullopt;
    return static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
}

// `units` / 10^places in fixed notation, into text.
void putScaled(Text& text, std::uint64_t units, int places, char separator)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, units).ptr;
    std::string_view all(digits, static_cast<std::size_t>(end - digits));
    const auto count = static_cast<int>(all.size());
    if (count <= places) {
        text.put('0');
    } else {
        text.put(all.substr(0, static_cast<std::size_t>(count - places)));
    }
    if (places > 0) {
        text.put(separator);
        for (int i = count - places; i < count; ++i)
            text.put(i < 0 ? '0' : all[static_cast<std::size_t>(i)]);
    }
}

// A quick text's digits: `units` / 10^places.
struct Scaled {
    std::uint64_t units = 0;
    int places = 0;
};

// The formats as the passes use them, for the values a table holds, without the digit-by-digit
// path: a pass formats a number per row. Nothing where the fast path cannot be sure.
bool formatQuickly(double value, FloatFormat format, int precision, int digits, char separator,
                   std::string& out, Scaled* scaled)
{
    const double magnitude = std::fabs(value);
    Text body;
    std::optional<std::uint64_t> units;
    int places = 0;
    if (format == FloatFormat::Fixed) {
        // Only where the precision takes no decimal away.
        if (precision - digits < 0 || precision - digits > 7 ||
            !(magnitude < kPowersOfTen[precision - digits]))
            return false;
        units = roundedAt(magnitude, digits);
        if (!units)
            return false;
        places = digits;
        putScaled(body, *units, digits, separator);
    } else {
        // General: `precision` significant digits, between 1 and the first exponent.
        if (!(magnitude >= 1) || precision > 7 || !(magnitude < kPowersOfTen[precision]))
            return false;
        int integerDigits = 1;
        while (magnitude >= kPowersOfTen[integerDigits])
            ++integerDigits;
        places = precision - integerDigits;
        units = roundedAt(magnitude, places);
        // Rounding up to the next power of ten moves the digits: the careful path decides.
        if (!units || *units >= static_cast<std::uint64_t>(kPowersOfTen[precision]))
            return false;
        while (places > 0 && *units % 10 == 0) {
            *units /= 10;
            --places;
        }
        putScaled(body, *units, places, separator);
    }
    body.takeInto(value < 0 && *units > 0, out);
    if (scaled)
        *scaled = Scaled{*units, places};
    return true;
}

// formatFloat; where the quick path wrote the text, its digits in `scaled`.
std::string formatScaled(double value, FloatFormat format, int precision, int digits,
                         std::optional<Scaled>* scaled)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";

    precision = std::clamp(precision, 1, kMaxDigits);
    digits = std::clamp(digits, 0, kMaxDecimals);
    const char separator = decimalSeparator();
    std::string quick;
    Scaled quickDigits;
    if (formatQuickly(value, format, precision, digits, separator, quick, &quickDigits)) {
        if (scaled)
            *scaled = quickDigits;
        return quick;
    }

    Decimal d = toDecimal(std::fabs(value));
    Text body;
    if (format == FloatFormat::Fixed) {
        if (d.count > 0)
            roundTo(d, std::min(precision, d.exponent + digits));
        if (d.count > 0 && d.exponent > precision)
            scientific(body, d, separator);
        else
            fixed(body, d, digits, separator);
    } else {
        roundTo(d, precision);
        if (d.count == 0)
            body.put('0');
        // Rounded already, so 0.0000099999 at three digits counts as 0.00001.
        else if (d.exponent > precision || d.exponent < -4)
            scientific(body, d, separator);
        else
            fixed(body, d, std::max(0, d.count - d.exponent), separator);
    }

    // Whatever rounds to zero is written unsigned, negative zero included.
    return body.take(value < 0 && d.count > 0);
}

// formatFloat, and with `shown` the number the text reads as (parseFloat's result, NaN where it
// has none): a quick text's digits give it in the one division parseFloat would do.
std::string formatShown(double v, FloatFormat format, int precision, int digits, double* shown)
{
    if (!shown)
        return formatFloat(v, format, precision, digits);
    std::optional<Scaled> scaled;
    std::string text = formatScaled(v, format, precision, digits, &scaled);
    if (scaled) {
        const double magnitude = static_cast<double>(scaled->units) / kPowersOfTen[scaled->places];
        *shown = text.front() == '-' ? -magnitude : magnitude;
    } else {
        *shown = parseFloat(text).value_or(std::numeric_limits<double>::quiet_NaN());
    }
    return text;
}

std::string energyText(double v, double* shown)
{
    std::string text = formatShown(v, FloatFormat::General, 3, 0, shown);
    // Three digits round to 999 at most below this.
    if (std::fabs(v) < 999)
        return text;
    // Three significant digits, but no exponent for a rifle's energy: "1,5E3" is unreadable in
    // a table of them, and the labels computed from such texts would be joules off.
    // Past fifteen digits no whole number is trustworthy: the exponent stays.
    if (std::fabs(v) >= 1 && std::fabs(v) < 1e15 && text.find('E') != std::string::npos)
        return formatShown(v, FloatFormat::Fixed, kMaxDigits, 0, shown);
    return text;
}

} // namespace

std::string formatFloat(double value, FloatFormat format, int precision, int digits)
{
    return formatScaled(value, format, precision, digits, nullptr);
}

std::string formatInteger(double v)
{
    return formatFloat(v, FloatFormat::Fixed, 4, 0);
}

std::string formatTwoDecimal(double v)
{
    return formatFloat(v, FloatFormat::Fixed, 5, 2);
}

std::string formatTwoDecimal(double v, double& shown)
{
    return formatShown(v, FloatFormat::Fixed, 5, 2, &shown);
}

std::string formatEnergy(double v)
{
    return energyText(v, nullptr);
}

std::string formatEnergy(double v, double& shown)
{
    return energyText(v, &shown);
}

} // namespace rt
