#include "stats/comparison.h"

#include "printed.h"

namespace {

// R's t.test(ts1, ts2), quoted in a worked answer on Welch's interval: t = -1.8325,
// df = 17.9, p-value = 0.08356. A pooled t-test would say 18 degrees of freedom.
const std::vector<double> kTs1{11, 9, 10, 11, 10, 12, 9, 11, 12, 9};
const std::vector<double> kTs2{11, 13, 10, 13, 12, 9, 11, 12, 12, 11};
// stdlib's vartest example: F ≈ 1.976 and p ≈ 0.3992 with 5 and 7 degrees of freedom.
const std::vector<double> kX{610, 610, 550, 590, 565, 570};
const std::vector<double> kY{560, 550, 580, 550, 560, 590, 550, 590};
const std::vector<double> kSame{850, 850, 850};

TEST(Comparison, WelchTest)
{
    const auto r = stats::welchTest(kTs1, kTs2).value();
    const auto swapped = stats::welchTest(kTs2, kTs1).value();
    expectPrinted({r.t, r.df, r.p, swapped.t}, "-1.8325 17.9 0.08356 1.8325");
    // Unequal sizes, by hand: the means' variances 617.5/6 and 312.5/8 sum to 141.979;
    // t = 16.25/√141.979, df = 141.979²/(102.917²/5 + 39.0625²/7).
    const auto unequal = stats::welchTest(kX, kY).value();
    // One string without spread still has a mean: all the error is the other's, df n - 1.
    const auto oneSpread = stats::welchTest(kSame, kTs1).value();
    expectPrinted({unequal.t, unequal.df, oneSpread.df}, "1.364 8.63 9.000");

    EXPECT_FALSE(stats::welchTest(kSame, std::vector<double>{851, 851}));
    EXPECT_FALSE(stats::welchTest(std::vector<double>{850}, kTs1));
}

TEST(Comparison, FTest)
{
    // Two-sided: the samples swapped give the reciprocal and the same p.
    const auto r = stats::fTest(kX, kY).value();
    const auto swapped = stats::fTest(kY, kX).value();
    expectPrinted({r.f, r.df1, r.df2, r.p, swapped.f, swapped.df1, swapped.p},
                  "1.976 5 7 0.3992 0.5061 7 0.3992");

    EXPECT_FALSE(stats::fTest(kSame, kX));
    EXPECT_FALSE(stats::fTest(kX, kSame));
    EXPECT_FALSE(stats::fTest(std::vector<double>{850}, kX));
}

} // namespace
