#include "serial/settingtexts.h"

#include "runtime/asciitext.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

namespace {

const char* const baudRateNames[] = {"Custom", "110",    "300",    "600",   "1200",  "2400",
                                     "4800",   "9600",   "14400",  "19200", "38400", "56000",
                                     "57600",  "115200", "128000", "256000"};
const char* const stopBitsNames[] = {"1", "1.5", "2"};
const char* const dataBitsNames[] = {"5", "6", "7", "8"};
const char* const parityNames[] = {"None", "Odd", "Even", "Mark", "Space"};
const char* const flowControlNames[] = {"Hardware", "Software", "None", "Custom"};
const char* const dtrNames[] = {"Disable", "Enable", "Handshake"};
const char* const rtsNames[] = {"Disable", "Enable", "Handshake", "Toggle"};

template <typename Enum, std::size_t N>
Enum parse(const char* const (&names)[N], const std::string& text, Enum fallback)
{
    const std::string wanted = rt::upperAscii(text);
    for (std::size_t i = 0; i < N; ++i)
        if (rt::upperAscii(names[i]) == wanted)
            return static_cast<Enum>(i);
    return fallback;
}

template <std::size_t N> std::string name(const char* const (&names)[N], int value)
{
    return value >= 0 && static_cast<std::size_t>(value) < N ? names[value] : "";
}

} // namespace

std::string BaudRateName(TBaudRate value)
{
    return name(baudRateNames, value);
}
std::string StopBitsName(TStopBits value)
{
    return name(stopBitsNames, value);
}
std::string DataBitsName(TDataBits value)
{
    return name(dataBitsNames, value);
}
std::string ParityName(TParityBits value)
{
    return name(parityNames, value);
}
std::string FlowControlName(TFlowControl value)
{
    return name(flowControlNames, value);
}
std::string DTRControlName(TDTRFlowControl value)
{
    return name(dtrNames, value);
}
std::string RTSControlName(TRTSFlowControl value)
{
    return name(rtsNames, value);
}

TBaudRate ParseBaudRate(const std::string& text)
{
    return parse(baudRateNames, text, br9600);
}
TStopBits ParseStopBits(const std::string& text)
{
    return parse(stopBitsNames, text, sbOneStopBit);
}
TDataBits ParseDataBits(const std::string& text)
{
    return parse(dataBitsNames, text, dbEight);
}
TParityBits ParseParity(const std::string& text)
{
    return parse(parityNames, text, prNone);
}
TFlowControl ParseFlowControl(const std::string& text)
{
    return parse(flowControlNames, text, fcCustom);
}
TDTRFlowControl ParseDTRControl(const std::string& text)
{
    return parse(dtrNames, text, dtrDisable);
}
TRTSFlowControl ParseRTSControl(const std::string& text)
{
    return parse(rtsNames, text, rtsDisable);
}

std::string CharSettingText(AnsiChar value)
{
    if (value >= 33 && value <= 127)
        return std::string(1, static_cast<char>(value));
    return "#" + std::to_string(value);
}

AnsiChar ParseCharSetting(const std::string& text)
{
    if (text.empty())
        return 0;
    if (text.size() >= 2 && text[0] == '#') {
        // A decimal number, optionally signed, with nothing after it; its low 8 bits.
        const char* first = text.data() + 1;
        const char* last = text.data() + text.size();
        if (*first == '+')
            ++first;
        long long value = 0;
        const auto [end, error] = std::from_chars(first, last, value);
        if (error != std::errc() || end != last)
            return 0;
        return static_cast<AnsiChar>(static_cast<unsigned long long>(value) & 0xFF);
    }
    return static_cast<AnsiChar>(text[0]);
}

std::string BoolSettingText(bool value)
{
    return value ? "Yes" : "No";
}

bool ParseBoolSetting(const std::string& text)
{
    return rt::upperAscii(text) == "YES";
}

// --- port list

namespace {

namespace fs = std::filesystem;

std::vector<std::string> entries(const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        throw EComPort(23, errno);
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* e = readdir(dir)) {
        const std::string n = e->d_name;
        if (n != "." && n != "..")
            names.push_back(n);
    }
    const int error = errno;
    closedir(dir);
    if (error)
        throw EComPort(23, error);
    return names;
}

bool realUart(const fs::path& entry)
{
    std::ifstream type(entry / "type");
    int value = 0;
    return type >> value && value != 0;
}

} // namespace

void ListComPorts(std::vector<std::string>& list, const std::string& sysClassTty,
                  const std::string& dev)
{
    std::set<std::string> found;
    std::error_code ec;
    for (const std::string& n : entries(sysClassTty)) {
        const fs::path entry = fs::path(sysClassTty) / n;
        // Virtual consoles and pseudo-terminals have no device behind them.
        if (!fs::exists(entry / "device", ec))
            continue;
        // Every machine has ttyS0 to ttyS31 nodes; only a detected UART is a port.
        if (n.starts_with("ttyS") && !realUart(entry))
            continue;
        found.insert(n);
    }
    const fs::path pts = fs::weakly_canonical(fs::path(dev) / "pts", ec);
    for (const std::string& n : entries(dev)) {
        const fs::path link = fs::path(dev) / n;
        if (!fs::is_symlink(link, ec))
            continue;
        const fs::path target = fs::canonical(link, ec);
        if (ec)
            continue; // dangling: the program that made it has gone
        const std::string t = target.string();
        const std::string prefix = pts.string() + "/";
        if (t.starts_with(prefix) || t.starts_with("/dev/pts/"))
            found.insert(n);
    }
    std::vector<std::string> sorted(found.begin(), found.end());
    std::stable_sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
        return rt::upperAscii(a) < rt::upperAscii(b);
    });
    list = std::move(sorted);
}
