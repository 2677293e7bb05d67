#pragma once

#include <cstddef>

namespace table {

// The measurement table's columns, left to right: the six a measurement file keeps, then the
// shot details kept beside them (a session file holds them; the grid shows the first three on
// request).
enum Column : std::size_t {
    ColN = 0,
    ColV = 1,
    ColE = 2,
    ColM = 3,
    ColBullet = 4,
    ColDV = 5,
    // ISO 8601: "2024-05-11T09:41:02", with the UTC offset where the source gives one.
    ColTime = 6,
    // The shot's flags, in the order of kShotFlags, joined by ", ".
    ColFlags = 7,
    ColNote = 8,
    // "1" for a shot left out of the statistics, else empty.
    ColExcluded = 9,
    // The velocity as the source recorded it, where that was not m/s: "3007.98 ft/s".
    ColRecorded = 10,
};
// The columns of a measurement file's record.
inline constexpr std::size_t kColumnCount = 6;
// The columns the grid keeps, and those it can show.
inline constexpr std::size_t kGridColumnCount = 11;
inline constexpr std::size_t kShownDetailColumnCount = 9;

// The text of ColExcluded for a shot left out of the statistics.
inline constexpr char kExcludedMark[] = "1";

} // namespace table
