#pragma once

#include "support/tempdir.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What a LabRadar's SD card and a Garmin Xero's drive hold, written into a folder for tests
// and benchmarks.

struct SdShot {
    const char* velocity;
    const char* date; // month-day-year, as the SD card writes it
    const char* time;
};

// A series report in the SD card's flavour: NULs and spaces after header lines, a NUL that
// starts one, whole velocities, 168 gr bullets, CR LF.
std::string labRadarSdReport(int number, const char* velocityUnit,
                             const std::vector<SdShot>& shots);

// Writes the file, making the folders it lies in.
void putFile(const TempDir& dir, const std::string& name, std::string_view bytes);

// A card under `root` with LBR/: SR0002 (2 shots in m/s, 805 and 812, on 2024-05-11) newer
// than SR0001 (3 shots in ft/s, 2804, 2780, 2820, on 2024-05-10, with a TRK folder), SR0007
// emptied on the device, SR0004 without its report, SR0010 holding no report under the
// report's name; a TRK folder and a note beside them. Numbers 3, 5, 6, 8 and 9 are gone.
void writeLabRadarCard(const TempDir& dir, const std::string& root);

// A Xero's drive under `root` with Garmin/Shot_Sessions/: 06-13-2024_01-26-40.FIT (5 shots)
// newer than 06-11-2024_00-26-40.fit (3 shots, at kXeroSessionTime), a watch's activity.fit
// and a note; a watch's run in Garmin/Activities.
void writeXeroDrive(const TempDir& dir, const std::string& root);

// The mean in m/s of a xeroSessionFile's shots.
double xeroMean(std::size_t shots);
