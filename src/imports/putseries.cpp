#include "imports/importfile.h"

#include "runtime/convert.h"
#include "runtime/decimalseparator.h"
#include "runtime/encoding.h"
#include "runtime/numberformat.h"
#include "table/bulletlist.h"
#include "table/cellrows.h"
#include "table/columns.h"
#include "table/measurementtable.h"
#include "table/units.h"
#include "table/velocitytext.h"

#include <algorithm>
#include <array>

namespace imports {

namespace {

constexpr int kAllDigits = 15;

VelocityUnit unitOf(const ImportedSeries& series, VelocityUnit chosenForUnknown)
{
    return series.unit == VelocityUnit::Unknown ? chosenForUnknown : series.unit;
}

// The table's weight texts carry a comma whatever the locale, as the weight field and the
// bullet list write them.
std::string weightText(double grams)
{
    std::string text = rt::formatFloat(grams, rt::FloatFormat::Fixed, kAllDigits, 3);
    std::replace(text.begin(), text.end(), rt::decimalSeparator(), ',');
    return text;
}

} // namespace

void putSeries(table::StringGrid& grid, const ImportedSeries& series, VelocityUnit chosenForUnknown,
               std::string_view weightField, std::string_view fileStem)
{
    table::GridUpdate update(grid);
    if (series.shots.empty()) {
        table::clear(grid);
        return;
    }
    const bool feet = unitOf(series, chosenForUnknown) == VelocityUnit::FeetPerSecond;
    const std::string weight =
        series.weightGrams ? weightText(*series.weightGrams) : std::string(weightField);
    const std::string bullet =
        rt::utf8Left(series.name.empty() ? fileStem : series.name, table::kMaxBulletTextLength);

    // Built apart and moved in whole, as a file is opened: row by row, every cell written
    // would rewrite its row in the table's store.
    const std::size_t n = series.shots.size();
    table::CellRows rows(table::kGridColumnCount);
    rows.reserve(n, n * (bullet.size() + weight.size() + 32));
    for (std::size_t i = 0; i < n; ++i) {
        const ImportedShot& shot = series.shots[i];
        const std::string number = std::to_string(i + 1);
        // The readers hand over plain decimals only.
        const std::string v = table::storedMetresPerSecond(shot.velocity, feet).value_or("");
        const std::string recorded = feet ? shot.velocity + " ft/s" : std::string();
        std::array<std::string_view, table::kGridColumnCount> cells{};
        cells[table::ColN] = number;
        cells[table::ColV] = v;
        cells[table::ColM] = weight;
        cells[table::ColBullet] = bullet;
        cells[table::ColTime] = shot.time;
        cells[table::ColFlags] = shot.flags;
        cells[table::ColNote] = shot.note;
        if (shot.excluded)
            cells[table::ColExcluded] = table::kExcludedMark;
        cells[table::ColRecorded] = recorded;
        rows.appendRow(cells.data());
    }
    grid.replaceRowsFrom(1, std::move(rows));
    table::applyEnergyRule(grid, 1, grid.rowCount() - 1, rt::parseFloat(weight));
}

} // namespace imports
