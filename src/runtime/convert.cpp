#include "runtime/convert.h"

#include "runtime/asciitext.h"
#include "runtime/errors.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

namespace rt {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

[[noreturn]] void invalidFloat(std::string_view text)
{
    throw ConvertError(quoted(text) + " is not a valid floating point value");
}

} // namespace

void raiseInvalidInteger(std::string_view text)
{
    throw ConvertError(quoted(text) + " is not a valid integer value");
}

std::optional<int> parseInt(std::string_view text)
{
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size())
        return std::nullopt;

    // One past INT_MAX is still fine while accumulating: it is INT_MIN's magnitude.
    const std::int64_t limit = std::int64_t{std::numeric_limits<int>::max()} + (negative ? 1 : 0);
    std::int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        if (!isAsciiDigit(text[pos]))
            return std::nullopt;
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int strToInt(std::string_view text)
{
    const std::optional<int> value = parseInt(text);
    if (!value)
        raiseInvalidInteger(text);
    return *value;
}

namespace {

// The short, plain decimals cells hold ("5,4", "-0,35", "0,547"): at most fifteen digits and
// no exponent, so the digits and the power of ten are exact doubles and one division rounds
// as from_chars does, at a fraction of its cost. Whether the text has that form is known
// before the division, so that nothing waits on it to decide.
struct ShortDecimal {
    std::uint64_t mantissa = 0;
    int decimals = 0;
    bool negative = false;
    bool matched = false;

    double value() const
    {
        static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        const double v = static_cast<double>(mantissa) / kPowers[decimals];
        return negative ? -v : v;
    }
};

ShortDecimal scanShortDecimal(std::string_view text)
{
    ShortDecimal d;
    std::size_t pos = 0;
    d.negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        ++pos;
    int digits = 0;
    int decimals = -1;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (isAsciiDigit(c)) {
            if (++digits > 15)
                return d;
            d.mantissa = d.mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            decimals += decimals >= 0 ? 1 : 0;
        } else if ((c == ',' || c == '.') && decimals < 0) {
            decimals = 0;
        } else {
            return d;
        }
    }
    d.decimals = std::max(decimals, 0);
    d.matched = digits > 0;
    return d;
}

} // namespace

std::optional<double> parseFloat(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    if (const ShortDecimal quick = scanShortDecimal(text.substr(begin, end - begin)); quick.matched)
        return quick.value();

    // Checked here by hand so that from_chars only ever sees the plain form it and we agree
    // on: no "inf", "nan", hex, or a '+' it would refuse.
    std::string plain;
    plain.reserve(end - begin);
    std::size_t pos = begin;
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
        if (text[pos] == '-')
            plain += '-';
        ++pos;
    }
    bool mantissaDigit = false;
    bool separatorSeen = false;
    for (; pos < end; ++pos) {
        const char c = text[pos];
        if (isAsciiDigit(c)) {
            mantissaDigit = true;
            plain += c;
        } else if ((c == ',' || c == '.') && !separatorSeen) {
            separatorSeen = true;
            plain += '.';
        } else {
            break;
        }
    }
    if (!mantissaDigit)
        return std::nullopt;

    if (pos < end && (text[pos] == 'e' || text[pos] == 'E')) {
        plain += 'e';
        ++pos;
        if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
            if (text[pos] == '-')
                plain += '-';
            ++pos;
        }
        bool exponentDigit = false;
        for (; pos < end && isAsciiDigit(text[pos]); ++pos) {
            exponentDigit = true;
            plain += text[pos];
        }
        if (!exponentDigit)
            return std::nullopt;
    }
    if (pos != end)
        return std::nullopt;

    double value = 0.0;
    const char* first = plain.data();
    const char* last = first + plain.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    // Both overflow and a non-zero text that underflows to zero come back as out of range.
    if (ec != std::errc{} || ptr != last)
        return std::nullopt;
    return value;
}

double strToFloat(std::string_view text)
{
    const std::optional<double> value = parseFloat(text);
    if (!value)
        invalidFloat(text);
    return *value;
}

} // namespace rt
