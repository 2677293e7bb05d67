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

const std::string E = "\x1b";

// Receives blocks directly, as the port's link would hand them over.
class TestTerminal : public TComTerminal {
public:
    TestTerminal()
    {
        OnChar = [this](TCustomComTerminal*, char ch) { chars += ch; };
    }
    void receive(const std::string& block)
    {
        RxBuf(reinterpret_cast<const AnsiChar*>(block.data()), static_cast<int>(block.size()));
    }
    std::string chars;
};

using serialtest::Case;

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
        Case{"EraseScreenSwallowed", "12" + E + "[2J34", "1234"},
        Case{"ControlSequenceSpansLinesUntilALetter", "a" + E + "[12\r\n;34\r\n56;\r\nHb", "ab"},
        Case{"SingleCharacterForm", "a" + E + "Zb" + E + "7c", "abc"},
        Case{"TwoCharacterForms", "a" + E + "#8b" + E + "OAc" + E + "#xd", "abcd"},
        Case{"NulAndControlCharactersPassed", std::string("\0\x01\x07\x0b\x1f\x7f", 6),
             std::string("\0\x01\x07\x0b\x1f\x7f", 6)},
        Case{"ShotLinesWithRequestsBetween",
             "Chronolite\r\n" + E + "[6n" + "1 305\r\n" + E + "[c" + E + "[5n2 298\r\n",
             "Chronolite\r\n1 305\r\n2 298\r\n"},
        Case{"EscEscSwallowsOnlyTheTwo", "a" + E + E + "bc", "abc"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ComTerminal, LoneEscAtTheEndOfOneDownloadTakesTheFirstCharacterOfTheNext)
{
    TestTerminal terminal;
    terminal.receive("1 305\r\n" + E);
    terminal.receive("X2 298\r\n");
    EXPECT_EQ(terminal.chars, "1 305\r\n2 298\r\n");
}

TEST(ComTerminal, EndlessNoiseKeepsMemoryBoundedAndRecovers)
{
    TestTerminal terminal;
    terminal.receive(E + "[");
    std::string noise(64 * 1024, ';');
    for (int i = 0; i < 64; ++i)
        terminal.receive(noise);
    EXPECT_EQ(terminal.EscapeCodes()->Data().size(), TEscapeCodes::maxSequenceText);
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
            noise += E + "[99999;-5H" + E + "[40000A" + E + "[6n";
    }
    terminal.receive(noise);
    EXPECT_GE(terminal.CursorColumn(), 1);
    EXPECT_LE(terminal.CursorColumn(), terminal.Columns());
    EXPECT_GE(terminal.CursorRow(), 1);
    EXPECT_LE(terminal.CursorRow(), terminal.Rows());
}

TEST(ComTerminal, ScreenAndCursorRules)
{
    TestTerminal terminal;
    terminal.SetColumns(10);
    terminal.SetRows(3);
    terminal.receive("ab\bc");
    EXPECT_EQ(terminal.Buffer().RowText(1), "ac        ");
    EXPECT_EQ(terminal.CursorColumn(), 3);
    terminal.receive("\r\b\b");
    EXPECT_EQ(terminal.CursorColumn(), 1) << "backspace stops at column 1";
    terminal.receive("\tx");
    EXPECT_EQ(terminal.CursorColumn(), 10) << "the first tab stop is column 9";
    terminal.receive("0123456789");
    EXPECT_EQ(terminal.CursorColumn(), 10) << "without wrapping the cursor stays at the end";
    EXPECT_EQ(terminal.Buffer().RowText(1), "ac      x9");
    terminal.receive("\n\f\n");
    EXPECT_EQ(terminal.CursorRow(), 3);
    EXPECT_EQ(terminal.Buffer().RowText(1), std::string(10, ' ')) << "scrolled up";
    terminal.SetWrapLines(true);
    terminal.receive("\rABCDEFGHIJK");
    EXPECT_EQ(terminal.Buffer().RowText(2), "ABCDEFGHIJ");
    EXPECT_EQ(terminal.Buffer().RowText(3), "K         ");
    terminal.receive(E + "[2;3H" + E + "[K");
    EXPECT_EQ(terminal.Buffer().RowText(2), "AB        ");
    terminal.receive(E + "[2J");
    EXPECT_EQ(terminal.Buffer().RowText(3), std::string(10, ' '));
    terminal.receive(E + "7" + E + "[3;9Hz" + E + "8y");
    EXPECT_EQ(terminal.Buffer().RowText(2), "  y       ");
    EXPECT_EQ(terminal.Buffer().RowText(3), "        z ");
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
    terminal.receive(E + "[1J" + E + "[?1;2c" + E + "[2J");
    ASSERT_EQ(unhandled.size(), 2u);
    EXPECT_EQ(unhandled[0], std::make_pair(ecUnknown, std::string("[1J")));
    EXPECT_EQ(unhandled[1], std::make_pair(ecIdentResponse, std::string("[?1;2c")));
}

