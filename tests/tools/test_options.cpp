#include "chronolite-sim/options.h"

#include <gtest/gtest.h>

using chronosim::parseOptions;

namespace {

chronosim::ParseResult parse(std::initializer_list<std::string_view> args)
{
    return parseOptions(std::vector<std::string_view>(args));
}

} // namespace

TEST(SimOptions, DefaultsServeOneSessionOfTenShotsOnTheUsualLink)
{
    const auto r = parse({});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.shots, 10);
    EXPECT_EQ(r.options.mean, 300.0);
    EXPECT_EQ(r.options.spread, 3.0);
    EXPECT_EQ(r.options.paceMs, 20);
    EXPECT_FALSE(r.options.seed);
    EXPECT_FALSE(r.options.pauseAfter);
    EXPECT_FALSE(r.options.rawSource);
    EXPECT_FALSE(r.options.escape);
    EXPECT_TRUE(r.options.link);
    EXPECT_EQ(r.options.linkPath, "/dev/ttyCHRONO0");
    EXPECT_FALSE(r.options.repeat);
    EXPECT_FALSE(r.options.help);
}

TEST(SimOptions, EveryOptionInBothSpellings)
{
    const auto r =
        parse({"--shots", "25", "--mean=812.5", "--spread", "0", "--seed", "18446744073709551615",
               "--pace=0", "--pause-after", "5", "--pause=450", "--escape", "--link", "/tmp/chrono",
               "--repeat", "--write-timeout", "90"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.shots, 25);
    EXPECT_EQ(r.options.mean, 812.5);
    EXPECT_EQ(r.options.spread, 0.0);
    EXPECT_EQ(r.options.seed, 18446744073709551615u);
    EXPECT_EQ(r.options.paceMs, 0);
    EXPECT_EQ(r.options.pauseAfter, 5);
    EXPECT_EQ(r.options.pauseMs, 450);
    EXPECT_TRUE(r.options.escape);
    EXPECT_EQ(r.options.linkPath, "/tmp/chrono");
    EXPECT_TRUE(r.options.repeat);
    EXPECT_EQ(r.options.writeTimeoutMs, 90);

    const auto raw = parse({"--raw", "-", "--no-link", "--pause-after", "1"});
    ASSERT_EQ(raw.error, "");
    EXPECT_EQ(raw.options.rawSource, "-");
    EXPECT_FALSE(raw.options.link);
    EXPECT_TRUE(parse({"-h"}).options.help);
    EXPECT_TRUE(parse({"--shots", "1", "--help"}).options.help);
}

TEST(SimOptions, BadArgumentsAreRefusedWithTheOptionNamed)
{
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
        {{"--shots", "x"}, "--shots"},
        {{"--shots", "1000001"}, "--shots"},
        {{"--shots"}, "--shots"},
        {{"--mean", "nan"}, "--mean"},
        {{"--mean", "-300"}, "--mean"},
        {{"--spread", "inf"}, "--spread"},
        {{"--seed", "-3"}, "--seed"},
        {{"--pace", ""}, "--pace"},
        {{"--write-timeout", "0"}, "--write-timeout"},
        {{"--pause", "500"}, "--pause"},
        {{"--pause-after", "10"}, "--pause-after"},
        {{"--pause-after", "0", "--shots", "5"}, "--pause-after"},
        {{"--raw", "-", "--pause-after", "0"}, "--pause-after"},
        {{"--raw", "file", "--escape"}, "--escape"},
        {{"--link", "/tmp/x", "--no-link"}, "--no-link"},
        {{"--link="}, "--link"},
        {{"--escape=yes"}, "--escape"},
        {{"--shot", "5"}, "--shot"},
        {{"5"}, "'5'"},
    };
    for (const auto& [args, named] : cases) {
        const auto r = parseOptions(args);
        EXPECT_NE(r.error.find(named), std::string::npos)
            << "args: " << (args.empty() ? "" : args[0]) << " -> '" << r.error << "'";
    }
}
