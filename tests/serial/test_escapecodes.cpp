// The escape-sequence parsers as state machines: bytes in, a trace of plain characters and
// completed sequences out.
#include "serial/escapecodes.h"
#include "serial/feedcase.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace {

// In the order of TEscapeCode.
std::string codeName(TEscapeCode code)
{
    static const char names[] =
        "unknown notCompleted up down left right move home eraseLineFrom eraseScreenFrom "
        "eraseLine eraseScreen setTab clearTab clearAllTabs identify identResponse queryDevice "
        "reportDevice queryCursorPos reportCursorPos attributes setMode resetMode reset "
        "saveCaret restoreCaret saveCaretAndAttr restoreCaretAndAttr test appUp appDown "
        "appRight appLeft";
    std::istringstream words(names);
    std::string word;
    for (int i = 0; i <= static_cast<int>(code); ++i)
        words >> word;
    return word;
}

// Plain characters appear as themselves, a completed sequence as {name data|params}, with
// ESC written as '^' so the tables stay readable.
std::string trace(TEscapeCodes& parser, const std::string& bytes)
{
    auto shown = [](std::string s) {
        for (char& c : s)
            if (c == 27)
                c = '^';
        return s;
    };
    std::string out;
    for (char ch : bytes) {
        switch (parser.FeedChar(ch)) {
        case FeedResult::Plain:
            out += parser.character();
            break;
        case FeedResult::Complete: {
            out += "{" + codeName(parser.Code()) + " " + shown(parser.data());
            std::string params;
            for (const auto& p : parser.params())
                params += (params.empty() ? "|" : ",") + shown(p);
            out += params + "}";
            parser.clearParams();
            break;
        }
        case FeedResult::Incomplete:
            break;
        }
    }
    return out;
}

using serialtest::Case;
using serialtest::kEsc;

class Vt100Feed : public ::testing::TestWithParam<Case> {};

TEST_P(Vt100Feed, GivesTheExpectedTrace)
{
    TEscapeCodesVT100 parser;
    EXPECT_EQ(trace(parser, GetParam().input), GetParam().expected);
    EXPECT_FALSE(parser.isSequenceStarted()) << "every case ends outside a sequence";
}

INSTANTIATE_TEST_SUITE_P(
    Table, Vt100Feed,
    ::testing::Values(
        Case{"NulAndHighBytesArePlain", std::string("\0\x01\x7f\xff", 4),
             std::string("\0\x01\x7f\xff", 4)},
        Case{"ControlSequenceCollectsUpToTheFirstLetter", kEsc + "[12;\r\n34;5H!",
             "{move [12;\r\n34;5H|12,\r\n34,5}!"},
        Case{"EscInsideControlSequenceIsCollected", kEsc + "[1" + kEsc + "[2Jx",
             "{unknown [1^[2J|1^[2}x"},
        Case{"SingleCharacterFormSwallowsOneCharacter", kEsc + "Xab", "{unknown X}ab"},
        Case{"EscEscSwallowsBoth", kEsc + kEsc + "A", "{unknown ^}A"},
        Case{"SaveRestoreTabReset", kEsc + "7" + kEsc + "8" + kEsc + "H" + kEsc + "c",
             "{saveCaretAndAttr 7}{restoreCaretAndAttr 8}{setTab H}{reset c}"},
        Case{"HashEight", kEsc + "#8x", "{test #8}x"},
        Case{"HashOther", kEsc + "#9x", "{unknown #9}x"},
        Case{"ApplicationCursorKeys", kEsc + "OA" + kEsc + "OB" + kEsc + "OC" + kEsc + "OD",
             "{appUp OA}{appDown OB}{appRight OC}{appLeft OD}"},
        Case{"OOther", kEsc + "Oz!", "{unknown Oz}!"},
        Case{"CursorMoves", kEsc + "[3A" + kEsc + "[B" + kEsc + "[2C" + kEsc + "[D",
             "{up [3A|3}{down [B}{right [2C|2}{left [D}"},
        Case{"PositionAndHome", kEsc + "[12;40H" + kEsc + "[H" + kEsc + "[5;6f",
             "{move [12;40H|12,40}{home [H}{move [5;6f|5,6}"},
        Case{"Erasing",
             kEsc + "[K" + kEsc + "[0K" + kEsc + "[2K" + kEsc + "[J" + kEsc + "[2J" + kEsc + "[1J",
             "{eraseLineFrom [K}{eraseLineFrom [0K|0}{eraseLine [2K|2}"
             "{eraseScreenFrom [J}{eraseScreen [2J|2}{unknown [1J|1}"},
        Case{"Tabs", kEsc + "[g" + kEsc + "[3g", "{clearTab [g}{clearAllTabs [3g|3}"},
        Case{"Requests", kEsc + "[c" + kEsc + "[0c" + kEsc + "[5n" + kEsc + "[6n",
             "{identify [c}{identify [0c|0}{queryDevice [5n|5}{queryCursorPos [6n|6}"},
        // What we send back must not read as a request if the peer echoes it.
        Case{"EchoedRepliesAreNoRequests", kEsc + "[?1;2c" + kEsc + "[0n" + kEsc + "[1;1R",
             "{identResponse [?1;2c|?1,2}{reportDevice [0n|0}{reportCursorPos [1;1R|1,1}"},
        Case{"AttributesAndModes", kEsc + "[1;31m" + kEsc + "[?25h" + kEsc + "[4l",
             "{attributes [1;31m|1,31}{setMode [?25h|?25}{resetMode [4l|4}"},
        Case{"LetterAfterHighByteStillEnds", kEsc + "[\xff" + "z.", "{unknown [\xffz|\xff}."}),
    [](const auto& info) { return std::string(info.param.name); });

