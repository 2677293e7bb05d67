// Garmin Xero C1 strings as ShotView writes them: the title, a column header, one line per
// shot, then from the first line starting with '-' a summary. Headers and summary labels
// follow the phone's language, so columns are taken by position and units from parentheses.

#include "imports/datetext.h"
#include "imports/fields.h"
#include "imports/readers.h"
#include "imports/velocitycolumn.h"
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

// The summary's date, "May 11, 2024 at 9:40 AM", found by its value: its label is translated.
std::optional<std::string> summaryDate(const std::vector<std::string>& fields)
{
    const std::string_view value = fieldAt(fields, 1);
    const std::size_t at = value.rfind(" at ");
    const std::optional<std::string> date = isoDate(value.substr(0, at));
    if (!date)
        return std::nullopt;
    return isoDateTime(date,
                       at == std::string_view::npos ? std::nullopt : isoTime(value.substr(at + 4)));
}

// Columns after the speed, by position as the header's language varies: time, clean bore,
// cold bore, shot notes.
constexpr std::size_t kTimeColumn = 5;
constexpr std::size_t kCleanBoreColumn = 6;
constexpr std::size_t kColdBoreColumn = 7;
constexpr std::size_t kNoteColumn = 8;

std::string flagsOf(const std::vector<std::string>& fields)
{
    std::string flags;
    for (const auto& [column, flag] :
         {std::pair{kColdBoreColumn, "cold bore"}, std::pair{kCleanBoreColumn, "clean bore"}}) {
        if (fieldAt(fields, column).empty())
            continue;
        flags += flags.empty() ? "" : ", ";
        flags += flag;
    }
    return flags;
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
    series.details.title = series.name;

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

    VelocityColumn velocities;
    std::vector<ImportedShot> details;
    bool inSummary = false;
    while (lines.next(line)) {
        const std::string_view text = trimmed(line);
        if (text.empty())
            continue;
        if (inSummary) {
            if (const std::optional<double> weight = summaryWeight(lines, text))
                series.weightGrams = weight;
            const std::vector<std::string> fields = lines.fields(text, ',');
            if (const std::optional<std::string> date = summaryDate(fields))
                series.details.dateTime = *date;
            else if (rt::sameText(fieldAt(fields, 0), "SESSION NOTE"))
                series.details.notes = fieldAt(fields, 1);
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
        velocities.add(lines, fieldAt(fields, 1), "speed");
        lines.countShot();
        ImportedShot shot;
        shot.time = isoTime(fieldAt(fields, kTimeColumn)).value_or(std::string());
        shot.flags = flagsOf(fields);
        shot.note = fieldAt(fields, kNoteColumn);
        details.push_back(std::move(shot));
    }
    velocities.resolve(lines, series);
    // The shots' times are of the string's day.
    const std::string day = series.details.dateTime.substr(0, 10);
    for (std::size_t i = 0; i < series.shots.size(); ++i) {
        ImportedShot& shot = series.shots[i];
        shot.time = details[i].time.empty() || day.size() != 10 ? details[i].time
                                                                : day + 'T' + details[i].time;
        shot.flags = std::move(details[i].flags);
        shot.note = std::move(details[i].note);
    }
    return {Format::GarminXero, {std::move(series)}};
}

} // namespace imports
