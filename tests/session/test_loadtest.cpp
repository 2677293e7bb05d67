#include "runtime/decimalseparator.h"
#include "session/loadtest.h"
#include "support/stringrows.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using session::VariableKind;

session::Variable variable(VariableKind kind, std::string unit)
{
    session::Variable v = session::defaultVariable(kind);
    v.unit = std::move(unit);
    return v;
}

TEST(LoadTestValue, TakesEitherSeparatorAndNothingElse)
{
    const struct {
        const char* typed;
        std::optional<double> value;
        std::optional<std::string> kept;
    } cases[] = {
        {"42,5", 42.5, "42.5"},       {" 42.50 ", 42.5, "42.50"},
        {"-0.015", -0.015, "-0.015"}, {"+3", 3, "3"},
        {"", std::nullopt, ""},       {"4,2,1", std::nullopt, {}},
        {"1e2", std::nullopt, {}},    {",5", std::nullopt, {}},
        {"5,", std::nullopt, {}},     {"-", std::nullopt, {}},
        {"4 2", std::nullopt, {}},    {"grain", std::nullopt, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(session::variableValue(c.typed), c.value);
        EXPECT_EQ(session::keptValue(c.typed), c.kept);
    }
}

TEST(LoadTestString, IsPrefilledFromTheDetailItsVariableStandsFor)
{
    rt::setDecimalSeparator(',');
    const struct {
        table::Quantity charge;
        table::Quantity length;
        session::Variable variable;
        std::string value;
    } cases[] = {
        {{"44.5", "gr"}, {}, variable(VariableKind::Charge, "gr"), "44.5"},
        // 2,9 g are 44,7539 grains; kept to three decimals.
        {{"2.9", "g"}, {}, variable(VariableKind::Charge, "gr"), "44.754"},
        {{"44.5", "gr"}, {}, variable(VariableKind::Charge, "g"), "2.884"},
        {{"44.5", ""}, {}, variable(VariableKind::Charge, "g"), "44.5"},
        {{"a lot", "gr"}, {}, variable(VariableKind::Charge, "gr"), ""},
        {{"44.5", "gr"}, {"2.800", "in"}, variable(VariableKind::Length, "mm"), "71.12"},
        {{"44.5", "gr"}, {"71.12", "mm"}, variable(VariableKind::Length, "in"), "2.8"},
        {{"44.5", "gr"}, {"2.800", "in"}, variable(VariableKind::Other, "turns"), ""},
    };
    const table::StringGrid grid = tableOf({{"1", "850"}, {"2", "852,5"}});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        table::StringDetails details;
        details.title = "ladder";
        details.charge = c.charge;
        details.length = c.length;
        const session::LoadTestString string = session::makeString(grid, details, c.variable);
        EXPECT_EQ(string.value, c.value);
        EXPECT_EQ(string.details, details);
        EXPECT_EQ(rowsOf(string.grid), rowsOf(grid));
    }
}

TEST(LoadTestString, ValueWritesTheDetailOfAChargeOrALength)
{
    session::LoadTest test;
    test.strings.push_back(session::makeString(tableOf({{"1", "850"}}), {}, test.variable));
    test.strings.push_back(session::makeString(tableOf({{"1", "860"}}), {}, test.variable));
    session::setValue(test.strings[0], "44.5", test.variable);
    EXPECT_EQ(test.strings[0].details.charge, (table::Quantity{"44.5", "gr"}));
    // No value, no detail.
    EXPECT_EQ(test.strings[1].details.charge, table::Quantity{});

    session::setVariable(test, variable(VariableKind::Charge, "g"));
    EXPECT_EQ(test.strings[0].details.charge, (table::Quantity{"44.5", "g"}));
    session::setVariable(test, variable(VariableKind::Length, "in"));
    session::setValue(test.strings[1], "2.81", test.variable);
    EXPECT_EQ(test.strings[1].details.length, (table::Quantity{"2.81", "in"}));
    EXPECT_EQ(test.strings[1].details.charge, table::Quantity{});
    session::setVariable(test, variable(VariableKind::Other, "turns"));
    session::setValue(test.strings[1], "3", test.variable);
    EXPECT_EQ(test.strings[1].details.length, (table::Quantity{"2.81", "in"}));
}

session::LoadTest testOfStrings(std::size_t count)
{
    session::LoadTest test;
    for (std::size_t i = 0; i < count; ++i) {
        table::StringDetails details;
        details.title = "S" + std::to_string(i);
        test.strings.push_back(
            session::makeString(tableOf({{"1", "850"}, {"2", "851"}}), details, test.variable));
    }
    return test;
}

