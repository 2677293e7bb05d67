#include "serial/comerror.h"

#include <iterator>

std::string comErrorText(int code)
{
    static const char* const texts[] = {
        "Unable to open com port",
        "WriteFile function failed",
        "ReadFile function failed",
        "Invalid Async parameter",
        "PurgeComm function failed",
        "Unable to get async status",
        "SetCommState function failed",
        "SetCommTimeouts failed",
        "SetupComm function failed",
        "ClearCommError function failed",
        "GetCommModemStatus function failed",
        "EscapeCommFunction function failed",
        "TransmitCommChar function failed",
        "Cannot set property while connected",
        "EnumPorts function failed",
        "Failed to store settings",
        "Failed to load settings",
        "Link (un)registration failed",
        "Cannot change led state if ComPort is selected",
        "Cannot wait for event if event thread is created",
        "WaitForEvent method failed",
        "A component is linked to OnRxBuf event",
        "Registry error",
    };
    if (code < 1 || code > static_cast<int>(std::size(texts)))
        return {};
    return texts[code - 1];
}

namespace {

std::string comErrorMessage(int code, int winCode)
{
    std::string text = comErrorText(code);
    if (winCode != -1)
        text += " (win error code: " + std::to_string(winCode) + ")";
    return text;
}

} // namespace

EComPort::EComPort(int code, int winCode)
    : rt::Exception(comErrorMessage(code, winCode))
    , m_code(code)
    , m_winCode(winCode)
{
}
