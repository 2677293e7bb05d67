#include "exports/shotconfidence.h"

#include "table/measurementtable.h"
#include "table/shotstatistics.h"

#include <string>

namespace exports {

ShotConfidence confidenceOver(const table::StringGrid& grid, std::size_t top, std::size_t bottom,
                              table::Units units, int percent,
                              const stats::ConfidenceCaptions& captions,
                              std::optional<double> target)
{
    const table::IncludedShots shots = table::includedShots(grid, top, bottom, units);
    ShotConfidence c;
    c.figures = stats::confidenceFigures(shots.velocities, percent / 100.0, target);
    std::string shot;
    if (c.figures.grubbs && c.figures.grubbs->outlier) {
        c.flyerRow = shots.rows[c.figures.grubbs->index];
        // The shot as the table numbers it; a row without a number by its place.
        shot = grid.cell(table::ColN, *c.flyerRow);
        if (shot.empty())
            shot = std::to_string(*c.flyerRow);
    }
    c.texts = stats::formatConfidence(c.figures, captions, table::velocityUnit(units), shot);
    return c;
}

} // namespace exports
