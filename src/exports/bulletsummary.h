#pragma once

#include "table/stringgrid.h"
#include "table/units.h"

#include <cstddef>
#include <string>
#include <vector>

// Which bullets a session shot, for the report's heading.
namespace exports {

struct BulletSummary {
    // "JSB Exact, 0,547 g" in the order the table first names them; a row without a bullet
    // name or weight adds nothing.
    std::vector<std::string> bullets;
    // How many more there were beyond the limit.
    std::size_t more = 0;
};

BulletSummary bulletSummary(const table::StringGrid& grid, table::Units units, std::size_t limit);

} // namespace exports
