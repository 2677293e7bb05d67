#include "stats/intervals.h"

#include "printed.h"

#include <limits>

namespace {

const double kNan = std::numeric_limits<double>::quiet_NaN();

// By hand from the t and chi-square tables: mean ± t·s/√n, then s·√((n-1)/χ²) at both tails.
TEST(Intervals, MeanAndSd)
{
    const std::tuple<stats::MeanAndSd, double, const char*> cases[] = {
        // Ten shots of SD 8.2 and of SD 2.74: the figures shooters' guides quote.
        {{10, 851.7, 8.2}, 0.95, "845.8 857.6 5.6 15.0"},
        {{10, 851.7, 2.74}, 0.95, "849.7 853.7 1.9 5.0"},
        {{10, 851.7, 8.2}, 0.90, "846.95 856.45 5.98 13.49"},
        {{10, 851.7, 2.74}, 0.99, "848.88 854.52 1.69 6.24"},
        {{30, 800, 10}, 0.95, "796.27 803.73 7.96 13.44"}};
    for (const auto& [s, level, expected] : cases) {
        const auto mean = stats::meanInterval(s, level).value();
        const auto sd = stats::sdInterval(s, level).value();
        expectPrinted({mean.low, mean.high, sd.low, sd.high}, expected);
    }

    // From the values: mean 850, SD √2.5; t(.975, 4) = 2.776, χ² 11.143 and 0.4844.
    const std::vector<double> v{850, 852, 848, 851, 849};
    expectPrinted({stats::meanInterval(v, 0.95)->low, stats::sdInterval(v, 0.95)->high},
                  "848.04 4.54");
    // One velocity repeated: both intervals shrink to a point, exactly.
    const std::vector<double> same(10, 850.1);
    EXPECT_EQ(stats::meanInterval(same, 0.95)->high, 850.1);
    EXPECT_EQ(stats::sdInterval(same, 0.99)->high, 0.0);

    const std::vector<double> two{850, 851};
    const std::pair<std::vector<double>, double> refused[] = {
        {{850}, 0.95}, {{850, kNan, 851}, 0.95}, {two, 0}, {two, 1}, {two, 95}, {two, kNan}};
    for (const auto& [values, level] : refused) {
        EXPECT_FALSE(stats::meanInterval(values, level)) << values.size() << " at " << level;
        EXPECT_FALSE(stats::sdInterval(values, level)) << values.size() << " at " << level;
    }
}

// By hand: the first n with t(1 - a/2, n - 1)·SD/√n <= the half-width, t from the table.
TEST(Intervals, ShotsNeeded)
{
    const std::tuple<double, double, double, std::optional<std::size_t>> cases[] = {
        {10, 10, 0.95, 7},     // n 6: 2.571·10/√6 = 10.50; n 7: 2.447·10/√7 = 9.25
        {8.2, 5, 0.90, 10},    // t/√n <= 0.6098; n 9: 1.860/3 = 0.620, n 10: 1.833/√10 = 0.580
        {8.2, 5, 0.99, 22},    // n 21: 2.845/√21 = 0.621; n 22: 2.831/√22 = 0.604
        {10, 100, 0.95, 2},    // 12.706·10/√2 = 89.8
        {0, 0.1, 0.95, 2},     // no spread: the fewest shots that have an SD
        {1000, 0.1, 0.95, {}}, // (1.96·10⁴)² ≈ 3.8·10⁸ shots, beyond the search
        {10, 0, 0.95, {}},     {-1, 1, 0.95, {}}, {10, kNan, 0.95, {}}};
    for (const auto& [sd, halfWidth, level, shots] : cases)
        EXPECT_EQ(stats::shotsNeeded(sd, halfWidth, level), shots)
            << "SD " << sd << ", ±" << halfWidth << ", " << level;
    // 10⁴·t² with t(.975, 38,416) ≈ 1.959964 + (z³ + z)/(4·38,416) = 1.960026: 38,417.01.
    EXPECT_EQ(stats::shotsNeeded(10, 0.1, 0.95), 38418u);
}

} // namespace
