// The terminal's receive path: which bytes reach OnChar, in which order, however the bytes
// are split into blocks; the screen and cursor; the replies written to the port.
#include "serial/comterminal.h"
#include "serial/feedcase.h"
#include "serial/os/fakedevice.h"
#include "support/pump.h"

#include <gtest/gtest.h>

using namespace serial;
using namespace std::chrono_literals;

namespace {

// Receives blocks directly, as the port's link would hand them over.
class TestTerminal : public TComTerminal {
public:
    TestTerminal()
    {
        OnChar = [this](TCustomComTerminal*, char ch) { chars += ch; };
    }
    void receive(const std::string& block)
    {
        rxBuf(reinterpret_cast<const AnsiChar*>(block.data()), static_cast<int>(block.size()));
    }
    std::string chars;
};

using serialtest::Case;
using serialtest::kEsc;

class CharPath : public ::testing::TestWithParam<Case> {};

TEST_P(CharPath, SameCharactersInOneBlockAndSplitAnywhere)
{
    const auto& [name, input, expected] = GetParam();
    {
        TestTerminal terminal;
        terminal.receive(input);
        EXPECT_EQ(terminal.chars, expected) << "one block";
    }
    for (std::size_t at = 1; at < input.size(); ++at) {
        TestTerminal terminal;
        terminal.receive(input.substr(0, at));
        terminal.receive(input.substr(at));
        EXPECT_EQ(terminal.chars, expected) << "split at " << at;
    }
    TestTerminal terminal;
    for (char ch : input)
        terminal.receive(std::string(1, ch));
    EXPECT_EQ(terminal.chars, expected) << "byte by byte";
}

INSTANTIATE_TEST_SUITE_P(
    Table, CharPath,
    ::testing::Values(
        Case{"PlainCharacters", "287\r\n", "287\r\n"},
        Case{"EraseScreenSwallowed", "12" + kEsc + "[2J34", "1234"},
        Case{"ControlSequenceSpansLinesUntilALetter", "a" + kEsc + "[12\r\n;34\r\n56;\r\nHb", "ab"},
        Case{"SingleCharacterForm", "a" + kEsc + "Zb" + kEsc + "7c", "abc"},
        Case{"TwoCharacterForms", "a" + kEsc + "#8b" + kEsc + "OAc" + kEsc + "#xd", "abcd"},
        Case{"NulAndControlCharactersPassed", std::string("\0\x01\x07\x0b\x1f\x7f", 6),
             std::string("\0\x01\x07\x0b\x1f\x7f", 6)},
        Case{"ShotLinesWithRequestsBetween",
             "Chronolite\r\n" + kEsc + "[6n" + "1 305\r\n" + kEsc + "[c" + kEsc + "[5n2 298\r\n",
             "Chronolite\r\n1 305\r\n2 298\r\n"},
        Case{"EscEscSwallowsOnlyTheTwo", "a" + kEsc + kEsc + "bc", "abc"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ComTerminal, LoneEscAtTheEndOfOneDownloadTakesTheFirstCharacterOfTheNext)
{
    TestTerminal terminal;
    terminal.receive("1 305\r\n" + kEsc);
    terminal.receive("X2 298\r\n");
    EXPECT_EQ(terminal.chars, "1 305\r\n2 298\r\n");
}

TEST(ComTerminal, EndlessNoiseKeepsMemoryBoundedAndRecovers)
{
    TestTerminal terminal;
    terminal.receive(kEsc + "[");
    std::string noise(64 * 1024, ';');
    for (int i = 0; i < 64; ++i)
        terminal.receive(noise);
    EXPECT_EQ(terminal.escapeCodes()->data().size(), TEscapeCodes::maxSequenceText);
    terminal.receive("mok");
    EXPECT_EQ(terminal.chars, "ok");
}

TEST(ComTerminal, BinaryNoiseNeverCrashesAndTheCursorStaysOnScreen)
{
    TestTerminal terminal;
    std::string noise;
    std::uint32_t x = 12345;
    for (int i = 0; i < 200000; ++i) {
        x = x * 1103515245u + 12345u;
        noise += static_cast<char>(x >> 24);
        if (i % 97 == 0)
            noise += kEsc + "[99999;-5H" + kEsc + "[40000A" + kEsc + "[6n";
    }
    terminal.receive(noise);
    EXPECT_GE(terminal.cursorColumn(), 1);
    EXPECT_LE(terminal.cursorColumn(), terminal.Columns());
    EXPECT_GE(terminal.cursorRow(), 1);
    EXPECT_LE(terminal.cursorRow(), terminal.Rows());
}

// Counts at the very end of an int: the moves saturate at the screen's edges, never overflow.
TEST(ComTerminal, HugeCountsMoveToTheEdges)
{
    for (TTermEmulation emulation : {teVT100orANSI, teVT52}) {
        TestTerminal terminal;
        terminal.SetEmulation(emulation);
        const auto move = [&](const std::string& vt100, const std::string& vt52) {
            terminal.receive(emulation == teVT100orANSI ? vt100 : vt52);
        };
        move(kEsc + "[2147483647C" + kEsc + "[2147483647B", kEsc + "Y" + "\xff\xff");
        EXPECT_EQ(terminal.cursorColumn(), terminal.Columns());
        EXPECT_EQ(terminal.cursorRow(), terminal.Rows());
        move(kEsc + "[2147483647D" + kEsc + "[2147483647A", kEsc + "H");
        EXPECT_EQ(terminal.cursorColumn(), 1);
        EXPECT_EQ(terminal.cursorRow(), 1);
        move(kEsc + "[-2147483648;99999999999H" + kEsc + "OC", kEsc + "Y" + " \x7f");
        EXPECT_EQ(terminal.cursorColumn(), terminal.Columns());
        EXPECT_EQ(terminal.cursorRow(), 1);
        EXPECT_EQ(terminal.chars, "");
    }
    TestTerminal terminal;
    terminal.receive("x" + kEsc + "[-2147483648C" + kEsc + "[2147483647;-5m" + kEsc + "[6n" + kEsc +
                     "[2147483648;2147483647fy");
    EXPECT_EQ(terminal.chars, "xy");
    EXPECT_EQ(terminal.cursorColumn(), terminal.Columns());
    EXPECT_EQ(terminal.cursorRow(), terminal.Rows());
}

TEST(ComTerminal, ScreenAndCursorRules)
{
    TestTerminal terminal;
    terminal.SetColumns(10);
    terminal.SetRows(3);
    terminal.receive("ab\bc");
    EXPECT_EQ(terminal.Buffer().rowText(1), "ac        ");
    EXPECT_EQ(terminal.cursorColumn(), 3);
    terminal.receive("\r\b\b");
    EXPECT_EQ(terminal.cursorColumn(), 1) << "backspace stops at column 1";
    terminal.receive("\tx");
    EXPECT_EQ(terminal.cursorColumn(), 10) << "the first tab stop is column 9";
    terminal.receive("0123456789");
    EXPECT_EQ(terminal.cursorColumn(), 10) << "without wrapping the cursor stays at the end";
    EXPECT_EQ(terminal.Buffer().rowText(1), "ac      x9");
    terminal.receive("\n\f\n");
    EXPECT_EQ(terminal.cursorRow(), 3);
    EXPECT_EQ(terminal.Buffer().rowText(1), std::string(10, ' ')) << "scrolled up";
    terminal.SetWrapLines(true);
    terminal.receive("\rABCDEFGHIJK");
    EXPECT_EQ(terminal.Buffer().rowText(2), "ABCDEFGHIJ");
    EXPECT_EQ(terminal.Buffer().rowText(3), "K         ");
    terminal.receive(kEsc + "[2;3H" + kEsc + "[K");
    EXPECT_EQ(terminal.Buffer().rowText(2), "AB        ");
    terminal.receive(kEsc + "[2J");
    EXPECT_EQ(terminal.Buffer().rowText(3), std::string(10, ' '));
    terminal.receive(kEsc + "7" + kEsc + "[3;9Hz" + kEsc + "8y");
    EXPECT_EQ(terminal.Buffer().rowText(2), "  y       ");
    EXPECT_EQ(terminal.Buffer().rowText(3), "        z ");
}

TEST(ComTerminal, SizesAreHeldWithinTheirRanges)
{
    TComTerminal terminal;
    EXPECT_EQ(terminal.Columns(), 80);
    EXPECT_EQ(terminal.Rows(), 24);
    terminal.SetColumns(1);
    terminal.SetRows(1000);
    EXPECT_EQ(terminal.Columns(), 2);
    EXPECT_EQ(terminal.Rows(), 100);
    terminal.SetColumns(9999);
    EXPECT_EQ(terminal.Columns(), 256);
}

TEST(ComTerminal, AppendLFAndOnStrRecieved)
{
    TestTerminal terminal;
    terminal.SetAppendLF(true);
    terminal.receive("a\rb");
    EXPECT_EQ(terminal.chars, "a\r\nb");
    terminal.OnStrRecieved = [](TCustomComTerminal*, std::string& s) { s = "<" + s + ">"; };
    terminal.receive("c");
    EXPECT_EQ(terminal.chars, "a\r\nb<c>");
}

TEST(ComTerminal, UnhandledCodesAreReportedWithTheirText)
{
    TestTerminal terminal;
    std::vector<std::pair<TEscapeCode, std::string>> unhandled;
    terminal.OnUnhandledCode = [&](TCustomComTerminal*, TEscapeCode code, const std::string& d) {
        unhandled.emplace_back(code, d);
    };
    terminal.receive(kEsc + "[1J" + kEsc + "[?1;2c" + kEsc + "[2J");
    ASSERT_EQ(unhandled.size(), 2u);
    EXPECT_EQ(unhandled[0], std::make_pair(ecUnknown, std::string("[1J")));
    EXPECT_EQ(unhandled[1], std::make_pair(ecIdentResponse, std::string("[?1;2c")));
}

TEST(ComTerminal, EmulationChoosesTheParser)
{
    TestTerminal terminal;
    terminal.SetEmulation(teVT52);
    terminal.receive("a" + kEsc + "Y  b" + kEsc + "[c");
    EXPECT_EQ(terminal.chars, "abc");
    terminal.chars.clear();
    terminal.SetEmulation(teNone);
    EXPECT_EQ(terminal.escapeCodes(), nullptr);
    terminal.receive("a" + kEsc + "[2J");
    EXPECT_EQ(terminal.chars, "a" + kEsc + "[2J") << "without a parser every byte is plain";
    terminal.OnGetEscapeCodes = [](TCustomComTerminal*, std::unique_ptr<TEscapeCodes>& codes) {
        codes = std::make_unique<TEscapeCodesVT100>();
    };
    terminal.SetEmulation(teVT100orANSI);
    terminal.SetEmulation(teNone);
    ASSERT_NE(terminal.escapeCodes(), nullptr);
    terminal.OnUnhandledCode = [](TCustomComTerminal* t, TEscapeCode, const std::string&) {
        t->OnGetEscapeCodes = nullptr;
        t->SetEmulation(teVT52);
        t->SetEmulation(teNone);
    };
    terminal.receive(kEsc + "[1Jx");
    EXPECT_EQ(terminal.escapeCodes(), nullptr) << "switched off from inside its own event";
}

// --- the terminal on a port

struct OnPort : ::testing::Test {
    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    TComPort port;
    TestTerminal terminal;

    OnPort()
    {
        port.setDeviceOpener(fakeOpener(line));
        terminal.SetComPort(&port);
    }
};

struct Reply {
    const char* name;
    std::string request;
    std::string answer;
    std::string plain;
};

std::ostream& operator<<(std::ostream& os, const Reply& r)
{
    return os << r.name;
}

class Replies : public OnPort, public ::testing::WithParamInterface<Reply> {};

TEST_P(Replies, WrittenOnlyWhileThePortIsOpen)
{
    terminal.receive(GetParam().request);
    EXPECT_EQ(line->written(), "") << "closed port";
    terminal.clearScreen();
    terminal.chars.clear();
    port.Open();
    terminal.receive(GetParam().request);
    EXPECT_EQ(line->written(), GetParam().answer);
    EXPECT_EQ(terminal.chars, GetParam().plain) << "the requests never reach OnChar";
    port.Close();
}

INSTANTIATE_TEST_SUITE_P(
    Table, Replies,
    ::testing::Values(Reply{"WhatAreYou", kEsc + "[ca", kEsc + "[?1;2c", "a"},
                      Reply{"WhatAreYouZero", kEsc + "[0ca", kEsc + "[?1;2c", "a"},
                      Reply{"Status", kEsc + "[5na", kEsc + "[0n", "a"},
                      Reply{"CursorAtHome", kEsc + "[6na", kEsc + "[1;1R", "a"},
                      Reply{"CursorMoved", "\r\n" + kEsc + "[6n" + kEsc + "[3;7H" + kEsc + "[6na",
                            kEsc + "[2;1R" + kEsc + "[3;7R", "\r\na"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OnPort, AReplyThatCannotBeWrittenDoesNotStopReception)
{
    port.Open();
    line->fail("write", EIO);
    line->clearCalls();
    EXPECT_NO_THROW(terminal.receive(kEsc + "[6n1" + kEsc + "[5n" + kEsc + "[c2"));
    EXPECT_EQ(terminal.chars, "12");
    const auto calls = line->calls();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const std::string& c) { return c.rfind("write", 0) == 0; }),
              1)
        << "one failed reply per block, not one per request";
    line->fail("write", 0);
    terminal.receive(kEsc + "[5n");
    EXPECT_EQ(line->written(), kEsc + "[0n") << "the next block answers again";
    port.Close();
}

TEST_F(OnPort, BindingRegistersTheLinkOnceAndConnectedFollowsThePort)
{
    terminal.SetComPort(&port); // the same port: nothing happens
    EXPECT_FALSE(terminal.Connected());
    terminal.SetConnected(true);
    EXPECT_TRUE(port.Connected());
    EXPECT_TRUE(terminal.Connected());
    terminal.SetConnected(false);
    EXPECT_FALSE(port.Connected());
    terminal.SetComPort(nullptr);
    EXPECT_EQ(terminal.ComPort(), nullptr);
    EXPECT_FALSE(terminal.Connected());
}

TEST(ComTerminalBinding, ThePortGoingFirstUnbindsTheTerminal)
{
    TestTerminal terminal;
    {
        TComPort port;
        terminal.SetComPort(&port);
    }
    EXPECT_EQ(terminal.ComPort(), nullptr);
    TComPort other;
    terminal.SetComPort(&other);
    EXPECT_EQ(terminal.ComPort(), &other);
}

TEST(ComTerminalBinding, TheTerminalGoingFirstLeavesThePortUsable)
{
    auto line = std::make_shared<FakeLine>();
    TComPort port;
    port.setDeviceOpener(fakeOpener(line));
    {
        TestTerminal terminal;
        terminal.SetComPort(&port);
    }
    std::string seen;
    TComLink link;
    link.OnRxData = [&](TCustomComPort*, const AnsiChar* b, int n) {
        seen.append(reinterpret_cast<const char*>(b), static_cast<std::size_t>(n));
    };
    port.RegisterLink(&link);
    port.Open();
    line->receive("x");
    EXPECT_TRUE(pumpUntil([&] { return seen == "x"; }));
    port.Close();
    port.UnregisterLink(&link);
}

} // namespace