class Vt52Feed : public ::testing::TestWithParam<Case> {};

TEST_P(Vt52Feed, GivesTheExpectedTrace)
{
    TEscapeCodesVT52 parser;
    EXPECT_EQ(trace(parser, GetParam().input), GetParam().expected);
    EXPECT_FALSE(parser.isSequenceStarted());
}

INSTANTIATE_TEST_SUITE_P(
    Table, Vt52Feed,
    ::testing::Values(Case{"Plain", "ab\r\n", "ab\r\n"},
                      Case{"Cursor", kEsc + "A" + kEsc + "B" + kEsc + "C" + kEsc + "D" + kEsc + "H",
                           "{up A}{down B}{right C}{left D}{home H}"},
                      Case{"Erase", kEsc + "J" + kEsc + "K",
                           "{eraseScreenFrom J}{eraseLineFrom K}"},
                      Case{"Identify", kEsc + "Zx", "{identify Z}x"},
                      // Row 3, column 10: characters 32 + 2 and 32 + 9.
                      Case{"DirectAddress", kEsc + "Y\")x", "{move Y\")|3,10}x"},
                      Case{"Other", kEsc + "qx", "{unknown q}x"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EscapeCodes, AnEndlessControlSequenceIsSwallowedWithBoundedMemory)
{
    TEscapeCodesVT100 parser;
    EXPECT_EQ(trace(parser, kEsc + "["), "");
    const std::string noise(1 << 20, '7');
    EXPECT_EQ(trace(parser, noise), "");
    EXPECT_TRUE(parser.isSequenceStarted());
    EXPECT_EQ(parser.data().size(), TEscapeCodes::maxSequenceText);
    EXPECT_EQ(trace(parser, "m!"),
              "{attributes [" + std::string(255, '7') + "|" + std::string(255, '7') + "}!");
}

TEST(EscapeCodes, ParamGivesOneWhenMissingOrNotANumberAndHoldsLargeOnes)
{
    TEscapeCodesVT100 parser;
    for (char ch : kEsc + "[7;?;;99999999999;-2;2147483647;-2147483648;10000;-99999999999;9999H")
        parser.FeedChar(ch);
    EXPECT_EQ(parser.param(1), 7);
    EXPECT_EQ(parser.param(2), 1);
    EXPECT_EQ(parser.param(3), 1);
    EXPECT_EQ(parser.param(4), TEscapeCodes::maxParam); // too large for an int
    EXPECT_EQ(parser.param(5), -2);
    EXPECT_EQ(parser.param(6), TEscapeCodes::maxParam);
    EXPECT_EQ(parser.param(7), -TEscapeCodes::maxParam);
    EXPECT_EQ(parser.param(8), TEscapeCodes::maxParam);
    EXPECT_EQ(parser.param(9), -TEscapeCodes::maxParam);
    EXPECT_EQ(parser.param(10), 9999);
    EXPECT_EQ(parser.param(11), 1);
    EXPECT_EQ(parser.param(0), 1);
}

TEST(EscapeCodes, CodeTextGivesTheReplies)
{
    TEscapeCodesVT100 vt100;
    EXPECT_EQ(vt100.CodeText(ecReportCursorPos, {"12", "40"}), kEsc + "[12;40R");
    EXPECT_EQ(vt100.CodeText(ecCursorUp, {}), kEsc + "[A");
    EXPECT_EQ(vt100.CodeText(ecAppCursorLeft, {}), kEsc + "OD");
    EXPECT_EQ(vt100.CodeText(ecTest, {}), "");
    TEscapeCodesVT52 vt52;
    EXPECT_EQ(vt52.CodeText(ecIdentResponse, {"2"}), kEsc + "/Z");
    EXPECT_EQ(vt52.CodeText(ecCursorMove, {"3", "10"}), kEsc + "Y\")");
}

TEST(EscapeCodes, BinaryNoiseNeverLeavesAHalfState)
{
    // Every byte value after ESC and after ESC [: the parser always gets back to plain text.
    for (int first = 0; first < 256; ++first) {
        for (const std::string& prefix : {kEsc, kEsc + "[", kEsc + "#", kEsc + "O"}) {
            TEscapeCodesVT100 parser;
            const std::string input = prefix + static_cast<char>(first) + "zq";
            const std::string out = trace(parser, input);
            ASSERT_FALSE(out.empty());
            EXPECT_EQ(out.back(), 'q') << "byte " << first;
            EXPECT_FALSE(parser.isSequenceStarted());
        }
    }
}

} // namespace
