// Lists as pasted from a spreadsheet: one velocity a line, or a table separated by tabs,
// semicolons or commas whose header names the velocity column, perhaps with its unit.

#include "imports/fields.h"
#include "imports/readers.h"
#include "imports/velocitycolumn.h"
#include "runtime/asciitext.h"
#include "runtime/errors.h"

namespace imports {

namespace {

// ImportLines refuses lines with a NUL, so splitting at one keeps the line one field.
constexpr char kNoSeparator = '\0';

struct Layout {
    bool header = false;
    char separator = kNoSeparator;
    std::size_t column = 0;
    std::size_t fields = 1;
};

char separatorOf(std::string_view header)
{
    for (char c : {'\t', ';', ','}) {
        if (header.find(c) != std::string_view::npos)
            return c;
    }
    return kNoSeparator;
}

bool isVelocityName(std::string_view name)
{
    for (std::string_view known : {"V", "V0", "Velocity", "Speed"}) {
        if (rt::sameText(name, known))
            return true;
    }
    return false;
}

bool isNumberLine(std::string_view line)
{
    const std::optional<std::vector<std::string>> fields = splitFields(line, kNoSeparator);
    return fields && number(fields->front());
}

Layout headerLayout(ImportLines& lines, std::string_view line, VelocityUnit& unit)
{
    Layout layout;
    layout.header = true;
    layout.separator = separatorOf(line);
    const std::optional<std::vector<std::string>> header = splitFields(line, layout.separator);
    for (std::size_t i = 0; header && i < header->size(); ++i) {
        std::string_view name;
        const std::optional<std::string_view> unitText = unitInParentheses((*header)[i], &name);
        if (!isVelocityName(name))
            continue;
        layout.column = i;
        layout.fields = header->size();
        lines.readAs(Format::PlainList);
        if (unitText) {
            unit = velocityUnit(*unitText);
            if (unit == VelocityUnit::Unknown)
                lines.refuse(rt::quoted(*unitText) + " is not a velocity unit");
        }
        return layout;
    }
    lines.refuse("no velocity column");
}

void readRow(ImportLines& lines, const Layout& layout, std::string_view line,
             VelocityColumn& velocities)
{
    const std::vector<std::string> fields = lines.fields(line, layout.separator);
    if (onlyEmptyFields(fields))
        return;
    if (beyondHeader(fields, layout.fields, layout.separator))
        lines.refuse("the line has more fields than the header");
    const std::string_view v = fieldAt(fields, layout.column);
    // Without a header, text among the numbers means the file was never a list.
    if (!layout.header && !number(v))
        throw UnknownFormat(lines.path(), lines.lineNumber());
    velocities.add(lines, v, "velocity");
    lines.countShot();
}

} // namespace

ImportedFile readPlainList(ImportLines& lines)
{
    ImportedSeries series;
    VelocityColumn velocities;
    std::string line;
    if (!lines.nextNonBlank(line))
        lines.refuseAt(1, "no velocities");
    const bool headerless = isNumberLine(line);
    const Layout layout = headerless ? Layout{} : headerLayout(lines, line, series.unit);
    lines.readAs(Format::PlainList);
    if (headerless)
        readRow(lines, layout, line, velocities);

    // A gap in a list without a header is a file of some other kind, such as a measurement
    // file with an empty bullet name.
    std::size_t gap = 0;
    while (lines.next(line)) {
        if (trimmed(line).empty()) {
            gap = gap ? gap : lines.lineNumber();
            continue;
        }
        if (headerless && gap)
            throw UnknownFormat(lines.path(), gap);
        readRow(lines, layout, line, velocities);
    }
    velocities.resolve(lines, series);
    return {Format::PlainList, {std::move(series)}};
}

} // namespace imports
