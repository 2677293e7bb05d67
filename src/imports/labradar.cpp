// LabRadar series reports: "sep=X", header lines of "name;value;unit;", then a column header
// and one line per shot. Columns are found by name: the distance columns after V0 are the
// user's choice and vary in number.

#include "imports/datetext.h"
#include "imports/fields.h"
#include "imports/readers.h"
#include "imports/velocitycolumn.h"
#include "runtime/asciitext.h"

namespace imports {

namespace {

// SD-card files pad lines with NULs and spaces after the last field, and may start one with
// a NUL.
std::string_view withoutPadding(std::string_view line)
{
    const auto padding = [](char c) { return c == '\0' || c == ' '; };
    while (!line.empty() && padding(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && padding(line.back()))
        line.remove_suffix(1);
    return line;
}

std::optional<char> separatorLine(std::string_view line)
{
    line = withoutPadding(line);
    if (line.size() != 5 || !rt::sameText(line.substr(0, 4), "sep="))
        return std::nullopt;
    if (line[4] != ';' && line[4] != ',')
        return std::nullopt;
    return line[4];
}

bool isTrackHeader(std::string_view line)
{
    line = withoutPadding(line);
    return line.starts_with("Time (") && line.find("Vel (") != std::string_view::npos;
}

std::optional<std::size_t> columnOf(const std::vector<std::string>& header, std::string_view name)
{
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (rt::sameText(header[i], name))
            return i;
    }
    return std::nullopt;
}

struct Units {
    VelocityUnit velocity = VelocityUnit::Unknown;
    std::optional<bool> grains;
    // "Series No;0007": the series' number, without its leading zeros.
    std::string series;
};

// Reads the header lines up to the column header and returns that; only the units matter,
// since every statistic is computed again from the shots.
std::vector<std::string> readHeader(ImportLines& lines, char separator, Units& units)
{
    std::string line;
    while (lines.next(line)) {
        const std::vector<std::string> fields = lines.fields(withoutPadding(line), separator);
        const std::string_view value = fieldAt(fields, 1);
        if (columnOf(fields, "Shot ID"))
            return fields;
        if (rt::sameText(fields[0], "Units velocity")) {
            units.velocity = velocityUnit(value);
            if (units.velocity == VelocityUnit::Unknown)
                lines.refuse(rt::quoted(value) + " is not a velocity unit");
        } else if (rt::sameText(fields[0], "Series No")) {
            const std::size_t digit = value.find_first_not_of('0');
            units.series = digit == std::string_view::npos ? "0" : std::string(value.substr(digit));
        } else if (rt::sameText(fields[0], "Units weight")) {
            if (rt::sameText(value, "grain") || rt::sameText(value, "grains"))
                units.grains = true;
            else if (rt::sameText(value, "gram") || rt::sameText(value, "grams"))
                units.grains = false;
            else
                lines.refuse(rt::quoted(value) + " is not a weight unit");
        }
    }
    lines.refuse("the column header 'Shot ID" + std::string(1, separator) + "V0...' is missing");
}

} // namespace

bool startsLabRadarReport(ImportLines& lines)
{
    const std::string* first = lines.peek(0);
    return first && separatorLine(*first);
}

std::optional<std::size_t> labRadarTrackHeader(ImportLines& lines)
{
    const std::string* first = lines.peek(0);
    if (!first)
        return std::nullopt;
    if (isTrackHeader(*first))
        return 1;
    if (!separatorLine(*first))
        return std::nullopt;
    const std::string* second = lines.peek(1);
    if (second && isTrackHeader(*second))
        return 2;
    return std::nullopt;
}

ImportedFile readLabRadar(ImportLines& lines)
{
    lines.readAs(Format::LabRadar);
    std::string line;
    if (!lines.next(line))
        lines.refuseAt(1, "the file is empty");
    const std::optional<char> separator = separatorLine(line);
    if (!separator)
        lines.refuse("the first line is not 'sep=;' or 'sep=,'");

    Units units;
    const std::vector<std::string> header = readHeader(lines, *separator, units);
    const std::size_t shotColumn = *columnOf(header, "Shot ID");
    const std::optional<std::size_t> velocityColumn = columnOf(header, "V0");
    const std::optional<std::size_t> weightColumn = columnOf(header, "Proj. Weight");
    const std::optional<std::size_t> dateColumn = columnOf(header, "Date");
    const std::optional<std::size_t> timeColumn = columnOf(header, "Time");
    if (!velocityColumn)
        lines.refuse("the column 'V0' is missing");
    if (units.velocity == VelocityUnit::Unknown)
        lines.refuse("the line 'Units velocity' is missing before the shots");

    ImportedSeries series;
    series.unit = units.velocity;
    if (!units.series.empty())
        series.details.title = "Series " + units.series;
    VelocityColumn velocities;
    // Each shot's date and time, as the radar stamped them.
    std::vector<std::string> times;
    // The weight is set per series on the device; rows that disagree name none.
    bool sameWeight = true;
    while (lines.next(line)) {
        if (withoutPadding(line).empty())
            continue;
        std::vector<std::string> fields = lines.fields(withoutPadding(line), *separator);
        // Shot lines end with a separator, the column header not always.
        if (fields.size() > header.size() && fields.back().empty())
            fields.pop_back();
        if (beyondHeader(fields, header.size(), *separator))
            lines.refuse("the line has more fields than the column header");
        const std::string_view shot = fieldAt(fields, shotColumn);
        if (!isShotNumber(shot))
            lines.refuse(rt::quoted(shot) + " is not a shot number");
        velocities.add(lines, fieldAt(fields, *velocityColumn), "velocity");
        times.push_back(
            isoDateTime(dateColumn ? isoDate(fieldAt(fields, *dateColumn)) : std::nullopt,
                        timeColumn ? isoTime(fieldAt(fields, *timeColumn)) : std::nullopt));

        std::optional<double> weight;
        const std::string_view m = weightColumn ? fieldAt(fields, *weightColumn) : "";
        if (!m.empty()) {
            const std::optional<double> grams = weightInGrams(m, units.grains.value_or(false));
            if (!grams)
                lines.refuse(rt::quoted(m) + " is not a projectile weight");
            if (*grams > 0 && !units.grains)
                lines.refuse("the line 'Units weight' is missing before the shots");
            if (*grams > 0)
                weight = grams;
        }
        if (velocities.size() == 1)
            series.weightGrams = weight;
        else if (weight != series.weightGrams)
            sameWeight = false;
        lines.countShot();
    }
    velocities.resolve(lines, series);
    for (std::size_t i = 0; i < series.shots.size(); ++i)
        series.shots[i].time = std::move(times[i]);
    if (!series.shots.empty())
        series.details.dateTime = series.shots.front().time;
    if (!sameWeight)
        series.weightGrams.reset();
    return {Format::LabRadar, {std::move(series)}};
}

} // namespace imports
