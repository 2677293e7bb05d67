#include "stats/regression.h"

#include "printed.h"

#include <limits>

namespace {

// Ladders built as a line plus residuals that sum to 0, also against x, so the fit is the line
// itself; SE = √(SSE/(n-2)/Sxx), R² = 1 - SSE/Syy, t(.975, 3) = 3.182, t(.975, 2) = 4.303.
TEST(Regression, LineThroughALadder)
{
    const std::tuple<std::vector<double>, std::vector<double>, const char*> cases[] = {
        // Equal steps: 1 + 2x, residuals 0 1 -2 1 0; SSE 6, Sxx 10, Syy 46.
        {{0, 1, 2, 3, 4}, {1, 4, 3, 8, 9}, "2.0000 1.0000 0.86957 0.44721 0.577 3.423"},
        // Unequal steps: 2 + x/2, residuals -.3 .3 .1 -.1; SSE 0.2, Sxx 21, Syy 5.45.
        {{0, 1, 3, 6}, {1.7, 2.8, 3.6, 4.9}, "0.50000 2.00000 0.96330 0.069007 0.203 0.797"}};
    for (const auto& [x, y, expected] : cases) {
        const auto f = stats::fitLine(x, y, 0.95).value();
        expectPrinted({f.slope, f.intercept, f.rSquared.value(), f.slopeError, f.slopeInterval.low,
                       f.slopeInterval.high},
                      expected);
    }

    const std::vector<double> x{40, 40.3, 40.6};
    const auto flat = stats::fitLine(x, std::vector<double>{850, 850, 850}, 0.95).value();
    EXPECT_EQ(flat.slope, 0);
    EXPECT_EQ(flat.slopeError, 0);
    EXPECT_FALSE(flat.rSquared);

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<double> y{850, 860, 870};
    EXPECT_FALSE(stats::fitLine(std::vector<double>{40, 41}, std::vector<double>{850, 860}, 0.95));
    EXPECT_FALSE(stats::fitLine(std::vector<double>{40, 40, 40}, y, 0.95));
    EXPECT_FALSE(stats::fitLine(x, std::vector<double>{850, 860}, 0.95));
    EXPECT_FALSE(stats::fitLine(std::vector<double>{40, nan, 41}, y, 0.95));
}

stats::LineFit fitOf(double slope, double low, double high)
{
    stats::LineFit fit;
    fit.slope = slope;
    fit.slopeInterval = {low, high};
    return fit;
}

// Steps of 0.3 at 100 per unit predict 30; flat is a change below 15.
TEST(Regression, FlatSpots)
{
    using Runs = std::vector<std::pair<std::size_t, std::size_t>>;
    const std::vector<double> ladder{40.0, 40.3, 40.6, 40.9, 41.2, 41.5};
    const std::vector<double> plateau{2800, 2830, 2860, 2864, 2866, 2900};
    const std::tuple<const char*, std::vector<double>, std::vector<double>, stats::LineFit, Runs>
        cases[] = {
            // clang-format off
            {"a plateau over three strings", ladder, plateau, fitOf(100, 80, 120), {{2, 4}}},
            {"the slope's interval through 0", ladder, plateau, fitOf(100, -5, 205), {}},
            {"two plateaus, falling", ladder, {2900, 2890, 2850, 2810, 2805, 2812},
             fitOf(-100, -120, -80), {{0, 1}, {3, 5}}},
            {"exactly half is not flat", {40, 40.5, 41}, {2800, 2815, 2845}, fitOf(60, 50, 70), {}},
            {"unequal steps: 0.1 predicts 10, 0.5 predicts 50", {40.0, 40.1, 40.6, 40.7},
             {2800, 2806, 2830, 2836}, fitOf(100, 80, 120), {{1, 2}}},
            {"two strings only", {40, 41}, {2800, 2801}, fitOf(100, 50, 150), {{0, 1}}},
            {"lengths differ", {40, 41, 42}, {2800, 2801}, fitOf(100, 50, 150), {}},
            // clang-format on
        };
    for (const auto& [what, x, means, fit, expected] : cases) {
        Runs runs;
        for (const stats::Run& r : stats::flatSpots(x, means, fit))
            runs.emplace_back(r.first, r.last);
        EXPECT_EQ(runs, expected) << what;
    }
}

} // namespace
