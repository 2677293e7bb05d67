#include "stats/confidencetexts.h"

#include "runtime/numberformat.h"

namespace stats {

namespace {

// All fifteen trustworthy digits: a figure is rounded once, to its decimals, never cut.
constexpr int kAllDigits = 15;

std::string figure(double v)
{
    return rt::formatFloat(v, rt::FloatFormat::Fixed, kAllDigits, 1);
}

// A whole target as "9", any other as typed: "0,5".
std::string target(double v)
{
    return rt::formatFloat(v, rt::FloatFormat::General, kAllDigits, 0);
}

} // namespace

std::string levelText(double level)
{
    // Four digits keep 99.5 % and drop the binary noise of 0.95 × 100.
    return rt::formatFloat(level * 100, rt::FloatFormat::General, 4, 0) + " %";
}

std::string rangeText(const Interval& range)
{
    return figure(range.low) + " \u2013 " + figure(range.high);
}

ConfidenceTexts formatConfidence(const ConfidenceFigures& f, const ConfidenceCaptions& captions,
                                 std::string_view unit, std::string_view flyerShot)
{
    const std::string level = levelText(f.level);
    const std::string none(kNoConfidenceFigure);
    ConfidenceTexts t;
    t.meanCaption = std::string(captions.mean) + " " + level;
    t.sdCaption = std::string(captions.sd) + " " + level;
    t.meanRange = f.meanRange ? rangeText(*f.meanRange) : none;
    t.sdRange = f.sdRange ? rangeText(*f.sdRange) : none;

    t.shotsNeededCaption = "Shots for \u00B1";
    if (f.target > 0)
        t.shotsNeededCaption += target(f.target) + " " + std::string(unit);
    else
        t.shotsNeededCaption += "x";
    if (f.shotsNeeded)
        t.shotsNeeded = std::to_string(*f.shotsNeeded);
    else if (f.mean && f.target > 0)
        t.shotsNeeded = "> " + std::to_string(kMostShotsNeeded);
    else
        t.shotsNeeded = none;

    const std::string test = "(Grubbs, " + level + ")";
    if (f.grubbs && f.grubbs->outlier)
        t.flyer = "Shot " + std::string(flyerShot) + " may be a flyer " + test;
    else if (f.grubbs)
        t.flyer = "Flyer " + test + ": none";
    else
        t.flyer = "Flyer " + test + ": " + none;
    return t;
}

} // namespace stats
