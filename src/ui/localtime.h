#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ui {

// An ISO 8601 date and time as the user reads it, in local time: "2024-06-18T15:47:11Z" shows
// as "2024-06-18 17:47:11" in Berlin. A time without a date, or a text that is none, shows as
// it is.
std::string localTimeText(std::string_view iso);

// What the user typed in that form ("2024-05-11 09:41", "2024-05-11"), as the ISO 8601 text
// the table keeps, in local time without an offset; empty for an empty text, nothing for a
// text that is no date.
std::optional<std::string> isoFromLocalText(std::string_view typed);

} // namespace ui
