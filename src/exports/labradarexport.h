#pragma once

#include "table/stringgrid.h"
#include "table/units.h"

#include <functional>
#include <string>
#include <string_view>

// The table as a LabRadar series report, so programs made for that radar's files can read
// our shots: a "sep=;" line, the device and series block, the units (fps or m/s as shown,
// energies in ft-lbs or j, weights always in grains), the series' statistics and one line
// per shot with its muzzle velocity, energy, weight, date and time. Numbers
// carry a decimal point whatever the locale, as the radar writes them; lines end in CR LF.
namespace exports {

// When the report was made: "2024-05-11" and "09:41:02".
struct ExportMoment {
    std::string date;
    std::string time;
};

// A shot's ISO 8601 time as the user reads it in local time: "2024-05-11 09:41:02"
// (ui::localTimeText). The radar writes its own clock's time, so a time kept in UTC must not
// be written as it is.
using LocalTimeText = std::function<std::string(std::string_view iso)>;

// Rows whose velocity does not convert are left out; they are no shot to the radar's
// readers. The shot's ID is its N. Each shot is dated by its own time (ColTime) through
// localTime, or taken as it is without one; a time without a date gets the moment's date,
// and a shot without a time the moment of the export. The statistics leave out the shots
// excluded from them; the shots stay listed.
std::string labRadarReport(const table::StringGrid& grid, table::Units units,
                           const ExportMoment& moment, const LocalTimeText& localTime = {});

} // namespace exports
