#include "serial/escapecodes.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace {

constexpr char kEsc = 27;

bool isLetter(char ch)
{
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

int paramValue(const std::vector<std::string>& params, int n)
{
    if (n < 1 || static_cast<std::size_t>(n) > params.size())
        return 1;
    const std::string& text = params[static_cast<std::size_t>(n - 1)];
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || end != text.data() + text.size())
        return 1;
    // The line is not to be trusted: a count like 2147483647 added to a cursor position
    // would overflow, so every number is held far beyond any screen but far within an int.
    constexpr int limit = TEscapeCodes::maxParam;
    if (ec == std::errc::result_out_of_range)
        return text[0] == '-' ? -limit : limit;
    if (ec != std::errc())
        return 1;
    return std::clamp(value, -limit, limit);
}

std::vector<std::string> splitParams(const std::string& text)
{
    std::vector<std::string> params;
    if (text.empty())
        return params;
    std::size_t start = 0;
    for (;;) {
        const std::size_t semicolon = text.find(';', start);
        params.push_back(text.substr(start, semicolon - start));
        if (semicolon == std::string::npos)
            break;
        start = semicolon + 1;
    }
    return params;
}

std::string escape(const char* format, int a = 0, int b = 0)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return std::string(1, kEsc) + text;
}

} // namespace

int TEscapeCodes::param(int n) const
{
    return paramValue(m_params, n);
}

void TEscapeCodes::collect(char ch)
{
    if (m_data.size() < maxSequenceText)
        m_data.push_back(ch);
}

FeedResult TEscapeCodes::feedGround(char ch, int escapeState)
{
    if (ch != kEsc) {
        m_character = ch;
        return FeedResult::Plain;
    }
    m_data.clear();
    m_state = escapeState;
    return FeedResult::Incomplete;
}

FeedResult TEscapeCodes::complete(TEscapeCode code)
{
    m_code = code;
    m_state = 0;
    return FeedResult::Complete;
}

// --- VT100

namespace {
enum Vt100State { vtGround, vtEscape, vtControl, vtHash, vtO };
}

FeedResult TEscapeCodesVT100::FeedChar(char ch)
{
    switch (m_state) {
    case vtGround:
        return feedGround(ch, vtEscape);
    case vtEscape:
        collect(ch);
        switch (ch) {
        case '[':
            m_state = vtControl;
            return FeedResult::Incomplete;
        case '#':
            m_state = vtHash;
            return FeedResult::Incomplete;
        case 'O':
            m_state = vtO;
            return FeedResult::Incomplete;
        case '7':
            return complete(ecSaveCaretAndAttr);
        case '8':
            return complete(ecRestoreCaretAndAttr);
        case 'H':
            return complete(ecSetTab);
        case 'c':
            return complete(ecReset);
        default:
            return complete(ecUnknown);
        }
    case vtControl:
        if (!isLetter(ch)) {
            collect(ch);
            return FeedResult::Incomplete;
        }
        return finishControlSequence(ch);
    case vtHash:
        collect(ch);
        return complete(ch == '8' ? ecTest : ecUnknown);
    case vtO:
        collect(ch);
        switch (ch) {
        case 'A':
            return complete(ecAppCursorUp);
        case 'B':
            return complete(ecAppCursorDown);
        case 'C':
            return complete(ecAppCursorRight);
        case 'D':
            return complete(ecAppCursorLeft);
        default:
            return complete(ecUnknown);
        }
    }
    return complete(ecUnknown);
}

