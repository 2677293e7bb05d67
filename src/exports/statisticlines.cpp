#include "exports/statisticlines.h"

#include "exports/shotconfidence.h"
#include "exports/shotfields.h"
#include "table/shotstatistics.h"

namespace exports {

namespace {

using table::Units;

std::string text(std::string_view s)
{
    return std::string(s);
}

void addLabels(std::vector<StatisticLine>& lines, const table::Statistics& s, Units units)
{
    const auto velocity = [units](double v) {
        return units == Units::Imperial ? table::feetPerSecond(v) : v;
    };
    const auto energy = [&s, units](double e) {
        if (!s.energyValid)
            return std::string();
        return fixed(units == Units::Imperial ? table::footPounds(e) : e, 2);
    };
    const std::string vUnit = text(table::velocityUnit(units));
    const std::string eUnit = text(table::energyUnit(units));
    const auto& captions = table::kStatisticsCaptions;
    // The labels' own formats: whole extremes, two decimals for the rest.
    lines.push_back({text(captions[0]), fixed(velocity(s.maxVelocity), 0), vUnit});
    lines.push_back({text(captions[1]), fixed(velocity(s.minVelocity), 0), vUnit});
    lines.push_back({text(captions[2]), fixed(velocity(s.meanVelocity), 2), vUnit});
    lines.push_back({text(captions[3]), energy(s.maxEnergy), eUnit});
    lines.push_back({text(captions[4]), energy(s.minEnergy), eUnit});
    lines.push_back({text(captions[5]), energy(s.meanEnergy), eUnit});
}

void addFigures(std::vector<StatisticLine>& lines, const table::ShotStatistics& s,
                const table::ShotStatisticsCaptions& captions, Units units)
{
    const std::string vUnit = text(table::velocityUnit(units));
    const bool any = s.shots > 0;
    const auto figure = [any](double v) { return any ? table::formatVelocityFigure(v) : ""; };
    lines.push_back({text(captions.shots), std::to_string(s.shots), {}});
    lines.push_back({text(captions.mean), figure(s.mean), vUnit});
    lines.push_back({text(captions.extremeSpread), figure(s.extremeSpread), vUnit});
    lines.push_back({text(captions.standardDeviation),
                     s.standardDeviation ? figure(*s.standardDeviation) : std::string(), vUnit});
    lines.push_back({text(captions.populationDeviation),
                     s.populationDeviation ? figure(*s.populationDeviation) : std::string(),
                     vUnit});
    if (!captions.coefficientOfVariation.empty())
        lines.push_back(
            {text(captions.coefficientOfVariation),
             s.coefficientOfVariation ? fixed(*s.coefficientOfVariation, 2) : std::string(), "%"});
    if (!captions.median.empty())
        lines.push_back({text(captions.median), figure(s.median), vUnit});
}

// The panel's dash is no value to a spreadsheet.
std::string figureText(const std::string& s)
{
    return s == stats::kNoConfidenceFigure ? std::string() : s;
}

void addConfidence(std::vector<StatisticLine>& lines, const table::StringGrid& grid,
                   std::size_t top, std::size_t bottom, Units units,
                   const ConfidenceSetting& setting, const stats::ConfidenceCaptions& captions,
                   bool withShotsAndFlyer)
{
    const ShotConfidence c =
        confidenceOver(grid, top, bottom, units, setting.percent, captions, setting.target);
    const std::string vUnit = text(table::velocityUnit(units));
    lines.push_back({c.texts.meanCaption, figureText(c.texts.meanRange), vUnit});
    lines.push_back({c.texts.sdCaption, figureText(c.texts.sdRange), vUnit});
    if (!withShotsAndFlyer)
        return;
    lines.push_back({c.texts.shotsNeededCaption, figureText(c.texts.shotsNeeded), {}});
    // A sentence, as the panel shows it: "Shot 7 may be a flyer (Grubbs, 95 %)".
    lines.push_back({c.texts.flyer, {}, {}});
}

} // namespace

std::vector<StatisticLine> statisticLines(const table::StringGrid& grid,
                                          const table::Statistics* labels, Units units,
                                          std::optional<MarkedRows> marked,
                                          std::optional<ConfidenceSetting> confidence)
{
    const bool anyRow = !table::isEmpty(grid);
    std::vector<StatisticLine> lines;
    if (labels)
        addLabels(lines, *labels, units);

    const table::ShotStatistics all = table::inUnits(table::shotStatistics(grid), units);
    addFigures(lines, all, table::kAllRowsCaptions, units);
    if (all.withoutVelocity > 0)
        lines.push_back({"Rows without a velocity", std::to_string(all.withoutVelocity), {}});
    // The shots stay listed, so the figures say why they count fewer.
    if (all.excluded > 0)
        lines.push_back({"Excluded shots", std::to_string(all.excluded), {}});
    if (confidence && anyRow)
        addConfidence(lines, grid, 1, grid.rowCount() - 1, units, *confidence,
                      stats::kAllShotsConfidence, true);

    if (marked && marked->bottom > marked->top) {
        // An en dash, so no spreadsheet takes the rows for a date.
        lines.push_back({"Selected rows",
                         std::to_string(marked->top) + "\u2013" + std::to_string(marked->bottom),
                         {}});
        const table::ShotStatistics selected =
            table::inUnits(table::shotStatistics(grid, marked->top, marked->bottom), units);
        addFigures(lines, selected, table::kSelectionCaptions, units);
        if (selected.excluded > 0)
            lines.push_back({"Selected excluded shots", std::to_string(selected.excluded), {}});
        if (confidence && anyRow)
            addConfidence(lines, grid, marked->top, marked->bottom, units, *confidence,
                          stats::kSelectionConfidence, false);
    }
    return lines;
}

} // namespace exports
