// MagnetoSpeed LOG.CSV: many series, each a "Series,<n>, Shots:, <count>" line, summary
// lines, the shot header, one line per shot with its unit, and a "----" line. Fields carry
// padding. The summary is ignored: its average is cut to a whole number.

#include "imports/fields.h"
#include "imports/readers.h"
#include "imports/velocitycolumn.h"
#include "runtime/asciitext.h"
#include "runtime/convert.h"
#include "runtime/errors.h"

#include <algorithm>

namespace imports {

namespace {

std::optional<int> seriesNumber(std::string_view text)
{
    if (!isShotNumber(text))
        return std::nullopt;
    try {
        return rt::strToInt(text);
    } catch (const rt::ConvertError&) {
        return std::nullopt;
    }
}

std::optional<int> seriesStart(const std::vector<std::string>& fields)
{
    if (fields.size() < 4 || !rt::sameText(fields[0], "Series") ||
        !rt::sameText(fields[2], "Shots:") || !isShotNumber(fields[3]))
        return std::nullopt;
    return seriesNumber(fields[1]);
}

bool isSummaryLine(const std::vector<std::string>& fields)
{
    for (std::string_view label : {"Min", "Max", "Avg", "S-D", "ES"}) {
        if (rt::sameText(fields[0], label))
            return true;
    }
    return false;
}

bool isShotHeader(const std::vector<std::string>& fields)
{
    return fields.size() >= 3 && rt::sameText(fields[0], "Series") &&
           rt::sameText(fields[1], "Shot") && rt::sameText(fields[2], "Speed");
}

bool isEndLine(const std::vector<std::string>& fields)
{
    const std::string& first = fields[0];
    return !first.empty() &&
           std::all_of(first.begin(), first.end(), [](char c) { return c == '-'; });
}

void readShot(ImportLines& lines, const std::vector<std::string>& fields, int number,
              ImportedSeries& series, VelocityColumn& velocities)
{
    if (fields.size() < 4 || seriesNumber(fields[0]) != number)
        lines.refuse("the line is not a shot of series " + std::to_string(number));
    if (!isShotNumber(fields[1]))
        lines.refuse(rt::quoted(fields[1]) + " is not a shot number");
    velocities.add(lines, fields[2], "speed");
    const VelocityUnit unit = velocityUnit(fields[3]);
    if (unit == VelocityUnit::Unknown)
        lines.refuse(rt::quoted(fields[3]) + " is not a velocity unit");
    if (velocities.size() == 1)
        series.unit = unit;
    else if (unit != series.unit)
        lines.refuse("the unit changes within the series");
    lines.countShot();
}

} // namespace

bool startsMagnetoSpeedLog(ImportLines& lines)
{
    const std::string* first = lines.peek(0);
    if (!first)
        return false;
    const std::optional<std::vector<std::string>> fields = splitFields(*first, ',');
    return fields && seriesStart(*fields);
}

ImportedFile readMagnetoSpeed(ImportLines& lines)
{
    lines.readAs(Format::MagnetoSpeed);
    ImportedFile file{Format::MagnetoSpeed, {}};
    std::vector<VelocityColumn> velocities;
    enum class Part { BetweenSeries, Summary, Shots } part = Part::BetweenSeries;
    int number = 0;
    std::string line;
    // A log cut short by a pulled card ends its last series where it stops.
    while (lines.nextNonBlank(line)) {
        const std::vector<std::string> fields = lines.fields(line, ',');
        switch (part) {
        case Part::BetweenSeries: {
            const std::optional<int> start = seriesStart(fields);
            if (!start)
                lines.refuse("a series does not start with 'Series,<number>, Shots:, <count>'");
            if (file.series.size() == kMaxImportShots)
                lines.refuse("more than " + std::to_string(kMaxImportShots) + " series");
            number = *start;
            ImportedSeries series;
            series.name = "Series " + std::to_string(number);
            series.details.title = series.name;
            file.series.push_back(std::move(series));
            velocities.emplace_back();
            part = Part::Summary;
            break;
        }
        case Part::Summary:
            if (isShotHeader(fields))
                part = Part::Shots;
            else if (!isSummaryLine(fields))
                lines.refuse(rt::quoted(trimmed(line)) + " is neither a summary line nor "
                                                         "the header 'Series,Shot,Speed'");
            break;
        case Part::Shots:
            if (isEndLine(fields))
                part = Part::BetweenSeries;
            else
                readShot(lines, fields, number, file.series.back(), velocities.back());
            break;
        }
    }
    if (file.series.empty())
        lines.refuse("the file holds no series");
    for (std::size_t i = 0; i < file.series.size(); ++i)
        velocities[i].resolve(lines, file.series[i]);
    return file;
}

} // namespace imports
