// The program's own "Table as CSV": the rows as shown, with the shots' details in columns of
// their own where it has any, a blank line, the string's details, then the statistics. The
// rows come back as shots with their details, the string's lines as its details; the
// statistics below them are never read as velocities.

#include "imports/fields.h"
#include "imports/readers.h"
#include "imports/velocitycolumn.h"
#include "runtime/asciitext.h"
#include "runtime/errors.h"
#include "runtime/textfile.h"

#include <algorithm>
#include <span>

namespace imports {

namespace {

constexpr std::size_t kNoColumn = static_cast<std::size_t>(-1);

struct TableLayout {
    char separator = ';';
    VelocityUnit unit = VelocityUnit::Unknown;
    bool grains = false;
    // The shot-detail columns after the six, where the file has them.
    std::size_t time = kNoColumn;
    std::size_t excluded = kNoColumn;
    std::size_t flags = kNoColumn;
    std::size_t note = kNoColumn;
};

void findDetailColumns(const std::vector<std::string>& header, TableLayout& layout)
{
    const std::pair<std::string_view, std::size_t TableLayout::*> columns[] = {
        {"Time", &TableLayout::time},
        {"Excluded", &TableLayout::excluded},
        {"Flags", &TableLayout::flags},
        {"Note", &TableLayout::note}};
    for (std::size_t i = 6; i < header.size(); ++i) {
        for (const auto& [name, column] : columns) {
            if (header[i] == name)
                layout.*column = i;
        }
    }
}

std::optional<TableLayout> tableLayout(std::string_view line)
{
    for (const char separator : {';', ','}) {
        const std::optional<std::vector<std::string>> header = splitFields(line, separator);
        if (!header || header->size() < 6 || (*header)[0] != "N" || (*header)[4] != "Bullet" ||
            (*header)[5] != "dV (%)")
            continue;
        std::string_view name;
        const std::optional<std::string_view> velocity = unitInParentheses((*header)[1], &name);
        std::string_view weightName;
        const std::optional<std::string_view> weight = unitInParentheses((*header)[3], &weightName);
        if (name != "V" || !velocity || weightName != "m" || !weight)
            continue;
        TableLayout layout{separator, velocityUnit(*velocity), *weight == "gr"};
        if (layout.unit == VelocityUnit::Unknown)
            continue;
        findDetailColumns(*header, layout);
        return layout;
    }
    return std::nullopt;
}

// The export put an apostrophe before a text a spreadsheet would run as a formula.
std::string_view withoutFormulaGuard(std::string_view text)
{
    if (text.size() > 1 && text.front() == '\'' &&
        std::string_view("=+-@\t\r").find(text[1]) != std::string_view::npos)
        text.remove_prefix(1);
    return text;
}

// The fields of the record that starts with `line`, which takes the lines after it while a
// quoted field is open: notes may hold line breaks. Nothing for a record that does not split.
std::optional<std::vector<std::string>> recordFields(ImportLines& lines, std::string& line,
                                                     char separator)
{
    std::optional<std::vector<std::string>> fields = splitFields(line, separator);
    // An odd count of quotes leaves one open. Split again only once it closes, so that a quote
    // left open over thousands of short lines costs no more than reading them; a record is
    // no longer than a line may be.
    std::size_t quotes = static_cast<std::size_t>(std::count(line.begin(), line.end(), '"'));
    std::string more;
    while (!fields && quotes % 2 == 1 && line.size() < rt::kMaxLineBytes && lines.next(more)) {
        line += '\n';
        line += more;
        quotes += static_cast<std::size_t>(std::count(more.begin(), more.end(), '"'));
        if (quotes % 2 == 0)
            fields = splitFields(line, separator);
    }
    return fields;
}

std::string_view field(const std::vector<std::string>& fields, std::size_t column)
{
    return column == kNoColumn ? std::string_view() : fieldAt(fields, column);
}

// The shot's details from its record; an exclusion or flags the program would not write are
// refused.
ImportedShot shotDetails(const ImportLines& lines, const std::vector<std::string>& fields,
                         const TableLayout& layout)
{
    ImportedShot shot;
    shot.time = field(fields, layout.time);
    const std::string_view excluded = field(fields, layout.excluded);
    if (!excluded.empty() && !rt::sameText(excluded, "yes"))
        lines.refuse(rt::quoted(excluded) + " is not 'yes' or empty under Excluded");
    shot.excluded = !excluded.empty();
    const std::string_view flags = field(fields, layout.flags);
    const std::optional<std::string> known = table::normalizedFlags(flags);
    if (!known)
        lines.refuse(rt::quoted(flags) + " is not a list of shot flags");
    shot.flags = *known;
    shot.note = withoutFormulaGuard(field(fields, layout.note));
    return shot;
}

// The string's lines after the blank line, up to the first that is none: the statistics,
// which are left unread.
void readStringDetails(ImportLines& lines, char separator, table::StringDetails& details)
{
    std::string line;
    while (const std::string* ahead = lines.peek()) {
        if (trimmed(*ahead).empty())
            return;
        lines.next(line);
        const std::optional<std::vector<std::string>> fields = recordFields(lines, line, separator);
        if (!fields)
            return;
        const std::string_view caption = fieldAt(*fields, 0);
        const auto f = std::find_if(
            std::begin(table::kStringDetailFields), std::end(table::kStringDetailFields),
            [caption](const table::StringDetailField& d) { return d.caption == caption; });
        if (f == std::end(table::kStringDetailFields))
            return;
        table::setFieldText(details, *f, withoutFormulaGuard(fieldAt(*fields, 1)));
    }
}

} // namespace

bool startsVexorelTable(ImportLines& lines)
{
    const std::string* first = lines.peek(0);
    return first && tableLayout(*first);
}

ImportedFile readVexorelTable(ImportLines& lines)
{
    lines.readAs(Format::VexorelTable);
    std::string line;
    lines.next(line);
    const TableLayout layout = *tableLayout(line);
    ImportedSeries series;
    series.unit = layout.unit;
    VelocityColumn velocities;
    std::vector<ImportedShot> details;
    // One bullet and weight for the series only where every row has the same.
    std::optional<std::string> bullet, weight;
    bool oneBullet = true, oneWeight = true;
    while (lines.next(line) && !trimmed(line).empty()) {
        const std::size_t first = lines.lineNumber();
        const std::optional<std::vector<std::string>> record =
            recordFields(lines, line, layout.separator);
        if (!record)
            lines.refuseAt(first, "a quote does not close");
        const std::vector<std::string>& fields = *record;
        if (!isShotNumber(fieldAt(fields, 0)))
            lines.refuse(rt::quoted(fieldAt(fields, 0)) + " is not a shot number");
        velocities.add(lines, fieldAt(fields, 1), "velocity");
        lines.countShot();
        details.push_back(shotDetails(lines, fields, layout));
        const auto same = [](std::optional<std::string>& kept, std::string_view text) {
            if (!kept)
                kept = std::string(text);
            return *kept == text;
        };
        oneWeight = same(weight, fieldAt(fields, 3)) && oneWeight;
        oneBullet = same(bullet, withoutFormulaGuard(fieldAt(fields, 4))) && oneBullet;
    }
    velocities.resolve(lines, series);
    for (std::size_t i = 0; i < series.shots.size(); ++i) {
        details[i].velocity = std::move(series.shots[i].velocity);
        details[i].line = series.shots[i].line;
        series.shots[i] = std::move(details[i]);
    }
    readStringDetails(lines, layout.separator, series.details);
    if (oneBullet && bullet)
        series.name = *bullet;
    if (oneWeight && weight && !weight->empty()) {
        const std::optional<double> grams = weightInGrams(*weight, layout.grains);
        if (grams && *grams > 0)
            series.weightGrams = grams;
    }
    return {Format::VexorelTable, {std::move(series)}};
}

} // namespace imports
