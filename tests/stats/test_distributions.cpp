#include "stats/distributions.h"

#include "printed.h"

#include <limits>

namespace {

// Tail areas 0.05, 0.025, 0.005 on each side: the two-sided 90, 95 and 99 % points. t: NIST/
// SEMATECH e-Handbook 1.3.6.7.2, upper critical values. Chi-square: the textbook table of areas
// .995 to .005, the upper points and then the lower points that leave the same areas below.
TEST(Distributions, QuantilesMatchThePublishedTables)
{
    const std::tuple<double, const char*, const char*> rows[] = {
        {1, "6.314 12.706 63.657", "3.841 5.024 7.879 0.00393 0.000982 0.0000393"},
        {2, "2.920 4.303 9.925", "5.991 7.378 10.597 0.103 0.0506 0.0100"},
        {5, "2.015 2.571 4.032", "11.070 12.833 16.750 1.145 0.831 0.412"},
        {9, "1.833 2.262 3.250", "16.919 19.023 23.589 3.325 2.700 1.735"},
        {10, "1.812 2.228 3.169", "18.307 20.483 25.188 3.940 3.247 2.156"},
        {29, "1.699 2.045 2.756", "42.557 45.722 52.336 17.708 16.047 13.121"},
        {30, "1.697 2.042 2.750", "43.773 46.979 53.672 18.493 16.791 13.787"},
        {100, "1.660 1.984 2.626", "124.342 129.561 140.169 77.929 74.222 67.328"}};
    for (const auto& [df, t, chi] : rows) {
        std::vector<double> ts, upper, lower;
        for (const double tail : {0.05, 0.025, 0.005}) {
            ts.push_back(stats::studentTQuantile(1 - tail, df).value());
            upper.push_back(stats::chiSquaredQuantile(1 - tail, df).value());
            lower.push_back(stats::chiSquaredQuantile(tail, df).value());
        }
        expectPrinted(ts, t);
        upper.insert(upper.end(), lower.begin(), lower.end());
        expectPrinted(upper, chi);
    }
}

// Boost's default policy throws on each of these; none may escape, and none may come back NaN.
TEST(Distributions, NoValueOutsideTheDomainInsteadOfAnException)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::optional<double> refused[] = {
        stats::studentTQuantile(0, 5),     stats::studentTQuantile(1, 5),
        stats::studentTQuantile(nan, 5),   stats::studentTQuantile(0.5, 0),
        stats::studentTQuantile(0.5, inf), stats::studentTUpperTail(nan, 5),
        stats::chiSquaredQuantile(1.5, 5), stats::chiSquaredQuantile(0.5, -2),
        stats::fisherFLowerTail(-1, 2, 3), stats::fisherFUpperTail(1, 2, 0),
        stats::normalDensity(0, 0, 0),     stats::normalDensity(nan, 0, 1)};
    for (std::size_t i = 0; i < std::size(refused); ++i)
        EXPECT_FALSE(refused[i]) << "case " << i << " gave " << refused[i].value_or(0);
}

} // namespace