TEST(ComTerminal, EmulationChoosesTheParser)
{
    TestTerminal terminal;
    terminal.SetEmulation(teVT52);
    terminal.receive("a" + E + "Y  b" + E + "[c");
    EXPECT_EQ(terminal.chars, "abc");
    terminal.chars.clear();
    terminal.SetEmulation(teNone);
    EXPECT_EQ(terminal.EscapeCodes(), nullptr);
    terminal.receive("a" + E + "[2J");
    EXPECT_EQ(terminal.chars, "a" + E + "[2J") << "without a parser every byte is plain";
    terminal.OnGetEscapeCodes = [](TCustomComTerminal*, std::unique_ptr<TEscapeCodes>& codes) {
        codes = std::make_unique<TEscapeCodesVT100>();
    };
    terminal.SetEmulation(teVT100orANSI);
    terminal.SetEmulation(teNone);
    ASSERT_NE(terminal.EscapeCodes(), nullptr);
    terminal.OnUnhandledCode = [](TCustomComTerminal* t, TEscapeCode, const std::string&) {
        t->OnGetEscapeCodes = nullptr;
        t->SetEmulation(teVT52);
        t->SetEmulation(teNone);
    };
    terminal.receive(E + "[1Jx");
    EXPECT_EQ(terminal.EscapeCodes(), nullptr) << "switched off from inside its own event";
}

// --- the terminal on a port

struct OnPort : ::testing::Test {
    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    TComPort port;
    TestTerminal terminal;

    OnPort()
    {
        port.SetDeviceOpener(fakeOpener(line));
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
    terminal.ClearScreen();
    terminal.chars.clear();
    port.Open();
    terminal.receive(GetParam().request);
    EXPECT_EQ(line->written(), GetParam().answer);
    EXPECT_EQ(terminal.chars, GetParam().plain) << "the requests never reach OnChar";
    port.Close();
}

INSTANTIATE_TEST_SUITE_P(Table, Replies,
                         ::testing::Values(Reply{"WhatAreYou", E + "[ca", E + "[?1;2c", "a"},
                                           Reply{"WhatAreYouZero", E + "[0ca", E + "[?1;2c", "a"},
                                           Reply{"Status", E + "[5na", E + "[0n", "a"},
                                           Reply{"CursorAtHome", E + "[6na", E + "[1;1R", "a"},
                                           Reply{"CursorMoved",
                                                 "\r\n" + E + "[6n" + E + "[3;7H" + E + "[6na",
                                                 E + "[2;1R" + E + "[3;7R", "\r\na"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OnPort, AReplyThatCannotBeWrittenDoesNotStopReception)
{
    port.Open();
    line->fail("write", EIO);
    line->clearCalls();
    EXPECT_NO_THROW(terminal.receive(E + "[6n1" + E + "[5n" + E + "[c2"));
    EXPECT_EQ(terminal.chars, "12");
    const auto calls = line->calls();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const std::string& c) { return c.rfind("write", 0) == 0; }),
              1)
        << "one failed reply per block, not one per request";
    line->fail("write", 0);
    terminal.receive(E + "[5n");
    EXPECT_EQ(line->written(), E + "[0n") << "the next block answers again";
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
    port.SetDeviceOpener(fakeOpener(line));
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
