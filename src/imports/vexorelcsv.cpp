// The program's own "Table as CSV": the rows as shown, a blank line, then the statistics. The
// rows come back as shots; the statistics below them are never read as velocities.

#include "imports/fields.h"
#include "imports/readers.h"
#include "imports/velocitycolumn.h"
#include "runtime/errors.h"

namespace imports {

namespace {

struct TableLayout {
    char separator = ';';
    VelocityUnit unit = VelocityUnit::Unknown;
    bool grains = false;
};

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
        if (layout.unit != VelocityUnit::Unknown)
            return layout;
    }
    return std::nullopt;
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
    // One bullet and weight for the series only where every row has the same.
    std::optional<std::string> bullet, weight;
    bool oneBullet = true, oneWeight = true;
    while (lines.next(line) && !trimmed(line).empty()) {
        const std::vector<std::string> fields = lines.fields(line, layout.separator);
        if (!isShotNumber(fieldAt(fields, 0)))
            lines.refuse(rt::quoted(fieldAt(fields, 0)) + " is not a shot number");
        velocities.add(lines, fieldAt(fields, 1), "velocity");
        lines.countShot();
        const auto same = [](std::optional<std::string>& kept, std::string_view text) {
            if (!kept)
                kept = std::string(text);
            return *kept == text;
        };
        oneWeight = same(weight, fieldAt(fields, 3)) && oneWeight;
        // A name a spreadsheet would run as a formula was written with an apostrophe.
        std::string_view name = fieldAt(fields, 4);
        if (name.size() > 1 && name.front() == '\'')
            name.remove_prefix(1);
        oneBullet = same(bullet, name) && oneBullet;
    }
    velocities.resolve(lines, series);
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
