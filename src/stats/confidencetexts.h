#pragma once

#include "stats/confidence.h"

#include <string>
#include <string_view>

// The confidence figures as the panel, the CSV and the report show them, with the program's
// decimal separator: "Mean 95 %" "849,7 – 853,7", "SD 95 %" "1,9 – 5,0", "Shots for ±9 m/s"
// "12", "Shot 7 may be a flyer (Grubbs, 95 %)".
namespace stats {

struct ConfidenceCaptions {
    std::string_view mean, sd;
};
inline constexpr ConfidenceCaptions kAllShotsConfidence{"Mean", "SD"};
inline constexpr ConfidenceCaptions kSelectionConfidence{"Selected mean", "Selected SD"};

// Where a figure needs more shots than the string has, as the panel's other figures.
inline constexpr std::string_view kNoConfidenceFigure = "\u2014";

struct ConfidenceTexts {
    // "Mean 95 %", "SD 95 %"
    std::string meanCaption;
    std::string meanRange;
    std::string sdCaption;
    std::string sdRange;
    // "Shots for ±9 m/s"
    std::string shotsNeededCaption;
    // "12"; "> 1000000" beyond what is searched.
    std::string shotsNeeded;
    // "Shot 7 may be a flyer (Grubbs, 95 %)", "Flyer (Grubbs, 95 %): none", or with a
    // figure missing "Flyer (Grubbs, 95 %): —".
    std::string flyer;
};

// "95 %"
std::string levelText(double level);
// "849,7 – 853,7": both ends with one decimal, as the velocity figures.
std::string rangeText(const Interval& range);

// flyerShot names the value at grubbs->index as the table numbers it ("7"). A range of rows
// without any (an empty table) shows no figure at all: callers then show empty texts, as for
// the other statistics.
ConfidenceTexts formatConfidence(const ConfidenceFigures& figures,
                                 const ConfidenceCaptions& captions, std::string_view unit,
                                 std::string_view flyerShot);

} // namespace stats
