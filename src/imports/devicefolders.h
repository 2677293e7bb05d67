#pragma once

#include <cstddef>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

// The chronographs' own storage, as a card reader or a USB cable shows it: a LabRadar's SD
// card holds LBR/ with a folder SRnnnn for each series (its report "SRnnnn Report.csv" and a
// TRK/ folder of radar tracks); a Garmin Xero C1 holds Garmin/Shot_Sessions/ with one FIT
// file a session. Listing reads every string's file once, for its date, count and mean.
namespace imports {

enum class Device { LabRadar, XeroC1 };

// "LabRadar", "Xero C1".
std::string_view deviceName(Device device);

// A folder of one device's strings: LBR or Shot_Sessions.
struct DeviceFolder {
    Device device;
    std::string path;

    friend bool operator==(const DeviceFolder&, const DeviceFolder&) = default;
};

// The device folders in `folder`: the folder itself when it is one (named LBR or
// Shot_Sessions, or holding SRnnnn folders as a copy of LBR does), else LBR, Shot_Sessions
// and Garmin/Shot_Sessions inside it, names in any letter case, as FAT cards keep them. A
// folder that cannot be read holds none.
std::vector<DeviceFolder> findDeviceFolders(const std::string& folder);

// One string of a device folder.
struct DeviceString {
    // The file to import: a series report or a FIT file.
    std::string path;
    // "Series 7" from LabRadar's folder SR0007; the FIT file's name without ".fit".
    std::string name;
    // ISO 8601 as the file gives it: a LabRadar's local time, a Xero's UTC; empty when the
    // file tells none (a series without shots).
    std::string dateTime;
    std::size_t shots = 0;
    // Of the shots as recorded, in m/s; none without shots.
    std::optional<double> meanMetresPerSecond;
    // Why the string cannot be imported, as the import would refuse it, or that its folder
    // lacks the report; empty for one that can. Such strings are listed so the user learns
    // why one is missing.
    std::string refusal;
};

struct DeviceListing {
    DeviceFolder folder;
    // Newest first; those without a date after them, higher numbers first; refused ones last.
    std::vector<DeviceString> strings;
};

// Lists a device folder; other folders and files in it (track folders, notes) are passed
// over. Throws ImportCancelled once `stop` is requested, between strings or within a file.
DeviceListing listDeviceFolder(const DeviceFolder& folder, std::stop_token stop = {});

// "LabRadar, 7 series", "Xero C1, 1 session": the device and what it holds to import.
std::string deviceSummary(const DeviceListing& listing);

} // namespace imports
