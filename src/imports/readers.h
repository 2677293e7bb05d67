#pragma once

#include "imports/importfile.h"
#include "imports/importlines.h"

#include <cstddef>
#include <optional>

// One reader per format. The tests only look ahead at the first lines; a reader takes the
// file from its first line and refuses it at the first line that breaks its format.
namespace imports {

// Line 1 is "sep=X".
bool startsLabRadarReport(ImportLines& lines);
// The line of a track file's header "Time (s);Vel (fps);Dist (yd);SNR": line 1, or line 2
// after "sep=X".
std::optional<std::size_t> labRadarTrackHeader(ImportLines& lines);
// Line 1 is "Series,<number>, Shots:, <count>".
bool startsMagnetoSpeedLog(ImportLines& lines);
// Line 2 is the column header whose first column is "#".
bool startsGarminXero(ImportLines& lines);
// Line 1 is the header of the program's own table CSV: "N;V (m/s);E (J);m (g);Bullet;dV (%)"
// in either units and separator.
bool startsVexorelTable(ImportLines& lines);

ImportedFile readLabRadar(ImportLines& lines);
ImportedFile readGarminXero(ImportLines& lines);
ImportedFile readMagnetoSpeed(ImportLines& lines);
ImportedFile readVexorelTable(ImportLines& lines);

// A Garmin FIT file, told by its header; read whole, it has no lines.
bool isFitFile(const std::string& path);
ImportedFile importFit(const std::string& path);
// What is left: one velocity a line, or a header naming the velocity column. A file without
// such a header is only a list if every line is a velocity, so its refusals are
// UnknownFormat.
ImportedFile readPlainList(ImportLines& lines);

} // namespace imports
