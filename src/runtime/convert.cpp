#include "runtime/convert.h"

#include "runtime/asciitext.h"
#include "runtime/errors.h"

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

int strToInt(std::string_view text)
{
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos == text.size())
        raiseInvalidInteger(text);

    // One past INT_MAX is still fine while accumulating: it is INT_MIN's magnitude.
    const std::int64_t limit = std::int64_t{std::numeric_limits<int>::max()} + (negative ? 1 : 0);
    std::int64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        if (!isAsciiDigit(text[pos]))
            raiseInvalidInteger(text);
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > limit)
            raiseInvalidInteger(text);
    }
    return static_cast<int>(negative ? -magnitude : magnitude);
}

double strToFloat(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;

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
        invalidFloat(text);

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
            invalidFloat(text);
    }
    if (pos != end)
        invalidFloat(text);

    double value = 0.0;
    const char* first = plain.data();
    const char* last = first + plain.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    // Both overflow and a non-zero text that underflows to zero come back as out of range.
    if (ec != std::errc{} || ptr != last)
        invalidFloat(text);
    return value;
}

std::optional<double> tryStrToFloat(std::string_view text)
{
    try {
        return strToFloat(text);
    } catch (const ConvertError&) {
        return std::nullopt;
    }
}

} // namespace rt
