// A Xero's own FIT file as an import: the session's shots exactly as recorded (millimetres per
// second), their times, the session's date and bullet weight.

#include "imports/datetext.h"
#include "imports/fitfile.h"
#include "imports/velocitycolumn.h"
#include "runtime/errors.h"
#include "runtime/wholefile.h"
#include "table/units.h"

#include <cstdio>

namespace imports {

namespace {

// 265391 -> "265.391": every digit the device recorded.
std::string metresPerSecondText(std::uint32_t millimetres)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%u.%03u", millimetres / 1000, millimetres % 1000);
    return buffer;
}

} // namespace

bool isFitFile(const std::string& path)
{
    return isFitHeader(rt::readFileStart(path, 14));
}

ImportedFile importFit(const std::string& path)
{
    const FitSession session = readFitFile(path);
    ImportedSeries series;
    series.unit = VelocityUnit::MetresPerSecond;
    if (session.unixTime)
        series.details.dateTime = isoFromUnixTime(*session.unixTime);
    if (session.weightTenthGrains && *session.weightTenthGrains > 0)
        series.weightGrams = table::grams(*session.weightTenthGrains / 10.0);
    series.shots.reserve(session.shots.size());
    for (const FitShot& shot : session.shots) {
        ImportedShot imported;
        imported.velocity = metresPerSecondText(shot.speedMillimetresPerSecond);
        if (!inVelocityRange(shot.speedMillimetresPerSecond / 1000.0))
            throw ImportRefused(path, 0,
                                "'" + path + "' is not a valid " +
                                    std::string(formatName(Format::GarminFit)) + ": " +
                                    rt::quoted(imported.velocity) +
                                    " m/s is not a velocity a chronograph records");
        if (shot.unixTime)
            imported.time = isoFromUnixTime(*shot.unixTime);
        series.shots.push_back(std::move(imported));
    }
    return {Format::GarminFit, {std::move(series)}};
}

} // namespace imports
