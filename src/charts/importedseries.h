#pragma once

#include "charts/externalseries.h"
#include "imports/importfile.h"
#include "session/sessionfile.h"

namespace charts {

// A chronograph export's series laid over the current one: V in m/s as the import writes it,
// E by the energy rule with the file's projectile weight ("####" without one), dV against
// the series' own mean.
ExternalSeries importedSeries(const imports::ImportedSeries& series,
                              imports::VelocityUnit chosenForUnknown);

// A session file's rows laid over the current one: their V, E and dV texts as they stand, as
// a measurement file's are.
ExternalSeries sessionSeries(const session::LoadedSession& loaded);

} // namespace charts
