#include "session/laddertexts.h"

#include "runtime/decimalseparator.h"
#include "runtime/numberformat.h"
#include "table/shotstatistics.h"

#include <algorithm>
#include <cmath>

namespace session {

namespace {

std::string figureOr(const std::optional<double>& value)
{
    return value ? table::formatVelocityFigure(*value) : std::string(table::kNoFigure);
}

std::string signedOr(const std::optional<double>& value)
{
    return value ? signedFigure(*value) : std::string(table::kNoFigure);
}

std::string rangeText(const stats::Interval& range)
{
    return table::formatVelocityFigure(range.low) + " \u2013 " +
           table::formatVelocityFigure(range.high);
}

} // namespace

std::string levelText(double level)
{
    return rt::formatFloat(level * 100, rt::FloatFormat::General, 3, 0) + " %";
}

std::string signedFigure(double value)
{
    const std::string text = table::formatVelocityFigure(value);
    // A figure that rounds to 0 has no sign to show.
    const bool zero = std::all_of(text.begin(), text.end(), [](char ch) {
        return ch == '0' || ch == '-' || ch == rt::decimalSeparator();
    });
    if (zero)
        return table::formatVelocityFigure(0.0);
    return value > 0 ? "+" + text : text;
}

std::string slopeText(const stats::LineFit& fit, const Variable& variable, table::Units units,
                      double level)
{
    return signedFigure(fit.slope) + " " + std::string(table::velocityUnit(units)) + " per " +
           unitInWords(variable) + " (" + levelText(level) + ": " + rangeText(fit.slopeInterval) +
           ")";
}

std::string rSquaredText(const stats::LineFit& fit)
{
    return "R\u00B2 = " +
           (fit.rSquared ? rt::formatTwoDecimal(*fit.rSquared) : std::string(table::kNoFigure));
}

std::string valueShown(const LoadTestString& string)
{
    std::string text = string.value;
    std::replace(text.begin(), text.end(), '.', rt::decimalSeparator());
    return text;
}

std::string stringLabel(const LoadTest& test, std::size_t index)
{
    const LoadTestString& string = test.strings[index];
    if (!string.value.empty())
        return valueShown(string) + (test.variable.unit.empty() ? "" : " " + test.variable.unit);
    if (!string.details.title.empty())
        return string.details.title;
    return "String " + std::to_string(index + 1);
}

std::string variableHeading(const Variable& variable)
{
    return variable.unit.empty() ? variable.name : variable.name + " (" + variable.unit + ")";
}

LadderTable ladderTable(const LoadTest& test, const LadderFigures& figures)
{
    const std::string unit = " (" + std::string(table::velocityUnit(figures.units)) + ")";
    LadderTable t;
    t.header = {variableHeading(test.variable),
                "Shots",
                "Mean" + unit,
                "ES" + unit,
                "SD" + unit,
                "SD " + levelText(figures.level),
                "\u0394 Mean" + unit,
                std::string(table::velocityUnit(figures.units)) + " per " +
                    unitInWords(test.variable),
                "Flat spot"};
    t.rows.reserve(figures.rows.size());
    for (const StringFigures& f : figures.rows) {
        auto& row = t.rows.emplace_back();
        row[LadderValue] = valueShown(test.strings[f.string]);
        row[LadderShots] = std::to_string(f.velocities.size());
        row[LadderMean] = figureOr(f.mean);
        row[LadderES] = figureOr(f.extremeSpread);
        row[LadderSD] = figureOr(f.sd);
        row[LadderSDRange] =
            f.sdInterval ? rangeText(*f.sdInterval) : std::string(table::kNoFigure);
        row[LadderMeanChange] = signedOr(f.meanChange);
        row[LadderGain] = signedOr(f.gainPerUnit);
        row[LadderFlat] = f.flat ? kFlatMark : "";
    }
    return t;
}

} // namespace session
