#pragma once

#include "session/ladder.h"
#include "stats/comparison.h"

#include <cstddef>
#include <optional>
#include <string>

// Two strings of a load test side by side: did the change of load move the mean, or the
// spread, beyond what chance gives two strings of their size? Welch's t-test on the means and
// the F-test on the SDs, at the figures' confidence level, each said in one plain sentence.
namespace session {

struct StringComparison {
    // Indexes in LoadTest::strings.
    std::size_t first = 0;
    std::size_t second = 0;
    // Each string has at least two included shots; without them neither test exists.
    bool enoughShots = false;
    // Absent where the test has no answer (stats/comparison.h): no scatter in a string.
    std::optional<stats::WelchResult> welch;
    std::optional<stats::FTestResult> fTest;
    // "Mean 851,7 vs 848,2 is a shown difference (p = 0,021)"
    std::string meanSentence;
    // "SD 8,2 vs 11,0 is not a shown difference (p = 0,39)"
    std::string sdSentence;
};

// From the strings' figures, in their units and at their level.
StringComparison compareStrings(const LadderFigures& figures, std::size_t first,
                                std::size_t second);

// A p-value with two significant digits, and more where two would round it across the
// test's threshold alpha, so that a shown difference never reads "p = 0,050" at 95 %.
// Below 0,0001: "< 0,0001".
std::string pValueText(double p, double alpha);

} // namespace session
