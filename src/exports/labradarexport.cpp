#include "exports/labradarexport.h"

#include "exports/shotfields.h"
#include "runtime/asciitext.h"
#include "runtime/convert.h"
#include "runtime/decimalseparator.h"
#include "runtime/errors.h"
#include "table/columns.h"
#include "table/measurementtable.h"
#include "table/shotstatistics.h"
#include "table/velocitytext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace exports {

namespace {

using table::Units;

constexpr std::string_view kLineEnd = "\r\n";

struct Shot {
    std::string id;
    std::string velocity;
    std::optional<double> energy;
    std::optional<double> grains;
    ExportMoment moment;
};

// The text starts with the pattern, where 'd' stands for any digit.
bool startsLike(std::string_view text, std::string_view pattern)
{
    if (text.size() < pattern.size())
        return false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == 'd' ? !rt::isAsciiDigit(text[i]) : text[i] != pattern[i])
            return false;
    }
    return true;
}

// "09:41:02" from "09:41:02.5+02:00" or "09:41"; the radar writes whole seconds.
std::optional<std::string> timeAtStart(std::string_view text)
{
    if (startsLike(text, "dd:dd:dd"))
        return std::string(text.substr(0, 8));
    if (startsLike(text, "dd:dd"))
        return std::string(text.substr(0, 5)) + ":00";
    return std::nullopt;
}

// A shot's date and time from its time as shown ("2024-05-11 09:41:02", "2024-05-11T09:41",
// "09:41:02"), the export's where the shot's says nothing.
ExportMoment shotMoment(std::string_view shown, const ExportMoment& exported)
{
    if (startsLike(shown, "dddd-dd-dd")) {
        const std::string_view rest = shown.substr(10);
        std::optional<std::string> time;
        if (!rest.empty() && (rest.front() == 'T' || rest.front() == ' '))
            time = timeAtStart(rest.substr(1));
        return {std::string(shown.substr(0, 10)), time.value_or(exported.time)};
    }
    if (std::optional<std::string> time = timeAtStart(shown))
        return {exported.date, std::move(*time)};
    return exported;
}

ExportMoment rowMoment(const table::StringGrid& grid, std::size_t row, const ExportMoment& exported,
                       const LocalTimeText& localTime)
{
    const std::string_view time = grid.cell(table::ColTime, row);
    if (time.empty())
        return exported;
    return localTime ? shotMoment(localTime(time), exported) : shotMoment(time, exported);
}

// Two decimals with a point, as the radar writes every number.
std::string number(double value)
{
    std::string s = fixed(value, 2);
    std::replace(s.begin(), s.end(), rt::decimalSeparator(), '.');
    return s;
}

std::string optionalNumber(const std::optional<double>& value)
{
    return value ? number(*value) : std::string();
}

// The radar numbers series and shots with four digits at least.
std::string counter(std::size_t n)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%04zu", n);
    return buffer;
}

std::string shotId(std::string_view n, std::size_t row)
{
    try {
        const int value = rt::strToInt(n);
        if (value >= 0)
            return counter(static_cast<std::size_t>(value));
    } catch (const rt::ConvertError&) {
    }
    return counter(row);
}

std::vector<Shot> shotsOf(const table::StringGrid& grid, Units units, const ExportMoment& moment,
                          const LocalTimeText& localTime)
{
    std::vector<Shot> shots;
    shots.reserve(grid.rowCount());
    for (std::size_t row = 1; row < grid.rowCount(); ++row) {
        // The shots the statistics count, so the stats block agrees with the lines.
        if (std::isnan(grid.numbers().velocity(row)))
            continue;
        // Two decimals at least, as the radar writes them, and every further one the table
        // keeps.
        const std::string_view stored = grid.cell(table::ColV, row);
        std::string velocity =
            units == Units::Imperial
                ? number(table::feetPerSecond(grid.numbers().velocity(row)))
                : table::velocityShown(stored, grid.numbers().velocity(row), units,
                                       std::max(2, table::velocityDecimals(stored)));
        std::replace(velocity.begin(), velocity.end(), rt::decimalSeparator(), '.');
        shots.push_back({shotId(grid.cell(table::ColN, row), row), std::move(velocity),
                         rowEnergyIn(grid, row, units), rowWeightIn(grid, row, Units::Imperial),
                         rowMoment(grid, row, moment, localTime)});
    }
    return shots;
}

void line(std::string& out, std::initializer_list<std::string_view> fields, std::string_view end)
{
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first)
            out += ';';
        first = false;
        out += field;
    }
    out += end;
    out += kLineEnd;
}

void statistics(std::string& out, const table::StringGrid& grid, Units units, std::string_view unit)
{
    const table::ShotStatistics s = table::inUnits(table::shotStatistics(grid), units);
    line(out, {"Stats - Average", number(s.mean), unit}, ";");
    line(out, {"Stats - Highest", number(s.highest), unit}, ";");
    line(out, {"Stats - Lowest", number(s.lowest), unit}, ";");
    line(out, {"Stats - Ext. Spread", number(s.extremeSpread), unit}, ";");
    // The sample deviation, as the shot statistics panel gives it; one shot has none.
    line(out, {"Stats - Std. Dev", number(s.standardDeviation.value_or(0)), unit}, ";");
}

} // namespace

std::string labRadarReport(const table::StringGrid& grid, Units units, const ExportMoment& moment,
                           const LocalTimeText& localTime)
{
    const std::vector<Shot> shots = shotsOf(grid, units, moment, localTime);
    const bool imperial = units == Units::Imperial;
    const std::string_view velocityUnit = imperial ? "fps" : "m/s";

    std::string out;
    out.reserve(512 + shots.size() * 64);
    out += "sep=;";
    out += kLineEnd;
    line(out, {"Device ID", "Vexorel"}, ";;");
    out += kLineEnd;
    line(out, {"Series No", counter(1)}, ";;");
    line(out, {"Total number of shots", counter(shots.size())}, ";;");
    out += kLineEnd;
    line(out, {"Units velocity", velocityUnit}, ";;");
    line(out, {"Units distances", "m"}, ";;");
    line(out, {"Units kinetic energy", imperial ? "ft-lbs" : "j"}, ";;");
    line(out, {"Units weight", "grain"}, ";;");
    out += kLineEnd;
    statistics(out, grid, units, velocityUnit);
    out += kLineEnd;
    line(out, {"Shot ID", "V0", "Ke0", "Proj. Weight", "Date", "Time"}, "");
    for (const Shot& s : shots)
        line(out,
             {s.id, s.velocity, optionalNumber(s.energy), optionalNumber(s.grains), s.moment.date,
              s.moment.time},
             ";");
    return out;
}

} // namespace exports
