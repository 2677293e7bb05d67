// The figures of load tests worked out by hand: the line through every shot, its slope's
// range from a t table, and the flat-spot rule over equal and unequal steps.
#include "runtime/decimalseparator.h"
#include "session/ladder.h"
#include "session/laddertexts.h"
#include "session/stringcomparison.h"
#include "support/stringrows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

struct Step {
    const char* value;
    std::vector<const char*> velocities;
    // Shots (by index) left out of the statistics.
    std::vector<std::size_t> excluded = {};
};

session::LoadTest ladder(const std::vector<Step>& steps)
{
    session::LoadTest test;
    for (const Step& step : steps) {
        std::vector<Row> rows;
        for (std::size_t i = 0; i < step.velocities.size(); ++i) {
            Row row(table::kGridColumnCount);
            row[table::ColN] = std::to_string(i + 1);
            row[table::ColV] = step.velocities[i];
            for (std::size_t e : step.excluded)
                if (e == i)
                    row[table::ColExcluded] = table::kExcludedMark;
            rows.push_back(row);
        }
        test.strings.push_back(session::makeString(tableOf(rows), {}, test.variable));
        test.strings.back().value = step.value;
    }
    return test;
}

// Student's t at 97,5 % from a printed table.
constexpr double kT975df2 = 4.302653;
constexpr double kT975df4 = 2.776445;
constexpr double kT975df10 = 2.228139;

// Four charges half a grain apart, three shots each, m/s. Means 802, 812, 814, 826 (one
// string added out of order): slope 18,5/1,25 = 14,8; residual sum of squares 77,6 over
// 10 degrees of freedom, Sxx 3,75; total sum of squares 899.
session::LoadTest equalSteps()
{
    return ladder({{"41.0", {"813", "814", "815"}},
                   {"40.0", {"800", "802", "804"}},
                   {"40.5", {"810", "812", "814"}},
                   {"41.5", {"824", "826", "828"}}});
}

TEST(Ladder, EqualStepsGiveTheHandComputedLineAndFlatSpot)
{
    const session::LadderFigures f =
        session::ladderFigures(equalSteps(), 0.95, table::Units::Metric);
    ASSERT_EQ(f.rows.size(), 4u);
    ASSERT_TRUE(f.fit);
    EXPECT_NEAR(f.fit->slope, 14.8, 1e-9);
    ASSERT_TRUE(f.fit->rSquared);
    EXPECT_NEAR(*f.fit->rSquared, 1 - 77.6 / 899, 1e-9);
    const double half = kT975df10 * std::sqrt(77.6 / 10 / 3.75);
    EXPECT_NEAR(f.fit->slopeInterval.low, 14.8 - half, 1e-5);
    EXPECT_NEAR(f.fit->slopeInterval.high, 14.8 + half, 1e-5);

    // In the order of their values. Half the slope over half a grain is 3,7: only the step
    // of +2 is flat.
    const struct {
        std::size_t string;
        double mean, sd, es;
        std::optional<double> change, gain;
        bool flat;
    } rows[] = {
        {1, 802, 2, 4, std::nullopt, std::nullopt, false},
        {2, 812, 2, 4, 10, 20, true},
        {0, 814, 1, 2, 2, 4, true},
        {3, 826, 2, 4, 12, 24, false},
    };
    for (std::size_t r = 0; r < 4; ++r) {
        SCOPED_TRACE(r);
        const session::StringFigures& s = f.rows[r];
        EXPECT_EQ(s.string, rows[r].string);
        EXPECT_EQ(s.velocities.size(), 3u);
        EXPECT_NEAR(*s.mean, rows[r].mean, 1e-9);
        EXPECT_NEAR(*s.sd, rows[r].sd, 1e-9);
        EXPECT_NEAR(*s.extremeSpread, rows[r].es, 1e-9);
        EXPECT_EQ(s.meanChange.has_value(), rows[r].change.has_value());
        if (rows[r].change) {
            EXPECT_NEAR(*s.meanChange, *rows[r].change, 1e-9);
            EXPECT_NEAR(*s.gainPerUnit, *rows[r].gain, 1e-9);
        }
        EXPECT_EQ(s.flat, rows[r].flat);
    }
    ASSERT_EQ(f.flatSpots.size(), 1u);
    EXPECT_EQ(f.flatSpots[0].first, 1u);
    EXPECT_EQ(f.flatSpots[0].last, 2u);
    // The SD's range of three shots: chi-square of 2 degrees of freedom, 0,0506356 and 7,37776.
    EXPECT_NEAR(f.rows[0].sdInterval->low, std::sqrt(8 / 7.377759), 1e-5);
    EXPECT_NEAR(f.rows[0].sdInterval->high, std::sqrt(8 / 0.0506356), 1e-4);
}

TEST(Ladder, FiguresFollowTheUnitShown)
{
    const session::LadderFigures f =
        session::ladderFigures(equalSteps(), 0.95, table::Units::Imperial);
    EXPECT_NEAR(f.fit->slope, 14.8 / 0.3048, 1e-9);
    EXPECT_NEAR(*f.rows[0].mean, 802 / 0.3048, 1e-9);
    EXPECT_NEAR(*f.rows[1].gainPerUnit, 20 / 0.3048, 1e-9);
    // The flat spot does not depend on the unit.
    EXPECT_EQ(f.flatSpots.size(), 1u);
}

