#include "runtime/decimalseparator.h"
#include "stats/confidencetexts.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> rowOf(const stats::ConfidenceTexts& t)
{
    return {t.meanCaption,        t.meanRange,   t.sdCaption, t.sdRange,
            t.shotsNeededCaption, t.shotsNeeded, t.flyer};
}

// The ranges shooters' guides quote for ten shots, from the t and chi-square tables.
TEST(ConfidenceTexts, RangesOfTenShotsAtEachLevel)
{
    rt::setDecimalSeparator(',');
    const struct {
        stats::MeanAndSd s;
        double level;
        const char *mean, *sd, *meanRange, *sdRange;
    } cases[] = {
        {{10, 851.7, 2.74}, 0.95, "Mean 95 %", "SD 95 %", "849,7 \u2013 853,7", "1,9 \u2013 5,0"},
        {{10, 851.7, 8.2}, 0.95, "Mean 95 %", "SD 95 %", "845,8 \u2013 857,6", "5,6 \u2013 15,0"},
        {{10, 851.7, 8.2}, 0.90, "Mean 90 %", "SD 90 %", "846,9 \u2013 856,5", "6,0 \u2013 13,5"},
        {{10, 851.7, 2.74}, 0.99, "Mean 99 %", "SD 99 %", "848,9 \u2013 854,5", "1,7 \u2013 6,2"},
    };
    for (const auto& c : cases) {
        stats::ConfidenceFigures f;
        f.level = c.level;
        f.meanRange = stats::meanInterval(c.s, c.level);
        f.sdRange = stats::sdInterval(c.s, c.level);
        const stats::ConfidenceTexts t = formatConfidence(f, stats::kAllShotsConfidence, "m/s", "");
        EXPECT_EQ((std::vector<std::string>{t.meanCaption, t.meanRange, t.sdCaption, t.sdRange}),
                  (std::vector<std::string>{c.mean, c.meanRange, c.sd, c.sdRange}))
            << c.s.sd << " at " << c.level;
    }
    rt::setDecimalSeparator('.');
    stats::ConfidenceFigures f;
    f.meanRange = stats::Interval{849.74, 853.66};
    EXPECT_EQ(formatConfidence(f, stats::kSelectionConfidence, "ft/s", "").meanRange,
              "849.7 \u2013 853.7");
    EXPECT_EQ(formatConfidence(f, stats::kSelectionConfidence, "ft/s", "").meanCaption,
              "Selected mean 95 %");
    rt::setDecimalSeparator(',');
}

// Too few shots for a user's target, and too many needed; the window's tests walk through
// strings of 0 to 65,535 shots.
TEST(ConfidenceTexts, StringsTooShortAndTargetsTooFine)
{
    rt::setDecimalSeparator(',');
    const std::string none = "\u2014";
    const struct {
        const char* name;
        std::vector<double> values;
        std::optional<double> target;
        std::vector<std::string> expected;
    } cases[] = {
        // Two shots have an SD, but the ranges stay out with the test.
        {"two",
         {850, 852},
         5.0,
         {"Mean 95 %", none, "SD 95 %", none, "Shots for ±5 m/s", none,
          "Flyer (Grubbs, 95 %): " + none}},
        // Mean 800, SD √6250 = 79.06: 800 ± 2.776·79.06/√5; t(.975, 4) = 2.776, χ² 11.143 and
        // 0.4844. An SD of 79 m/s cannot be narrowed to ±0.1 within a million shots.
        {"beyond the search",
         {700, 900, 800, 750, 850},
         0.1,
         {"Mean 95 %", "701,8 \u2013 898,2", "SD 95 %", "47,4 \u2013 227,2", "Shots for ±0,1 m/s",
          "> 1000000", "Flyer (Grubbs, 95 %): none"}},
    };
    for (const auto& c : cases) {
        const stats::ConfidenceFigures f = stats::confidenceFigures(c.values, 0.95, c.target);
        EXPECT_EQ(f.shots, c.values.size()) << c.name;
        EXPECT_EQ(rowOf(formatConfidence(f, stats::kAllShotsConfidence, "m/s", "10")), c.expected)
            << c.name;
    }
}

TEST(ConfidenceTexts, DefaultTargetIsOnePercentOfTheMeanToAWholeUnit)
{
    const std::pair<double, double> cases[] = {{851.7, 9}, {849.9, 8}, {2794.3, 28}, {180, 2},
                                               {149.9, 1}, {30, 1},    {0, 1}};
    for (const auto& [mean, target] : cases)
        EXPECT_EQ(stats::defaultShotsTarget(mean), target) << mean;
}

} // namespace
