#include "exports/copytext.h"

#include "exports/shotfields.h"

#include <algorithm>

namespace exports {

namespace {

void appendLine(std::string& out, const ShotFields& fields)
{
    bool first = true;
    for (const std::string& field : fields) {
        if (!first)
            out += '\t';
        first = false;
        const std::size_t start = out.size();
        out += field;
        std::replace_if(
            out.begin() + static_cast<std::ptrdiff_t>(start), out.end(),
            [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    }
    out += '\n';
}

} // namespace

std::string tabSeparatedRows(const table::StringGrid& grid, std::size_t top, std::size_t bottom,
                             table::Units units)
{
    std::string out;
    appendLine(out, shotHeader(grid, units));
    const std::size_t last = std::min(bottom, grid.rowCount() - 1);
    ShotFields fields;
    for (std::size_t row = std::max<std::size_t>(top, 1); row <= last; ++row) {
        shotFields(grid, row, units, fields);
        appendLine(out, fields);
    }
    return out;
}

} // namespace exports
