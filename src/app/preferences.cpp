#include "app/preferences.h"

#include <cstdlib>
#include <unistd.h>

namespace {

std::string preferencesFile()
{
    return table::preferencesPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

} // namespace

table::Preferences loadPreferences()
{
    const std::string path = preferencesFile();
    return path.empty() ? table::Preferences() : table::readPreferences(path);
}

void savePreferences(const table::Preferences& preferences)
{
    const std::string path = preferencesFile();
    if (!path.empty())
        table::writePreferences(path, preferences);
}

void forgetPreferences()
{
    const std::string path = preferencesFile();
    if (!path.empty())
        ::unlink(path.c_str());
}
