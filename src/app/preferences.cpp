#include "app/preferences.h"

#include <QSettings>

namespace {

const QString kUnitsKey = QStringLiteral("view/units");
const QString kShotStatisticsKey = QStringLiteral("view/shotStatistics");
const QString kFitAxesKey = QStringLiteral("chart/fitAxes");

QSettings store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Vexorel"),
                     QStringLiteral("Vexorel"));
}

bool readFlag(const QSettings& settings, const QString& key, bool fallback)
{
    const QString text = settings.value(key).toString();
    if (text == QLatin1String("true"))
        return true;
    if (text == QLatin1String("false"))
        return false;
    return fallback;
}

} // namespace

Preferences loadPreferences()
{
    const QSettings settings = store();
    Preferences p;
    if (settings.value(kUnitsKey).toString() == QLatin1String("imperial"))
        p.units = table::Units::Imperial;
    p.shotStatisticsShown = readFlag(settings, kShotStatisticsKey, p.shotStatisticsShown);
    p.fitAxes = readFlag(settings, kFitAxesKey, p.fitAxes);
    return p;
}

void savePreferences(const Preferences& preferences)
{
    QSettings settings = store();
    settings.setValue(kUnitsKey, preferences.units == table::Units::Imperial
                                     ? QStringLiteral("imperial")
                                     : QStringLiteral("metric"));
    settings.setValue(kShotStatisticsKey, preferences.shotStatisticsShown);
    settings.setValue(kFitAxesKey, preferences.fitAxes);
}

void forgetPreferences()
{
    store().clear();
}
