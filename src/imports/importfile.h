#pragma once

#include "runtime/errors.h"
#include "table/stringdetails.h"
#include "table/stringgrid.h"

#include <cstddef>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

// Series from the files today's chronographs export: LabRadar series reports, Garmin Xero
// (ShotView) CSV, MagnetoSpeed LOG.CSV and plain lists of velocities. A file is read whole
// into plain values first; only then does one chosen series become table rows, so a refused
// file never touches the table.
namespace imports {

enum class Format { LabRadar, GarminXero, MagnetoSpeed, PlainList, VexorelTable, GarminFit };
enum class VelocityUnit { MetresPerSecond, FeetPerSecond, Unknown };

// For messages and the window's choice of series.
std::string_view formatName(Format format);

// The most shots a file may hold in all its series, and the most series: the table holds no
// more rows, and a file of millions of tiny lines must not fill the memory.
inline constexpr std::size_t kMaxImportShots = 65'535;

// A shot as the file gives it.
struct ImportedShot {
    // As recorded: the file's digits, '.' before the decimals, no thousands separator.
    std::string velocity;
    // Where the file gives it, for a refusal that can only come once the unit is known.
    std::size_t line = 0;
    // Its details where the file has them, as the table's detail columns hold them: an ISO
    // 8601 time, the flags of table::kShotFlags joined by ", ", a note.
    std::string time;
    std::string flags;
    std::string note;
    // Left out of the statistics: the program's own CSV says so.
    bool excluded = false;
};

// One series as the file gives it.
struct ImportedSeries {
    // The Garmin string's title, "Series 12" for MagnetoSpeed; empty: the file name stands in.
    std::string name;
    // Each within the velocity range in `unit` (in either unit while it is Unknown).
    std::vector<ImportedShot> shots;
    // Unknown where the file does not say: a plain list without a unit, a MagnetoSpeed series
    // without shots.
    VelocityUnit unit = VelocityUnit::Unknown;
    // The projectile weight, when the file gives one for the whole series.
    std::optional<double> weightGrams;
    // What the file tells of the string: its title, date, note.
    table::StringDetails details;
};

struct ImportedFile {
    Format format = Format::PlainList;
    // One for every format but MagnetoSpeed; a series may have no shots.
    std::vector<ImportedSeries> series;
};

// A file that cannot be imported, and the line that tells, counted from 1 as the lines are
// split (CR, LF or CR LF).
class ImportRefused : public rt::Exception {
public:
    ImportRefused(std::string path, std::size_t line, const std::string& message);
    const std::string& path() const { return m_path; }
    std::size_t line() const { return m_line; }

private:
    std::string m_path;
    std::size_t m_line;
};

// A file in none of the formats; the text names those that are.
class UnknownFormat : public ImportRefused {
public:
    UnknownFormat(std::string path, std::size_t line);
};

// A LabRadar track file: one shot's radar track, which shooters pick by mistake for the
// series report beside it.
class LabRadarTrackFile : public ImportRefused {
public:
    LabRadarTrackFile(std::string path, std::size_t line);
};

// An import stopped by its stop token: not a refusal, nothing to tell the user.
class ImportCancelled : public rt::Exception {
public:
    ImportCancelled();
};

// Recognises the format by the content, never by the name, and reads every series. Throws
// ImportRefused (or one of its kinds) for anything but a file of a known format, and the
// runtime's errors for a file that cannot be opened or read or is not a regular file.
// Meant to run off the window's thread: it touches nothing shared, and once `stop` is
// requested it throws ImportCancelled within a line (a FIT file is read whole, at most
// kMaxFitFileBytes).
ImportedFile readImportFile(const std::string& path, std::stop_token stop = {});

// Replaces the table's data rows by the series, one row per shot: N from 1; V the exact m/s
// text of the recorded velocity (table::storedMetresPerSecond); m the file's weight in grams
// with three decimals and a comma, as the weight field writes it, else `weightField`; Bullet
// the series' name, else `fileStem`, cut to the table's 128 characters; E by the table's
// energy rule; the shot's details in their columns. dV is left for the deviation pass. A
// series without shots leaves the empty table.
// `chosenForUnknown` is the unit the user picked for a series whose file does not say
// (Unknown there counts as m/s).
void putSeries(table::StringGrid& grid, const ImportedSeries& series, VelocityUnit chosenForUnknown,
               std::string_view weightField, std::string_view fileStem);

} // namespace imports