std::vector<std::string> titles(const session::LoadTest& test)
{
    std::vector<std::string> out;
    for (const auto& s : test.strings)
        out.push_back(s.details.title);
    return out;
}

TEST(LoadTestComparisons, FollowTheirStringsAndGoWithThem)
{
    session::LoadTest test = testOfStrings(4);
    session::addComparison(test, {0, 2});
    session::addComparison(test, {2, 0}); // the same pair
    session::addComparison(test, {1, 3});
    session::addComparison(test, {2, 3});
    EXPECT_EQ(test.comparisons, (std::vector<session::Comparison>{{0, 2}, {1, 3}, {2, 3}}));

    session::removeString(test, 1);
    EXPECT_EQ(titles(test), (std::vector<std::string>{"S0", "S2", "S3"}));
    EXPECT_EQ(test.comparisons, (std::vector<session::Comparison>{{0, 1}, {1, 2}}));
    session::removeString(test, 7); // no such string
    EXPECT_EQ(test.strings.size(), 3u);
}

// A string of seven shots fired over three loads, with every detail of each shot.
TEST(RoundRobin, DealsTheShotsInRotationWithTheirDetails)
{
    rt::setDecimalSeparator(',');
    session::LoadTest test = testOfStrings(2);
    std::vector<Row> rows;
    for (int i = 1; i <= 7; ++i) {
        const std::string n = std::to_string(i);
        rows.push_back({n, std::to_string(800 + 3 * i), "2" + n, "10,886", "SMK", "0",
                        "2024-05-11T09:4" + n + ":00", i == 5 ? "flyer" : "", "note " + n,
                        i == 5 ? "1" : "", "28" + n + "0.0 ft/s"});
    }
    table::StringDetails details;
    details.title = "RR";
    details.rifle = "Tikka";
    details.charge = {"44.0", "gr"};
    test.strings.insert(test.strings.begin() + 1,
                        session::makeString(tableOf(rows), details, test.variable, R"({"x":1})"));
    session::addComparison(test, {0, 1});
    session::addComparison(test, {0, 2});
    ASSERT_TRUE(session::splitRoundRobin(test, 1, 3));

    EXPECT_EQ(titles(test),
              (std::vector<std::string>{"S0", "RR (1 of 3)", "RR (2 of 3)", "RR (3 of 3)", "S1"}));
    // Shot i to load ((i - 1) mod 3) + 1, numbered anew, deviations against the load's mean.
    const std::vector<std::vector<int>> dealt = {{1, 4, 7}, {2, 5}, {3, 6}};
    for (std::size_t load = 0; load < 3; ++load) {
        SCOPED_TRACE(load);
        const session::LoadTestString& s = test.strings[1 + load];
        const std::vector<Row> actual = rowsOf(s.grid);
        ASSERT_EQ(actual.size(), dealt[load].size());
        for (std::size_t k = 0; k < actual.size(); ++k) {
            Row row = rows[std::size_t(dealt[load][k] - 1)];
            row[table::ColN] = std::to_string(k + 1);
            row[table::ColDV] = actual[k][table::ColDV]; // checked below
            EXPECT_EQ(actual[k], row) << k;
        }
        EXPECT_EQ(s.value, "");
        EXPECT_EQ(s.details.rifle, "Tikka");
        EXPECT_EQ(s.details.charge, table::Quantity{});
        EXPECT_EQ(s.kept, R"({"x":1})");
    }
    // Load 1: 803, 812, 821 around 812.
    EXPECT_EQ(rowsOf(test.strings[1].grid)[0][table::ColDV], "-1,11");
    EXPECT_EQ(rowsOf(test.strings[1].grid)[2][table::ColDV], "1,11");
    // The split string's comparison went; the other follows S1.
    EXPECT_EQ(test.comparisons, (std::vector<session::Comparison>{{0, 4}}));
}

TEST(RoundRobin, NeedsTwoLoadsAndAShotForEach)
{
    session::LoadTest test = testOfStrings(1);
    for (std::size_t loads : {0u, 1u, 3u}) {
        EXPECT_FALSE(session::splitRoundRobin(test, 0, loads)) << loads;
        EXPECT_EQ(test.strings.size(), 1u);
    }
    EXPECT_FALSE(session::splitRoundRobin(test, 1, 2));
    EXPECT_TRUE(session::splitRoundRobin(test, 0, 2));
    EXPECT_EQ(test.strings.size(), 2u);
}

} // namespace
