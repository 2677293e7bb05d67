#pragma once

#include <optional>
#include <span>

// Did a change of load move the mean or the spread, beyond what chance gives two strings?
// Both tests are two-sided and need at least two values in each sample.
namespace stats {

struct WelchResult {
    // (mean a - mean b) / standard error of the difference.
    double t = 0;
    // Welch–Satterthwaite: not a whole number, and between the smaller n - 1 and n_a + n_b - 2.
    double df = 0;
    double p = 0;
};

// Welch's t-test, which does not assume the two loads scatter alike. Absent when both SDs are
// 0: equal means then give 0/0 and different means an infinite t.
std::optional<WelchResult> welchTest(std::span<const double> a, std::span<const double> b);

struct FTestResult {
    // s_a² / s_b².
    double f = 0;
    double df1 = 0;
    double df2 = 0;
    // 2·min(P(F <= f), P(F > f)).
    double p = 0;
};

// The F-test of equal variances. Absent when either SD is 0: the ratio is then 0, infinite or
// 0/0, and swapping the samples must not turn an answer into none.
std::optional<FTestResult> fTest(std::span<const double> a, std::span<const double> b);

} // namespace stats
