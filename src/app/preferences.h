#pragma once

#include "table/preferencesfile.h"

// The user's preferences file (table/preferencesfile.h) where the environment puts it. Nothing
// else is remembered: the port and every other setting start at their defaults.
table::Preferences loadPreferences();
// A save that is refused (a link to a device, an unwritable folder) costs the preference and
// nothing else: no message, and the program goes on.
void savePreferences(const table::Preferences& preferences);
// Back to the defaults, as on a first run.
void forgetPreferences();
