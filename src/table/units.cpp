#include "table/units.h"

#include "runtime/convert.h"
#include "runtime/numberformat.h"
#include "table/measurementtable.h"
#include "table/shotstatistics.h"
#include "table/velocity.h"

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

std::string velocityDisplay(std::string_view stored, Units units)
{
    const std::optional<double> v = units == Units::Imperial ? velocityValue(stored) : std::nullopt;
    if (!v)
        return std::string(stored);
    return rt::formatFloat(feetPerSecond(*v), rt::FloatFormat::Fixed, kAllDigits,
                           isWholeVelocity(stored) ? 0 : 1);
}

std::string energyDisplay(std::string_view stored, Units units)
{
    const std::optional<double> e =
        units == Units::Imperial ? rt::tryStrToFloat(stored) : std::nullopt;
    if (!e)
        return std::string(stored);
    return rt::formatEnergy(footPounds(*e));
}

std::string weightDisplay(std::string_view stored, Units units)
{
    const std::optional<double> m =
        units == Units::Imperial ? rt::tryStrToFloat(stored) : std::nullopt;
    if (!m)
        return std::string(stored);
    return rt::formatFloat(grains(*m), rt::FloatFormat::Fixed, kAllDigits, 1);
}

std::string measurementCellDisplay(std::size_t col, std::size_t row, std::string_view stored,
                                   Units units)
{
    if (units == Units::Metric)
        return std::string(stored);
    if (row == 0) {
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
        return velocityDisplay(stored, units);
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
    return c;
}

} // namespace table