// Charges 40,0, 40,2 and 41,0, two shots each: means 802, 803 and 818. Slope 9,4/0,56.
// The first step of 1 is flat against 0,5·16,79·0,2 = 1,68; the second (15 over 0,8) not.
TEST(Ladder, UnequalStepsWeighTheRuleByTheirSpacing)
{
    const session::LadderFigures f = session::ladderFigures(
        ladder({{"40", {"800", "804"}}, {"40.2", {"802", "804"}}, {"41", {"815", "821"}}}), 0.95,
        table::Units::Metric);
    ASSERT_TRUE(f.fit);
    EXPECT_NEAR(f.fit->slope, 9.4 / 0.56, 1e-9);
    EXPECT_NEAR(*f.rows[1].gainPerUnit, 5, 1e-9);
    EXPECT_NEAR(*f.rows[2].gainPerUnit, 18.75, 1e-9);
    EXPECT_TRUE(f.rows[0].flat);
    EXPECT_TRUE(f.rows[1].flat);
    EXPECT_FALSE(f.rows[2].flat);
}

TEST(Ladder, NoFlatSpotAgainstASlopeThatMayBeNone)
{
    // Means 800, 801, 830: the rule alone would call the first step flat (1 < 7,5), but
    // scatter of ±40 puts the slope's range across 0.
    const session::LadderFigures f = session::ladderFigures(
        ladder({{"40", {"760", "840"}}, {"41", {"761", "841"}}, {"42", {"790", "870"}}}), 0.95,
        table::Units::Metric);
    ASSERT_TRUE(f.fit);
    EXPECT_NEAR(f.fit->slope, 15, 1e-9);
    EXPECT_LT(f.fit->slopeInterval.low, 0);
    EXPECT_TRUE(f.flatSpots.empty());
    for (const auto& row : f.rows)
        EXPECT_FALSE(row.flat);
}

TEST(Ladder, OneAndTwoStringsAndStringsLeftOffTheLadder)
{
    // One string: nothing to fit across.
    session::LadderFigures f =
        session::ladderFigures(ladder({{"40", {"800", "802", "804"}}}), 0.95, table::Units::Metric);
    EXPECT_FALSE(f.fit);
    EXPECT_FALSE(f.rows[0].meanChange);

    // Two strings, two shots each: residuals of ±1, so the slope's error is √(4/2/1).
    f = session::ladderFigures(ladder({{"40", {"800", "802"}}, {"41", {"810", "812"}}}), 0.95,
                               table::Units::Metric);
    ASSERT_TRUE(f.fit);
    EXPECT_NEAR(f.fit->slope, 10, 1e-9);
    EXPECT_NEAR(f.fit->slopeInterval.high, 10 + kT975df2 * std::sqrt(2.0), 1e-5);
    EXPECT_TRUE(f.flatSpots.empty());

    // A string with every shot excluded, and one without a value: neither is a step of the
    // ladder, so the line and the steps are those of the equal ladder above.
    session::LoadTest test = equalSteps();
    test.strings.push_back(ladder({{"40.25", {"900", "901"}, {0, 1}}}).strings[0]);
    test.strings.push_back(ladder({{"", {"700", "701"}}}).strings[0]);
    f = session::ladderFigures(test, 0.95, table::Units::Metric);
    ASSERT_EQ(f.rows.size(), 6u);
    EXPECT_EQ(f.rows[1].string, 4u);
    EXPECT_EQ(f.rows[1].excluded, 2u);
    EXPECT_FALSE(f.rows[1].mean);
    EXPECT_FALSE(f.rows[1].meanChange);
    EXPECT_EQ(f.rows[5].string, 5u);
    EXPECT_FALSE(f.rows[5].value);
    EXPECT_FALSE(f.rows[5].meanChange);
    EXPECT_NEAR(*f.rows[2].meanChange, 10, 1e-9);
    EXPECT_NEAR(f.fit->slope, 14.8, 1e-9);
    ASSERT_EQ(f.flatSpots.size(), 1u);
    EXPECT_EQ(f.flatSpots[0].first, 2u);
    EXPECT_EQ(f.flatSpots[0].last, 3u);
}

// P(|T| > t) for 4 degrees of freedom, in closed form.
double twoSidedT4(double t)
{
    const double a = t * t / 4;
    const double cdf = 0.5 + 0.375 * (t / std::sqrt(1 + a)) * (1 - a / (3 * (1 + a)));
    return 2 * (1 - cdf);
}

