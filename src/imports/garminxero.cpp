// Garmin Xero C1 strings as ShotView writes them: the title, a column header, one line per
// shot, then from the first line starting with '-' a summary. Headers and summary labels
// follow the phone's language, so columns are taken by position and units from parentheses.

#include "imports/fields.h"
#include "imports/readers.h"
#include "runtime/asciitext.h"
#include "runtime/errors.h"

namespace imports {

namespace {

// The whole first line: an unquoted title may hold commas ("Marlin,.357, 15,3grs W296").
std::string title(std::string_view line)
{
    line = trimmed(line);
    const std::optional<std::vector<std::string>> fields = splitFields(line, ',');
    if (fields && fields->size() == 1)
        return std::move(fields->front());
    return std::string(line);
}

std::optional<std::vector<std::string>> columnHeader(std::string_view line)
{
    std::optional<std::vector<std::string>> fields = splitFields(line, ',');
    if (!fields || fields->size() < 2 || fields->front() != "#")
        return std::nullopt;
    return fields;
}

// The summary is for display only, except the projectile weight, whose label ends in a
// unit of grains: "(GRAINS)", "(GRAN)", ...
std::optional<double> summaryWeight(ImportLines& lines, std::string_view line)
{
    const std::optional<std::string_view> unit = unitInParentheses(line.substr(0, line.find(',')));
    if (!unit || !rt::upperAscii(*unit).starts_with("GR"))
        return std::nullopt;
    const std::vector<std::string> fields = lines.fields(line, ',');
    const std::string_view m = fieldAt(fields, 1);
    if (m.empty())
        return std::nullopt;
    const std::optional<double> grams = weightInGrams(m, true);
    if (!grams)
        lines.refuse(rt::quoted(m) + " is not a projectile weight");
    if (*grams == 0)
        return std::nullopt;
    return grams;
}

} // namespace

bool startsGarminXero(ImportLines& lines)
{
    const std::string* second = lines.peek(1);
    return second && columnHeader(*second);
}

ImportedFile readGarminXero(ImportLines& lines)
{
    lines.readAs(Format::GarminXero);
    ImportedSeries series;
    std::string line;
    if (!lines.next(line))
        lines.refuseAt(1, "the file is empty");
    series.name = title(line);

    if (!lines.next(line))
        lines.refuse("the file ends before the column header");
    const std::optional<std::vector<std::string>> header = columnHeader(line);
    if (!header)
        lines.refuse("the column header '#,SPEED (FPS),...' is missing");
    const std::string_view speed = (*header)[1];
    const std::optional<std::string_view> unit = unitInParentheses(speed);
    series.unit = unit ? velocityUnit(*unit) : VelocityUnit::Unknown;
    if (series.unit == VelocityUnit::Unknown)
        lines.refuse("the speed column " + rt::quoted(speed) + " names no unit of FPS or MPS");

    bool inSummary = false;
    while (lines.next(line)) {
        const std::string_view text = trimmed(line);
        if (text.empty())
            continue;
        if (inSummary) {
            if (const std::optional<double> weight = summaryWeight(lines, text))
                series.weightGrams = weight;
            continue;
        }
        if (text.front() == '-') {
            inSummary = true;
            continue;
        }
        const std::vector<std::string> fields = lines.fields(text, ',');
        if (beyondHeader(fields, header->size(), ','))
            lines.refuse("the line has more fields than the column header");
        if (!isShotNumber(fields[0]))
            lines.refuse(rt::quoted(fields[0]) + " is not a shot number");
        const std::string_view v = fieldAt(fields, 1);
        const std::optional<double> value = velocity(v);
        if (!value)
            lines.refuse(rt::quoted(v) + " is not a speed");
        lines.countShot();
        series.velocities.push_back(*value);
    }
    return {Format::GarminXero, {std::move(series)}};
}

} // namespace imports
