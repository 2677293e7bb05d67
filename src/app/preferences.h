#pragma once

#include "table/units.h"

// What the user chose in the View and Chart menus, kept between runs. Nothing else is
// remembered: the port and every other setting start at their defaults.
struct Preferences {
    table::Units units = table::Units::Metric;
    bool shotStatisticsShown = true;
    bool fitAxes = false;
};

// Defaults for anything missing or not understood, so a hand-edited file cannot stop the
// program.
Preferences loadPreferences();
void savePreferences(const Preferences& preferences);
// Back to the defaults, as on a first run.
void forgetPreferences();