TEST(Comparison, SaysInOneSentenceWhetherTheDifferenceIsShown)
{
    rt::setDecimalSeparator(',');
    // Three shots each: F(2, 2) has P(F <= f) = f/(1 + f). Equal SDs of 2 give Welch 4
    // degrees of freedom.
    const session::LoadTest test = ladder({{"40", {"800", "802", "804"}},
                                           {"41", {"810", "811", "812"}},
                                           {"42", {"806", "808", "810"}},
                                           {"43", {"800", "810", "820"}},
                                           {"44", {"850"}},
                                           {"45", {"830", "830", "830"}},
                                           {"46", {"840", "840"}}});
    const session::LadderFigures f = session::ladderFigures(test, 0.95, table::Units::Metric);
    const double t = 6 / std::sqrt(8.0 / 3);
    EXPECT_NEAR(session::compareStrings(f, 0, 2).welch->p, twoSidedT4(t), 1e-6);

    const struct {
        std::size_t a, b;
        const char* mean;
        const char* sd;
    } cases[] = {
        // SDs 2 and 1: f = 4, p = 2·0,2. Welch's p-values other than the closed forms were
        // worked out by integrating the t density numerically.
        {0, 1, "Mean 802,0 vs 811,0 is a shown difference (p = 0,0065)",
         "SD 2,0 vs 1,0 is not a shown difference (p = 0,40)"},
        {0, 2, "Mean 802,0 vs 808,0 is a shown difference (p = 0,021)",
         "SD 2,0 vs 2,0 is not a shown difference (p = 1,0)"},
        // SDs 1 and 10: f = 0,01, p = 2·0,01/1,01.
        {1, 3, "Mean 811,0 vs 810,0 is not a shown difference (p = 0,88)",
         "SD 1,0 vs 10,0 is a shown difference (p = 0,020)"},
        {0, 4, "Each string needs at least 2 included shots",
         "Each string needs at least 2 included shots"},
        // Welch with one SD of 0 has 2 degrees of freedom: p = 1 - t/√(2 + t²).
        {5, 0, "Mean 830,0 vs 802,0 is a shown difference (p = 0,0017)",
         "SD 0,0 vs 2,0 cannot be tested: a string without scatter"},
        {5, 6, "Mean 830,0 vs 840,0 cannot be tested: neither string scatters",
         "SD 0,0 vs 0,0 cannot be tested: neither string scatters"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mean);
        const session::StringComparison comparison = session::compareStrings(f, c.a, c.b);
        EXPECT_EQ(comparison.meanSentence, c.mean);
        EXPECT_EQ(comparison.sdSentence, c.sd);
    }
    EXPECT_NEAR(session::compareStrings(f, 1, 3).fTest->p, 2 * 0.01 / 1.01, 1e-9);
}

TEST(Comparison, PValuesKeepTheirSideOfTheThreshold)
{
    rt::setDecimalSeparator(',');
    const struct {
        double p, alpha;
        const char* text;
    } cases[] = {
        {0.39, 0.05, "0,39"},       {0.012, 0.05, "0,012"},      {0.95, 0.05, "0,95"},
        {0.0496, 0.05, "0,0496"},   {0.0504, 0.05, "0,050"},     {0.0999, 0.1, "0,0999"},
        {0.00996, 0.01, "0,00996"}, {0.00004, 0.05, "< 0,0001"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(session::pValueText(c.p, c.alpha), c.text) << c.p;
}

TEST(LadderTexts, TableSlopeAndNamesAsShown)
{
    rt::setDecimalSeparator(',');
    session::LoadTest test = equalSteps();
    test.strings.push_back(ladder({{"", {"700"}}}).strings[0]);
    test.strings.back().details.title = "Fouler";
    test.strings.push_back(ladder({{"", {"700"}}}).strings[0]);
    const session::LadderFigures f = session::ladderFigures(test, 0.95, table::Units::Metric);
    const session::LadderTable t = session::ladderTable(test, f);
    EXPECT_EQ(t.header[session::LadderValue], "Charge (gr)");
    EXPECT_EQ(t.header[session::LadderSDRange], "SD 95 %");
    EXPECT_EQ(t.header[session::LadderGain], "m/s per grain");
    EXPECT_EQ(t.rows[2][session::LadderValue], "41,0");
    EXPECT_EQ(t.rows[2][session::LadderMeanChange], "+2,0");
    EXPECT_EQ(t.rows[2][session::LadderGain], "+4,0");
    EXPECT_EQ(t.rows[2][session::LadderFlat], "flat");
    EXPECT_EQ(t.rows[0][session::LadderMeanChange], "\u2014");
    EXPECT_EQ(t.rows[4][session::LadderSD], "\u2014");
    EXPECT_EQ(t.rows[4][session::LadderMean], "700,0");

    EXPECT_EQ(session::slopeText(*f.fit, test.variable, table::Units::Metric, 0.95),
              "+14,8 m/s per grain (95 %: 11,6 \u2013 18,0)");
    EXPECT_EQ(session::rSquaredText(*f.fit), "R\u00B2 = 0,91");
    EXPECT_EQ(session::levelText(0.995), "99,5 %");
    EXPECT_EQ(session::signedFigure(-0.04), "0,0");
    EXPECT_EQ(session::stringLabel(test, 0), "41,0 gr");
    EXPECT_EQ(session::stringLabel(test, 4), "Fouler");
    EXPECT_EQ(session::stringLabel(test, 5), "String 6");
}

} // namespace
