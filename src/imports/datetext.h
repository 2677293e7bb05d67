#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Dates and times as the exports write them, made ISO 8601 for the string's and the shots'
// details: "2024-05-11", "09:41:02", "2024-05-11T09:41:02".
namespace imports {

// "2024-05-11", "05-11-2024" (month first, as LabRadar's SD card writes it) or
// "May 11, 2024"; nothing for anything else or a day that does not exist.
std::optional<std::string> isoDate(std::string_view text);

// "09:41:02", "9:41:02 AM", "9:40 PM" (a narrow no-break space before AM/PM too).
std::optional<std::string> isoTime(std::string_view text);

// The date and the time joined, or whichever of them there is.
std::string isoDateTime(const std::optional<std::string>& date,
                        const std::optional<std::string>& time);

// Seconds since 1970 in UTC, with its offset: "2024-06-18T15:47:11Z".
std::string isoFromUnixTime(std::int64_t seconds);

} // namespace imports
