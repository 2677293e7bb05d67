#include "charts/importedseries.h"

#include "table/measurementtable.h"

namespace charts {

ExternalSeries importedSeries(const imports::ImportedSeries& series,
                              imports::VelocityUnit chosenForUnknown)
{
    // The same rows an import puts into the table, so both show a shot alike.
    table::StringGrid rows = table::makeGrid();
    imports::putSeries(rows, series, chosenForUnknown, std::string_view(), std::string_view());
    ExternalSeries out;
    if (table::isEmpty(rows))
        return out;
    table::deviationPass(rows, table::statisticsPass(rows).meanVelocity);
    for (std::size_t r = 1; r < rows.rowCount(); ++r)
        out.append(rows.cell(table::ColV, r), rows.cell(table::ColE, r),
                   rows.cell(table::ColDV, r));
    return out;
}

ExternalSeries sessionSeries(const session::LoadedSession& loaded)
{
    ExternalSeries out;
    for (std::size_t r = 0; r < loaded.shots.size(); ++r)
        out.append(loaded.shots.cell(table::ColV, r), loaded.shots.cell(table::ColE, r),
                   loaded.shots.cell(table::ColDV, r));
    return out;
}

} // namespace charts
