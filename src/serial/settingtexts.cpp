#include "serial/settingtexts.h"

#include "runtime/asciitext.h"

#include <charconv>

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

std::string boolSettingText(bool value)
{
    return value ? "Yes" : "No";
}

bool parseBoolSetting(const std::string& text)
{
    return rt::upperAscii(text) == "YES";
}
