#pragma once

#include "table/stringgrid.h"
#include "table/units.h"

#include <string>

// The table as a LabRadar series report, so programs made for that radar's files can read
// our shots: a "sep=;" line, the device and series block, the units (fps or m/s as shown,
// energies in ft-lbs or j, weights always in grains), the series' statistics and one line
// per shot with its muzzle velocity, energy, weight and the moment of the export. Numbers
// carry a decimal point whatever the locale, as the radar writes them; lines end in CR LF.
namespace exports {

// When the report was made: "2024-05-11" and "09:41:02".
struct ExportMoment {
    std::string date;
    std::string time;
};

// Rows whose velocity does not convert are left out; they are no shot to the radar's
// readers. The shot's ID is its N.
std::string labRadarReport(const table::StringGrid& grid, table::Units units,
                           const ExportMoment& moment);

} // namespace exports
