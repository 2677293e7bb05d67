#include "table/units.h"

#include "runtime/convert.h"
#include "runtime/decimalseparator.h"
#include "runtime/numberformat.h"
#include "table/measurementtable.h"
#include "table/shotstatistics.h"
#include "table/velocity.h"
#include "table/velocitytext.h"

#include <algorithm>
#include <optional>

namespace table {

namespace {

constexpr int kAllDigits = 15;

} // namespace

double feetPerSecond(double metresPerSecond)
{
    return metresPerSecond / kMetresPerFoot;
}

double metresPerSecond(double feetPerSecond)
{
    return feetPerSecond * kMetresPerFoot;
}

double footPounds(double joules)
{
    return joules / kJoulesPerFootPound;
}

double joules(double footPounds)
{
    return footPounds * kJoulesPerFootPound;
}

double grains(double grams)
{
    return grams / kGramsPerGrain;
}

double grams(double grains)
{
    return grains * kGramsPerGrain;
}

std::string_view velocityUnit(Units units)
{
    return units == Units::Imperial ? "ft/s" : "m/s";
}

std::string_view energyUnit(Units units)
{
    return units == Units::Imperial ? "ft\u00B7lbf" : "J";
}

std::string_view weightUnit(Units units)
{
    return units == Units::Imperial ? "gr" : "g";
}

std::string energyDisplay(std::string_view stored, Units units)
{
    const std::optional<double> e =
        units == Units::Imperial ? rt::parseFloat(stored) : std::nullopt;
    if (!e)
        return std::string(stored);
    return rt::formatFloat(footPounds(*e), rt::FloatFormat::Fixed, kAllDigits, 1);
}

std::string weightDisplay(std::string_view stored, Units units)
{
    const std::optional<double> m =
        units == Units::Imperial ? rt::parseFloat(stored) : std::nullopt;
    if (!m)
        return std::string(stored);
    return rt::formatFloat(grains(*m), rt::FloatFormat::Fixed, kAllDigits, 1);
}

namespace {

std::optional<std::string> weightFieldText(std::string_view text, double factor, int decimals)
{
    const std::optional<double> value = rt::parseFloat(text);
    if (!value || *value < 0)
        return std::nullopt;
    std::string converted =
        rt::formatFloat(*value * factor, rt::FloatFormat::Fixed, kAllDigits, decimals);
    std::replace(converted.begin(), converted.end(), rt::decimalSeparator(), ',');
    return converted;
}

} // namespace

std::optional<std::string> weightFieldGrains(std::string_view grams)
{
    return weightFieldText(grams, 1 / kGramsPerGrain, 1);
}

std::optional<std::string> weightFieldGrams(std::string_view grains)
{
    return weightFieldText(grains, kGramsPerGrain, 3);
}

std::string measurementCellDisplay(const StringGrid& grid, std::size_t col, std::size_t row,
                                   Units units)
{
    const std::string_view stored = grid.cell(col, row);
    if (row == 0) {
        if (units == Units::Metric)
            return std::string(stored);
        switch (col) {
        case ColV:
            return "V (ft/s)";
        case ColE:
            return "E (ft\u00B7lbf)";
        case ColM:
            return "m (gr)";
        default:
            return std::string(stored);
        }
    }
    switch (col) {
    case ColV:
        return velocityShown(stored, grid.numbers().velocity(row), units,
                             grid.numbers().velocityDecimals(units));
    case ColE:
        return energyDisplay(stored, units);
    case ColM:
        return weightDisplay(stored, units);
    default:
        return std::string(stored);
    }
}

StatisticsLabels statisticsLabels(const Statistics& s, Units units)
{
    if (units == Units::Metric)
        return {s.vMax, s.vMin, s.vMean, s.eMax, s.eMin, s.eMean};
    StatisticsLabels l;
    l.vMax = rt::formatInteger(feetPerSecond(s.maxVelocity));
    l.vMin = rt::formatInteger(feetPerSecond(s.minVelocity));
    l.vMean = rt::formatTwoDecimal(feetPerSecond(s.meanVelocity));
    if (s.energyValid) {
        l.eMax = rt::formatTwoDecimal(footPounds(s.maxEnergy));
        l.eMin = rt::formatTwoDecimal(footPounds(s.minEnergy));
        l.eMean = rt::formatTwoDecimal(footPounds(s.meanEnergy));
    } else {
        l.eMax = l.eMin = l.eMean = s.eMax;
    }
    return l;
}

ShotStatistics inUnits(const ShotStatistics& s, Units units)
{
    if (units == Units::Metric)
        return s;
    ShotStatistics c = s;
    c.mean = feetPerSecond(s.mean);
    c.extremeSpread = feetPerSecond(s.extremeSpread);
    c.lowest = feetPerSecond(s.lowest);
    c.highest = feetPerSecond(s.highest);
    c.median = feetPerSecond(s.median);
    if (s.standardDeviation)
        c.standardDeviation = feetPerSecond(*s.standardDeviation);
    if (s.populationDeviation)
        c.populationDeviation = feetPerSecond(*s.populationDeviation);
    return c;
}

} // namespace table
