#include "chronolite-sim/transmission.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>

using namespace chronosim;

namespace {

// What the program's terminal passes on: ESC "[" up to the first letter, ESC "#"/"O" with one
// more character, any other ESC with the next character alone, are swallowed.
std::string withoutEscapes(std::string_view bytes)
{
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\x1b') {
            out += bytes[i];
            continue;
        }
        if (++i >= bytes.size())
            break;
        if (bytes[i] == '[') {
            while (++i < bytes.size() && !std::isalpha(static_cast<unsigned char>(bytes[i]))) {
            }
        } else if (bytes[i] == '#' || bytes[i] == 'O') {
            ++i;
        }
    }
    return out;
}

// The text after the last space, as the program reads a shot line.
std::optional<int> velocityOf(std::string_view line)
{
    if (line.ends_with("\r\n"))
        line.remove_suffix(2);
    const auto text = line.substr(line.rfind(' ') + 1);
    int v = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || p != text.data() + text.size())
        return std::nullopt;
    return v;
}

Options shots(int n)
{
    Options o;
    o.shots = n;
    return o;
}

} // namespace

TEST(SimVelocities, ASeedGivesTheSameSeriesEverywhere)
{
    EXPECT_EQ(velocities(5, 300, 3, 7), (std::vector<int>{302, 305, 306, 301, 299}));
    EXPECT_EQ(velocities(200, 300, 3, 42), velocities(200, 300, 3, 42));
    EXPECT_NE(velocities(200, 300, 3, 42), velocities(200, 300, 3, 43));
    EXPECT_TRUE(velocities(0, 300, 3, 1).empty());
}

TEST(SimVelocities, MeanAndSpreadComeOutAsAsked)
{
    const auto vs = velocities(20000, 850, 12, 1);
    double sum = 0, squares = 0;
    for (const int v : vs)
        sum += v;
    const double mean = sum / vs.size();
    for (const int v : vs)
        squares += (v - mean) * (v - mean);
    EXPECT_NEAR(mean, 850, 0.3);
    EXPECT_NEAR(std::sqrt(squares / (vs.size() - 1)), 12, 0.3);
}

TEST(SimVelocities, WholeNumbersRoundedAndNeverNegative)
{
    for (const int v : velocities(50, 300.5, 0, 3))
        EXPECT_EQ(v, 301); // half away from zero
    const auto low = velocities(2000, 1, 50, 9);
    EXPECT_EQ(*std::min_element(low.begin(), low.end()), 0);
}

TEST(SimLines, TwoHeaderLinesThenNumberedShotsAtThePace)
{
    Options o = shots(12);
    o.paceMs = 15;
    const auto t = generatedTransmission(o, 5);
    const auto vs = velocities(12, o.mean, o.spread, 5);
    ASSERT_EQ(t.size(), 14u);
    EXPECT_EQ(t[0].bytes, headerLines()[0]);
    EXPECT_EQ(t[1].bytes, headerLines()[1]);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(t[2 + i].bytes, shotLine(i + 1, vs[i]));
        EXPECT_EQ(velocityOf(t[2 + i].bytes), vs[i]);
    }
    for (const auto& piece : t)
        EXPECT_EQ(piece.delayMs, 15);

    EXPECT_EQ(generatedTransmission(shots(0), 5).size(), 2u);
}

TEST(SimLines, PauseComesBeforeTheShotAfterK)
{
    Options o = shots(6);
    o.pauseAfter = 4;
    o.pauseMs = 333;
    const auto t = generatedTransmission(o, 1);
    ASSERT_EQ(t.size(), 8u);
    for (std::size_t i = 0; i < t.size(); ++i)
        EXPECT_EQ(t[i].delayMs, i == 2 + 4 ? 333 : o.paceMs) << i;
    EXPECT_EQ(t[6].bytes.substr(0, 3), "  5");
}

TEST(SimLines, EscapeSequencesLeaveTheSameTextBehind)
{
    for (const int n : {0, 1, 2, 3, 10}) {
        Options plain = shots(n);
        Options mixed = plain;
        mixed.escape = true;
        const auto t = generatedTransmission(mixed, 11);
        const auto all = joined(t);
        EXPECT_EQ(withoutEscapes(all), joined(generatedTransmission(plain, 11))) << n;
        EXPECT_EQ(t.size(), 2u + n);
        EXPECT_NE(all.find("\x1b[5n"), std::string::npos);
        EXPECT_NE(all.find("\x1b[2J"), std::string::npos);
        EXPECT_NE(all.find("\x1b[6n"), std::string::npos);
        if (n >= 2) {
            EXPECT_NE(all.find("\x1b[c"), std::string::npos);
        }
        // One piece stops inside a sequence, so the program gets it in two blocks.
        if (n >= 1) {
            EXPECT_TRUE(std::any_of(t.begin(), t.end() - 1,
                                    [](const Piece& p) { return p.bytes.ends_with("\x1b["); }));
        }
    }
}

TEST(SimRaw, BytesGoOutUnchangedCutAfterLineFeeds)
{
    Options o;
    o.paceMs = 7;
    const std::string bytes = std::string("ab\r\n\x1b[2J\0x\n", 11) + std::string(10, 'z');
    const auto t = rawTransmission(bytes, o, 4);
    EXPECT_EQ(joined(t), bytes);
    std::vector<std::string> pieces;
    for (const auto& p : t) {
        pieces.push_back(p.bytes);
        EXPECT_EQ(p.delayMs, 7);
    }
    EXPECT_EQ(pieces, (std::vector<std::string>{"ab\r\n", "\x1b[2J", std::string("\0x\n", 3),
                                                "zzzz", "zzzz", "zz"}));
    EXPECT_TRUE(rawTransmission("", o).empty());
    EXPECT_EQ(rawTransmission(std::string(10000, 'n'), o).size(), 3u);
}

TEST(SimRaw, PauseAfterTheKthLineFeed)
{
    Options o;
    o.pauseAfter = 2;
    o.pauseMs = 400;
    const auto t = rawTransmission("h1\nh2\n1 300\n2 301\n", o);
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[1].delayMs, o.paceMs);
    EXPECT_EQ(t[2].delayMs, 400);
    EXPECT_EQ(t[3].delayMs, o.paceMs);
}
