#include "table/preferencesfile.h"

#include "runtime/atomicfile.h"
#include "runtime/errors.h"
#include "runtime/textfile.h"

#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <utility>

namespace table {

namespace {

struct Entry {
    std::string_view group;
    std::string_view key;
};

constexpr Entry kFitAxes{"chart", "fitAxes"};
constexpr Entry kShotStatistics{"view", "shotStatistics"};
constexpr Entry kUnits{"view", "units"};
constexpr Entry kConfidence{"view", "confidence"};

std::string_view trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The group a "[group]" line opens.
std::optional<std::string_view> groupOf(std::string_view line)
{
    line = trimmed(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']')
        return std::nullopt;
    return line.substr(1, line.size() - 2);
}

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyValue> keyValueOf(std::string_view line)
{
    line = trimmed(line);
    const auto eq = line.find('=');
    if (line.empty() || line.front() == ';' || line.front() == '#' || eq == std::string_view::npos)
        return std::nullopt;
    std::string_view value = trimmed(line.substr(eq + 1));
    // Qt's settings put quotes around a value that needs them.
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return KeyValue{trimmed(line.substr(0, eq)), value};
}

// The line that gives the entry's value: the last one, as the last one counts.
std::optional<std::size_t> lineOf(const std::vector<std::string>& lines, const Entry& entry)
{
    std::optional<std::size_t> found;
    bool inGroup = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto group = groupOf(lines[i])) {
            inGroup = *group == entry.group;
        } else if (inGroup) {
            const auto kv = keyValueOf(lines[i]);
            if (kv && kv->key == entry.key)
                found = i;
        }
    }
    return found;
}

std::optional<std::string_view> valueOf(const std::vector<std::string>& lines, const Entry& entry)
{
    const auto at = lineOf(lines, entry);
    if (!at)
        return std::nullopt;
    return keyValueOf(lines[*at])->value;
}

bool flag(const std::vector<std::string>& lines, const Entry& entry, bool fallback)
{
    const auto value = valueOf(lines, entry);
    if (value == "true")
        return true;
    if (value == "false")
        return false;
    return fallback;
}

// After the last line with text in the group's last opening; a missing group goes at the end,
// after a blank line, as Qt's settings wrote groups.
void addToGroup(std::vector<std::string>& lines, std::string_view group, std::string line)
{
    std::optional<std::size_t> after;
    bool inGroup = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto g = groupOf(lines[i])) {
            inGroup = *g == group;
            if (inGroup)
                after = i;
        } else if (inGroup && !trimmed(lines[i]).empty()) {
            after = i;
        }
    }
    if (after) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*after + 1), std::move(line));
        return;
    }
    if (!lines.empty() && !trimmed(lines.back()).empty())
        lines.emplace_back();
    lines.push_back("[" + std::string(group) + "]");
    lines.push_back(std::move(line));
}

// The configuration folder and ours in it, as a first save finds them. A folder that cannot
// be made shows as the save's failure.
void makeFolders(const std::string& path)
{
    const std::string folder = path.substr(0, path.rfind('/'));
    const std::string configHome = folder.substr(0, folder.rfind('/'));
    for (const std::string& f : {configHome, folder})
        if (!f.empty())
            ::mkdir(f.c_str(), 0700);
}

} // namespace

std::string preferencesPath(const char* xdgConfigHome, const char* home)
{
    auto absolute = [](const char* p) { return p && p[0] == '/'; };
    std::string folder;
    if (absolute(xdgConfigHome))
        folder = xdgConfigHome;
    else if (absolute(home))
        folder = std::string(home) + "/.config";
    else
        return {};
    if (folder.back() != '/')
        folder += '/';
    return folder + "Vexorel/Vexorel.conf";
}

std::vector<std::string> readPreferencesLines(const std::string& path)
{
    std::vector<std::string> lines;
    try {
        rt::TextReader reader(path);
        if (reader.size() > kMaxPreferencesBytes)
            return {};
        std::size_t bytes = 0;
        while (!reader.eof()) {
            lines.push_back(reader.readLine());
            // A file that grows while it is read is no more read whole than a large one.
            bytes += lines.back().size() + 1;
            if (bytes > kMaxPreferencesBytes + 1)
                return {};
        }
    } catch (const rt::Exception&) {
        return {};
    }
    return lines;
}

Preferences preferencesFrom(const std::vector<std::string>& lines)
{
    Preferences p;
    if (valueOf(lines, kUnits) == "imperial")
        p.units = Units::Imperial;
    p.shotStatisticsShown = flag(lines, kShotStatistics, p.shotStatisticsShown);
    p.fitAxes = flag(lines, kFitAxes, p.fitAxes);
    for (const int level : kConfidenceLevels) {
        if (valueOf(lines, kConfidence) == std::to_string(level))
            p.confidence = level;
    }
    return p;
}

std::string preferencesText(const Preferences& preferences, std::vector<std::string> lines)
{
    const auto set = [&lines](const Entry& entry, std::string_view value) {
        std::string line = std::string(entry.key) + "=" + std::string(value);
        if (const auto at = lineOf(lines, entry))
            lines[*at] = std::move(line);
        else
            addToGroup(lines, entry.group, std::move(line));
    };
    set(kFitAxes, preferences.fitAxes ? "true" : "false");
    set(kShotStatistics, preferences.shotStatisticsShown ? "true" : "false");
    set(kUnits, preferences.units == Units::Imperial ? "imperial" : "metric");
    // Files of earlier versions stay as they were until a level other than the default is chosen.
    if (preferences.confidence != kDefaultConfidence || lineOf(lines, kConfidence))
        set(kConfidence, std::to_string(preferences.confidence));
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

Preferences readPreferences(const std::string& path)
{
    return preferencesFrom(readPreferencesLines(path));
}

bool writePreferences(const std::string& path, const Preferences& preferences)
{
    try {
        makeFolders(path);
        const std::string text = preferencesText(preferences, readPreferencesLines(path));
        rt::AtomicFile file(path);
        file.write(text);
        file.commit();
        return true;
    } catch (const rt::Exception&) {
        return false;
    }
}

} // namespace table
