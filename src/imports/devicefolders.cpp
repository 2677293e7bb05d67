#include "imports/devicefolders.h"

#include "imports/importfile.h"
#include "runtime/asciitext.h"
#include "runtime/convert.h"
#include "table/units.h"

#include <algorithm>
#include <filesystem>
#include <tuple>

namespace imports {

namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string name;
    fs::path path;
    bool folder = false;
};

// A folder's entries; none for one that cannot be read. Links are followed, as a file
// manager shows them.
std::vector<Entry> entriesOf(const fs::path& folder)
{
    std::vector<Entry> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        entries.push_back({it->path().filename().string(), it->path(),
                           it->is_directory(typeError) && !typeError});
    }
    return entries;
}

std::optional<fs::path> childFolder(const std::vector<Entry>& entries, std::string_view name)
{
    for (const Entry& entry : entries) {
        if (entry.folder && rt::sameText(entry.name, name))
            return entry.path;
    }
    return std::nullopt;
}

// "SR0007" -> "0007"; nothing for any other name.
std::optional<std::string_view> seriesDigits(std::string_view name)
{
    if (name.size() < 3 || !rt::sameText(name.substr(0, 2), "SR"))
        return std::nullopt;
    const std::string_view digits = name.substr(2);
    if (!std::all_of(digits.begin(), digits.end(), rt::isAsciiDigit))
        return std::nullopt;
    return digits;
}

bool holdsSeriesFolders(const std::vector<Entry>& entries)
{
    return std::any_of(entries.begin(), entries.end(),
                       [](const Entry& e) { return e.folder && seriesDigits(e.name); });
}

std::string seriesName(std::string_view digits)
{
    const std::size_t first = digits.find_first_not_of('0');
    return "Series " + std::string(first == std::string_view::npos ? "0" : digits.substr(first));
}

// Reads the string's file as the import will, for what the list shows.
void readString(DeviceString& string, std::stop_token stop)
{
    try {
        const ImportedFile file = readImportFile(string.path, stop);
        if (file.series.empty())
            return;
        const ImportedSeries& series = file.series.front();
        string.dateTime = series.details.dateTime;
        string.shots = series.shots.size();
        double sum = 0;
        for (const ImportedShot& shot : series.shots)
            sum += rt::parseFloat(shot.velocity).value_or(0);
        if (string.shots > 0) {
            const double mean = sum / static_cast<double>(string.shots);
            string.meanMetresPerSecond =
                series.unit == VelocityUnit::FeetPerSecond ? table::metresPerSecond(mean) : mean;
        }
    } catch (const ImportCancelled&) {
        throw;
    } catch (const rt::Exception& refusal) {
        string.refusal = refusal.what();
    }
}

std::vector<DeviceString> labRadarStrings(const fs::path& folder, const std::stop_token& stop)
{
    std::vector<DeviceString> strings;
    for (const Entry& entry : entriesOf(folder)) {
        const std::optional<std::string_view> digits = seriesDigits(entry.name);
        if (!entry.folder || !digits)
            continue;
        if (stop.stop_requested())
            throw ImportCancelled();
        DeviceString string;
        string.name = seriesName(*digits);
        const std::string report = entry.name + " Report.csv";
        for (const Entry& file : entriesOf(entry.path)) {
            if (!file.folder && rt::sameText(file.name, report))
                string.path = file.path.string();
        }
        if (string.path.empty()) {
            string.path = (entry.path / report).string();
            string.refusal = "'" + entry.path.string() + "' holds no '" + report + "'";
        } else {
            readString(string, stop);
        }
        strings.push_back(std::move(string));
    }
    return strings;
}

std::vector<DeviceString> xeroStrings(const fs::path& folder, const std::stop_token& stop)
{
    std::vector<DeviceString> strings;
    for (const Entry& entry : entriesOf(folder)) {
        const fs::path& path = entry.path;
        if (entry.folder || !rt::sameText(path.extension().string(), ".fit"))
            continue;
        if (stop.stop_requested())
            throw ImportCancelled();
        DeviceString string;
        string.path = path.string();
        string.name = path.stem().string();
        readString(string, stop);
        strings.push_back(std::move(string));
    }
    return strings;
}

// Series numbers as numbers: SR10000 is newer than SR9999.
auto orderKey(const DeviceString& s)
{
    const std::size_t digits = s.name.find_last_not_of("0123456789") + 1;
    return std::make_tuple(s.refusal.empty(), !s.dateTime.empty(), s.dateTime,
                           s.name.size() - digits, s.name);
}

} // namespace

std::string_view deviceName(Device device)
{
    return device == Device::LabRadar ? "LabRadar" : "Xero C1";
}

std::vector<DeviceFolder> findDeviceFolders(const std::string& folder)
{
    const fs::path root(folder);
    const std::vector<Entry> entries = entriesOf(root);
    // "/media/card/" has the file name "".
    const std::string own = (root.has_filename() ? root : root.parent_path()).filename().string();
    std::vector<DeviceFolder> found;
    if (rt::sameText(own, "Shot_Sessions")) {
        found.push_back({Device::XeroC1, folder});
        return found;
    }
    if (rt::sameText(own, "LBR") || holdsSeriesFolders(entries)) {
        found.push_back({Device::LabRadar, folder});
        return found;
    }
    if (const std::optional<fs::path> lbr = childFolder(entries, "LBR"))
        found.push_back({Device::LabRadar, lbr->string()});
    if (const std::optional<fs::path> sessions = childFolder(entries, "Shot_Sessions"))
        found.push_back({Device::XeroC1, sessions->string()});
    else if (const std::optional<fs::path> garmin = childFolder(entries, "Garmin")) {
        if (const std::optional<fs::path> inGarmin =
                childFolder(entriesOf(*garmin), "Shot_Sessions"))
            found.push_back({Device::XeroC1, inGarmin->string()});
    }
    return found;
}

DeviceListing listDeviceFolder(const DeviceFolder& folder, std::stop_token stop)
{
    DeviceListing listing{folder, folder.device == Device::LabRadar
                                      ? labRadarStrings(folder.path, stop)
                                      : xeroStrings(folder.path, stop)};
    std::sort(
        listing.strings.begin(), listing.strings.end(),
        [](const DeviceString& a, const DeviceString& b) { return orderKey(a) > orderKey(b); });
    return listing;
}

std::string deviceSummary(const DeviceListing& listing)
{
    const std::size_t count = listing.strings.size();
    std::string summary =
        std::string(deviceName(listing.folder.device)) + ", " + std::to_string(count) + " ";
    if (listing.folder.device == Device::LabRadar)
        summary += "series";
    else
        summary += count == 1 ? "session" : "sessions";
    const auto refused = std::count_if(listing.strings.begin(), listing.strings.end(),
                                       [](const DeviceString& s) { return !s.refusal.empty(); });
    if (refused > 0)
        summary += ", " + std::to_string(refused) + " of them unreadable";
    return summary;
}

} // namespace imports
