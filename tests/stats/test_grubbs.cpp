#include "stats/grubbs.h"

#include "printed.h"

#include <limits>

namespace {

// Two-sided critical G at 90, 95 and 99 % for n = 3 to 22. Three decimals: Harvey, Analytical
// Chemistry 2.1, Appendix 7, "Critical Values for Grubb's Test" (α 0.05 and 0.01; its 2.202 at
// n = 7 and its repeated 2.755 at n = 15 are misprints, left out). Two decimals: the DIN 32645
// table of Grubbs (1969), one-sided α 0.05 and 0.025. n = 20 at 99 %: the BiosistoChart guide's
// 3.001. Tables disagree by a unit in their last digit (exact values against the t formula), so
// that is the tolerance; a wrong tail (α/n for α/2n) moves them by tenths.
TEST(Grubbs, CriticalValuesMatchThePublishedTables)
{
    const char* const rows[] = {
        "1.15 1.155 1.155", "1.46 1.481 1.496", "1.67 1.715 1.764", "1.82 1.887 1.973",
        "1.94 2.02 2.139",  "2.03 2.126 2.274", "2.11 2.215 2.387", "2.18 2.290 2.482",
        "2.23 2.355 2.564", "2.29 2.412 2.636", "2.33 2.462 2.699", "2.37 2.507 2.755",
        "2.41 2.549 -",     "2.44 2.59 -",      "2.47 2.62 -",      "2.50 2.65 -",
        "2.53 2.68 -",      "2.56 2.71 3.001",  "2.58 2.73 -",      "2.60 2.76 -"};
    for (std::size_t n = 3; n < 3 + std::size(rows); ++n) {
        std::vector<double> critical;
        for (const double level : {0.90, 0.95, 0.99})
            critical.push_back(stats::grubbsCritical(n, level).value());
        expectPrinted(critical, rows[n - 3], 1);
    }
    EXPECT_FALSE(stats::grubbsCritical(2, 0.95));
}

TEST(Grubbs, MostExtremeValueAgainstTheCriticalG)
{
    const std::tuple<std::vector<double>, double, std::size_t, const char*, bool> cases[] = {
        // NIST/SEMATECH e-Handbook 1.3.5.17.1, Tietjen and Moore's values: it prints G = 2.4687,
        // cut short; climtrends' reproduction of the example prints 2.468765.
        {{199.31, 199.53, 200.19, 200.82, 201.92, 201.95, 202.18, 245.57},
         0.95,
         7,
         "2.468765",
         true},
        // By hand: mean 850, SD √2.5; 852 and 848 are equally far, the first one counts.
        {{850, 852, 848, 851, 849}, 0.95, 1, "1.2649", false},
        // Mean 857.2, SD √163.7: G = 22.8/12.7945, near the most five values allow, 4/√5.
        {{850, 851, 852, 853, 880}, 0.99, 4, "1.7820", true},
        {{850, 850, 850}, 0.95, 0, "0", false}};
    for (const auto& [values, level, index, g, outlier] : cases) {
        const auto r = stats::grubbsTest(values, level).value();
        expectPrinted({r.g}, g);
        EXPECT_EQ(r.index, index) << g;
        EXPECT_EQ(r.critical, stats::grubbsCritical(values.size(), level)) << g;
        EXPECT_EQ(r.outlier, outlier) << g;
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(stats::grubbsTest(std::vector<double>{850, 900}, 0.95));
    EXPECT_FALSE(stats::grubbsTest(std::vector<double>{850, 851, 900}, 1));
    EXPECT_FALSE(stats::grubbsTest(std::vector<double>{850, nan, 851, 900}, 0.95));
}

} // namespace
