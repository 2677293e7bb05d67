#include "exports/bulletsummary.h"

#include "exports/shotfields.h"
#include "table/measurementtable.h"

#include <algorithm>
#include <set>
#include <string_view>
#include <utility>

namespace exports {

BulletSummary bulletSummary(const table::StringGrid& grid, table::Units units, std::size_t limit)
{
    BulletSummary summary;
    // Distinct by the stored texts: the table cannot tell that two spellings are one bullet.
    std::set<std::pair<std::string_view, std::string_view>> seen;
    for (std::size_t row = 1; row < grid.rowCount(); ++row) {
        const std::string_view name = grid.cell(table::ColBullet, row);
        const std::string_view weight = grid.cell(table::ColM, row);
        if (!seen.insert({name, weight}).second)
            continue;
        std::string text(name);
        if (const std::optional<double> m = rowWeightIn(grid, row, units)) {
            if (!text.empty())
                text += ", ";
            text += fixed(*m, weightDecimals(units));
            text += ' ';
            text += table::weightUnit(units);
        }
        if (text.empty())
            continue;
        if (summary.bullets.size() < limit)
            summary.bullets.push_back(std::move(text));
        else
            ++summary.more;
    }
    return summary;
}

} // namespace exports