FeedResult TEscapeCodesVT100::finishControlSequence(char final)
{
    const std::string text = m_data.substr(1);
    collect(final);
    m_params = splitParams(text);
    // Replies that come back (a peer echoing what we sent) carry a "?" or another final
    // letter than the request, so they are never answered again.
    switch (final) {
    case 'A':
        return complete(ecCursorUp);
    case 'B':
        return complete(ecCursorDown);
    case 'C':
        return complete(ecCursorRight);
    case 'D':
        return complete(ecCursorLeft);
    case 'H':
    case 'f':
        return complete(text.empty() ? ecCursorHome : ecCursorMove);
    case 'J':
        return complete(text == "2"                     ? ecEraseScreen
                        : (text.empty() || text == "0") ? ecEraseScreenFrom
                                                        : ecUnknown);
    case 'K':
        return complete(text == "2"                     ? ecEraseLine
                        : (text.empty() || text == "0") ? ecEraseLineFrom
                                                        : ecUnknown);
    case 'g':
        return complete(text == "3"                     ? ecClearAllTabs
                        : (text.empty() || text == "0") ? ecClearTab
                                                        : ecUnknown);
    case 'c':
        if (text.empty() || text == "0")
            return complete(ecIdentify);
        return complete(!text.empty() && text[0] == '?' ? ecIdentResponse : ecUnknown);
    case 'n':
        if (text == "5")
            return complete(ecQueryDevice);
        if (text == "6")
            return complete(ecQueryCursorPos);
        return complete(text == "0" ? ecReportDevice : ecUnknown);
    case 'R':
        return complete(ecReportCursorPos);
    case 'm':
        return complete(ecAttributes);
    case 'h':
        return complete(ecSetMode);
    case 'l':
        return complete(ecResetMode);
    case 's':
        return complete(ecSaveCaret);
    case 'u':
        return complete(ecRestoreCaret);
    default:
        return complete(ecUnknown);
    }
}

std::string TEscapeCodesVT100::CodeText(TEscapeCode code,
                                        const std::vector<std::string>& params) const
{
    switch (code) {
    case ecCursorUp:
        return escape("[A");
    case ecCursorDown:
        return escape("[B");
    case ecCursorRight:
        return escape("[C");
    case ecCursorLeft:
        return escape("[D");
    case ecAppCursorUp:
        return escape("OA");
    case ecAppCursorDown:
        return escape("OB");
    case ecAppCursorRight:
        return escape("OC");
    case ecAppCursorLeft:
        return escape("OD");
    case ecCursorHome:
        return escape("[H");
    case ecCursorMove:
        return escape("[%d;%dH", paramValue(params, 1), paramValue(params, 2));
    case ecEraseScreen:
        return escape("[2J");
    case ecEraseLine:
        return escape("[2K");
    case ecIdentify:
        return escape("[c");
    case ecIdentResponse:
        return escape("[?1;%dc", paramValue(params, 1));
    case ecQueryDevice:
        return escape("[5n");
    case ecReportDevice:
        return escape("[0n");
    case ecQueryCursorPos:
        return escape("[6n");
    case ecReportCursorPos:
        return escape("[%d;%dR", paramValue(params, 1), paramValue(params, 2));
    case ecReset:
        return escape("c");
    default:
        return {};
    }
}

// --- VT52

namespace {
enum Vt52State { v52Ground, v52Escape, v52Row, v52Column };
}

FeedResult TEscapeCodesVT52::FeedChar(char ch)
{
    switch (m_state) {
    case v52Ground:
        return feedGround(ch, v52Escape);
    case v52Escape:
        collect(ch);
        switch (ch) {
        case 'A':
            return complete(ecCursorUp);
        case 'B':
            return complete(ecCursorDown);
        case 'C':
            return complete(ecCursorRight);
        case 'D':
            return complete(ecCursorLeft);
        case 'H':
            return complete(ecCursorHome);
        case 'J':
            return complete(ecEraseScreenFrom);
        case 'K':
            return complete(ecEraseLineFrom);
        case 'Z':
            return complete(ecIdentify);
        case 'Y':
            m_state = v52Row;
            return FeedResult::Incomplete;
        default:
            return complete(ecUnknown);
        }
    case v52Row:
        collect(ch);
        m_state = v52Column;
        return FeedResult::Incomplete;
    case v52Column:
        collect(ch);
        // Row and column travel as characters offset by 32, counted from 0.
        m_params = {std::to_string(static_cast<unsigned char>(m_data[1]) - 31),
                    std::to_string(static_cast<unsigned char>(ch) - 31)};
        return complete(ecCursorMove);
    }
    return complete(ecUnknown);
}

std::string TEscapeCodesVT52::CodeText(TEscapeCode code,
                                       const std::vector<std::string>& params) const
{
    switch (code) {
    case ecCursorUp:
        return escape("A");
    case ecCursorDown:
        return escape("B");
    case ecCursorRight:
        return escape("C");
    case ecCursorLeft:
        return escape("D");
    case ecCursorHome:
        return escape("H");
    case ecIdentResponse:
        return escape("/Z");
    case ecCursorMove: {
        std::string text = escape("Y");
        text += static_cast<char>(paramValue(params, 1) + 31);
        text += static_cast<char>(paramValue(params, 2) + 31);
        return text;
    }
    default:
        return {};
    }
}
