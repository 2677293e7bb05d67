#include "imports/importfile.h"

#include "runtime/decimalseparator.h"
#include "runtime/encoding.h"
#include "runtime/numberformat.h"
#include "table/bulletlist.h"
#include "table/cellrows.h"
#include "table/measurementtable.h"
#include "table/units.h"

#include <array>

namespace imports {

namespace {

constexpr int kAllDigits = 15;

// One decimal, unless it is 0: whole m/s from the file stay whole, and a tenth is kept
// where the file or the conversion gave one.
std::string velocityText(double metresPerSecond)
{
    std::string text = rt::formatFloat(metresPerSecond, rt::FloatFormat::Fixed, kAllDigits, 1);
    if (text.size() >= 2 && text.back() == '0' && text[text.size() - 2] == rt::decimalSeparator())
        text.resize(text.size() - 2);
    return text;
}

} // namespace

std::vector<double> metresPerSecond(const ImportedSeries& series, VelocityUnit chosenForUnknown)
{
    const VelocityUnit unit = series.unit == VelocityUnit::Unknown ? chosenForUnknown : series.unit;
    std::vector<double> velocities = series.velocities;
    if (unit == VelocityUnit::FeetPerSecond) {
        for (double& v : velocities)
            v = table::metresPerSecond(v);
    }
    return velocities;
}

void putSeries(table::StringGrid& grid, const ImportedSeries& series, VelocityUnit chosenForUnknown,
               std::string_view weightField, std::string_view fileStem)
{
    table::GridUpdate update(grid);
    if (series.velocities.empty()) {
        table::clear(grid);
        return;
    }
    const std::vector<double> velocities = metresPerSecond(series, chosenForUnknown);
    const std::string weight =
        series.weightGrams
            ? rt::formatFloat(*series.weightGrams, rt::FloatFormat::Fixed, kAllDigits, 3)
            : std::string(weightField);
    const std::string bullet =
        rt::utf8Left(series.name.empty() ? fileStem : series.name, table::kMaxBulletTextLength);

    // Built apart and moved in whole, as a file is opened: row by row, every cell written
    // would rewrite its row in the table's store.
    table::CellRows rows(table::kColumnCount);
    rows.reserve(velocities.size(), velocities.size() * (bullet.size() + weight.size() + 16));
    for (std::size_t i = 0; i < velocities.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        const std::string v = velocityText(velocities[i]);
        const std::array<std::string_view, table::kColumnCount> cells = {n,      v,      "",
                                                                         weight, bullet, ""};
        rows.appendRow(cells.data());
    }
    grid.replaceRowsFrom(1, std::move(rows));
    for (std::size_t r = 1; r < grid.rowCount(); ++r)
        table::applyEnergyRule(grid, r, weight);
}

} // namespace imports
