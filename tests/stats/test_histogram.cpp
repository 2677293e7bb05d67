#include "stats/histogram.h"

#include "printed.h"

#include <limits>

namespace {

const std::vector<double> kWhole{859, 850, 858, 851, 857, 852, 856, 853, 855, 854};

// By hand: h = (n - 1)p, then between the neighbouring order statistics.
TEST(Histogram, QuartilesInterpolateLinearly)
{
    for (const auto& [values, expected] :
         {std::pair{std::vector<double>{4, 1, 3, 2}, "1.75 2.5 3.25"},
          std::pair{kWhole, "852.25 854.5 856.75"}}) {
        const auto q = stats::quartiles(values).value();
        expectPrinted({q.q1, q.median, q.q3}, expected);
    }
    EXPECT_EQ(stats::quartiles(std::vector<double>{7})->q3, 7);
    EXPECT_FALSE(stats::quartiles({}));
}

// Widths by hand from 2·IQR/∛n, the resolution and the 1-2-5 steps; edges at multiples.
TEST(Histogram, BinsOnRoundEdges)
{
    // 65,533 shots at 850 and one each at 0 and 10,000.
    std::vector<double> wide(65533, 850);
    wide.insert(wide.end(), {0, 10000});
    std::vector<std::size_t> wideCounts(51, 0);
    wideCounts[0] = wideCounts[50] = 1;
    wideCounts[4] = 65533;
    const std::tuple<const char*, std::vector<double>, double, double, double,
                     std::vector<std::size_t>>
        cases[] = {
            // clang-format off
            {"whole m/s, IQR 4.5: 4.18 up to 5; 855 opens the second bin",
             kWhole, 1, 850, 5, {5, 5}},
            {"one decimal, IQR 0.175: 0.162 up to 0.2; 850.2, .4 and .6 open bins",
             {850.3, 850.1, 850.2, 850.4, 850.2, 850.3, 850.6, 850.3, 850.5, 850.4}, 0.1, 850, 0.2,
             {1, 5, 3, 1}},
            {"IQR 0: the resolution is the width", {850, 850, 851, 850, 850}, 1, 850, 1, {4, 1}},
            {"IQR 0.075, 0.1 wide: 800.3 / 0.1 is 8002.99..., yet 800.3 is an edge",
             {800.3, 800.9, 800.3, 800.4, 800.3, 800.3}, 0.1, 800.3, 0.1, {4, 1, 0, 0, 0, 0, 1}},
            {"one value", {800.3}, 0.1, 800.3, 0.1, {1}},
            {"a resolution of 0.25 rounds up to 0.5", {850, 850.25}, 0.25, 850, 0.5, {2}},
            {"below 0, edges still at multiples", {-0.3, 0.1, -0.1, 0.3}, 0.1, -0.5, 0.5, {2, 2}},
            {"65,535 values: 100 wide gives 101 bins, 200 gives 51", wide, 1, 0, 200, wideCounts},
            // clang-format on
        };
    for (const auto& [what, values, resolution, first, width, counts] : cases) {
        const auto h = stats::histogram(values, resolution).value();
        EXPECT_NEAR(h.first, first, 1e-9) << what;
        EXPECT_DOUBLE_EQ(h.width, width) << what;
        EXPECT_EQ(h.counts, counts) << what;
        EXPECT_EQ(h.values, values.size()) << what;
    }

    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const double resolution : {0.0, -1.0, nan})
        EXPECT_FALSE(stats::histogram(kWhole, resolution)) << resolution;
    EXPECT_FALSE(stats::histogram({}, 1));
    EXPECT_FALSE(stats::histogram(std::vector<double>{850, nan}, 1));
}

// n·width·φ: φ(0) = 0.39894 and φ(1) = 0.24197 from the normal table.
TEST(Histogram, NormalCurveOnTheBarsScale)
{
    const stats::Histogram h{0, 0.5, {}, 100};
    expectPrinted(
        {stats::normalCurve(h, 0, 1, 0).value(), stats::normalCurve(h, 850, 2, 852).value()},
        "19.95 6.05");
    EXPECT_FALSE(stats::normalCurve(h, 850, 0, 850));
}

} // namespace
