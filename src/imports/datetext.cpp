#include "imports/datetext.h"

#include "runtime/asciitext.h"

#include <array>
#include <chrono>
#include <cstdio>

namespace imports {

namespace {

std::optional<int> number(std::string_view text, std::size_t minDigits, std::size_t maxDigits)
{
    if (text.size() < minDigits || text.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (!rt::isAsciiDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<std::string> date(int year, int month, int day)
{
    using namespace std::chrono;
    const year_month_day ymd{std::chrono::year(year),
                             std::chrono::month(static_cast<unsigned>(month)),
                             std::chrono::day(static_cast<unsigned>(day))};
    if (!ymd.ok())
        return std::nullopt;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
    return std::string(buffer);
}

std::string_view trimmedSpaces(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<std::string> isoDate(std::string_view text)
{
    text = trimmedSpaces(text);
    if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        const auto y = number(text.substr(0, 4), 4, 4), m = number(text.substr(5, 2), 2, 2),
                   d = number(text.substr(8, 2), 2, 2);
        if (y && m && d)
            return date(*y, *m, *d);
    }
    if (text.size() == 10 && text[2] == '-' && text[5] == '-') {
        const auto m = number(text.substr(0, 2), 2, 2), d = number(text.substr(3, 2), 2, 2),
                   y = number(text.substr(6, 4), 4, 4);
        if (y && m && d)
            return date(*y, *m, *d);
    }
    // "May 11, 2024"
    static constexpr std::array<std::string_view, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::size_t space = text.find(' ');
    const std::size_t comma = text.find(',');
    if (space == std::string_view::npos || comma == std::string_view::npos || comma < space)
        return std::nullopt;
    const std::string_view monthName = text.substr(0, space);
    for (std::size_t m = 0; m < kMonths.size(); ++m) {
        if (monthName.size() < 3 || !rt::sameText(monthName.substr(0, 3), kMonths[m]))
            continue;
        const auto d = number(trimmedSpaces(text.substr(space + 1, comma - space - 1)), 1, 2);
        const auto y = number(trimmedSpaces(text.substr(comma + 1)), 4, 4);
        if (d && y)
            return date(*y, static_cast<int>(m) + 1, *d);
    }
    return std::nullopt;
}

std::optional<std::string> isoTime(std::string_view text)
{
    text = trimmedSpaces(text);
    // AM or PM after a space or a narrow no-break space (U+202F).
    std::optional<bool> afternoon;
    for (const std::string_view space : {std::string_view(" "), std::string_view("\xE2\x80\xAF")}) {
        for (const bool pm : {false, true}) {
            const std::string suffix = std::string(space) + (pm ? "PM" : "AM");
            if (text.size() > suffix.size() && rt::endsWithText(text, suffix)) {
                afternoon = pm;
                text.remove_suffix(suffix.size());
            }
        }
    }
    const std::size_t first = text.find(':');
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::size_t second = text.find(':', first + 1);
    auto h = number(text.substr(0, first), 1, 2);
    const auto m =
        number(text.substr(first + 1, second == std::string_view::npos ? std::string_view::npos
                                                                       : second - first - 1),
               2, 2);
    const auto s = second == std::string_view::npos ? std::optional<int>(0)
                                                    : number(text.substr(second + 1), 2, 2);
    if (!h || !m || !s || *m > 59 || *s > 59)
        return std::nullopt;
    if (afternoon) {
        if (*h < 1 || *h > 12)
            return std::nullopt;
        *h = *h % 12 + (*afternoon ? 12 : 0);
    }
    if (*h > 23)
        return std::nullopt;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", *h, *m, *s);
    return std::string(buffer);
}

std::string isoDateTime(const std::optional<std::string>& date,
                        const std::optional<std::string>& time)
{
    if (date && time)
        return *date + 'T' + *time;
    return date ? *date : time.value_or(std::string());
}

std::string isoFromUnixTime(std::int64_t seconds)
{
    using namespace std::chrono;
    const sys_seconds moment{std::chrono::seconds(seconds)};
    const sys_days day = floor<days>(moment);
    const year_month_day ymd(day);
    const hh_mm_ss<std::chrono::seconds> time(moment - day);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02uT%02d:%02d:%02dZ", int(ymd.year()),
                  unsigned(ymd.month()), unsigned(ymd.day()), int(time.hours().count()),
                  int(time.minutes().count()), int(time.seconds().count()));
    return buffer;
}

} // namespace imports
