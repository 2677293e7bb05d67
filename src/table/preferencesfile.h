#pragma once

#include "table/units.h"

#include <cstddef>
#include <string>
#include <vector>

// The preferences file: what the user chose in the View and Chart menus, kept between runs as
// the INI text Qt's settings wrote before ([chart] fitAxes, [view] shotStatistics and units,
// and [view] confidence), so files of earlier versions load. Only our own code reads and writes it:
// a regular file of at most kMaxPreferencesBytes is read, and a save goes through rt::AtomicFile,
// so a file that is a link to a device or a FIFO is never opened, replaced or waited on.
namespace table {

// The confidence levels View › Confidence offers, in per cent.
inline constexpr int kConfidenceLevels[] = {90, 95, 99};
inline constexpr int kDefaultConfidence = 95;

struct Preferences {
    Units units = Units::Metric;
    bool shotStatisticsShown = true;
    bool fitAxes = false;
    // One of kConfidenceLevels.
    int confidence = kDefaultConfidence;
    bool operator==(const Preferences&) const = default;
};

// Far beyond three short lines; a larger file is damage and is not read at all.
inline constexpr std::size_t kMaxPreferencesBytes = 64 * 1024;

// Where the file is: $XDG_CONFIG_HOME/Vexorel/Vexorel.conf, else ~/.config/Vexorel/Vexorel.conf.
// The variables count only as absolute paths (a relative one is ignored, as the XDG rules say);
// with neither there is no file ("").
std::string preferencesPath(const char* xdgConfigHome, const char* home);

// The file's lines; none for a missing file, anything but a regular file, a file larger than
// kMaxPreferencesBytes or one that cannot be read.
std::vector<std::string> readPreferencesLines(const std::string& path);

// Defaults for anything missing or not understood, so a hand-edited file cannot stop the
// program. Keys and groups match by letter case, as they always did.
Preferences preferencesFrom(const std::vector<std::string>& lines);

// The text to save: the lines with our values set where they are, or added to their group;
// every other line (comments, other groups and keys) stays as it was. Without lines it is the
// text Qt's settings wrote: the confidence level joins it only once it is not the default.
std::string preferencesText(const Preferences& preferences, std::vector<std::string> lines);

Preferences readPreferences(const std::string& path);
// Keeps the file's other lines and makes the folder when missing. False when the save was
// refused or failed: the file is then as it was.
bool writePreferences(const std::string& path, const Preferences& preferences);

} // namespace table
