#include "imports/velocitycolumn.h"

#include "runtime/asciitext.h"
#include "runtime/errors.h"
#include "table/units.h"

#include <algorithm>
#include <charconv>

namespace imports {

namespace {

struct Range {
    double slowest, fastest;
    std::string text;
};

std::string wholeNumber(double v)
{
    return std::to_string(static_cast<long>(v + 0.5));
}

Range rangeIn(VelocityUnit unit)
{
    const double feetSlowest = table::feetPerSecond(kSlowestVelocity);
    const double feetFastest = table::feetPerSecond(kFastestVelocity);
    const std::string metres =
        wholeNumber(kSlowestVelocity) + " to " + wholeNumber(kFastestVelocity) + " m/s";
    const std::string feet = wholeNumber(feetSlowest) + " to " + wholeNumber(feetFastest) + " ft/s";
    switch (unit) {
    case VelocityUnit::MetresPerSecond:
        return {kSlowestVelocity, kFastestVelocity, "from " + metres};
    case VelocityUnit::FeetPerSecond:
        return {feetSlowest, feetFastest, "from " + feet};
    case VelocityUnit::Unknown:
        break;
    }
    // Either unit may yet be chosen.
    return {kSlowestVelocity, feetFastest, "from " + metres + " or " + feet};
}

double valueOf(const std::string& digits)
{
    double v = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), v);
    return v;
}

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), rt::isAsciiDigit);
}

} // namespace

bool inVelocityRange(double metresPerSecond)
{
    return metresPerSecond >= kSlowestVelocity && metresPerSecond <= kFastestVelocity;
}

void VelocityColumn::add(const ImportLines& lines, std::string_view field, std::string_view noun)
{
    Field f;
    f.line = lines.lineNumber();
    const std::size_t separator = field.find_first_of(",.");
    f.whole = field.substr(0, separator);
    if (separator != std::string_view::npos) {
        f.separator = field[separator];
        f.fraction = field.substr(separator + 1);
    }
    // No device records more digits than these; the table keeps them all, so they are bounded.
    constexpr std::size_t kMostDigits = 24;
    if (!allDigits(f.whole) || (f.separator && !allDigits(f.fraction)) ||
        f.whole.size() + f.fraction.size() > kMostDigits)
        lines.refuse(rt::quoted(field) + " is not a " + std::string(noun));
    m_fields.push_back(std::move(f));
}

void VelocityColumn::resolve(const ImportLines& lines, ImportedSeries& series) const
{
    const Range range = rangeIn(series.unit);
    const auto inRange = [&range](double v) { return v >= range.slowest && v <= range.fastest; };
    const auto decimal = [](const Field& f) {
        return f.separator ? f.whole + '.' + f.fraction : f.whole;
    };
    const auto text = [](const Field& f) {
        return f.whole + (f.separator ? std::string(1, f.separator) + f.fraction : "");
    };

    // Per separator, decided once for the column: is it the thousands one? A value whose
    // decimal reading lies outside the range while its grouped one does not says yes, any
    // other value with that separator says no. No value reads both ways: a decimal reading
    // of 10 or more has two digits before the separator, its grouped reading 10,000 or more.
    bool thousands[2] = {false, false};
    for (const char separator : {',', '.'}) {
        const Field* asDecimal = nullptr;
        const Field* asThousands = nullptr;
        for (const Field& f : m_fields) {
            if (f.separator != separator)
                continue;
            const bool grouped = f.fraction.size() == 3 && f.whole.size() <= 3 &&
                                 f.whole.front() != '0' && !inRange(valueOf(decimal(f))) &&
                                 inRange(valueOf(f.whole + f.fraction));
            const Field*& first = grouped ? asThousands : asDecimal;
            first = first ? first : &f;
        }
        if (asDecimal && asThousands) {
            const bool decimalLater = asDecimal->line > asThousands->line;
            const Field& later = decimalLater ? *asDecimal : *asThousands;
            lines.refuseAt(later.line, rt::quoted(text(later)) + " has '" + separator + "' as a " +
                                           (decimalLater ? "decimal" : "thousands") +
                                           " separator, other velocities as a " +
                                           (decimalLater ? "thousands" : "decimal") + " one");
        }
        thousands[separator == '.'] = asThousands != nullptr;
    }

    series.shots.clear();
    series.shots.reserve(m_fields.size());
    for (const Field& f : m_fields) {
        const bool grouped = f.separator && thousands[f.separator == '.'];
        std::string recorded = grouped ? f.whole + f.fraction : decimal(f);
        if (!inRange(valueOf(recorded)))
            lines.refuseAt(f.line, rt::quoted(text(f)) + " is not a velocity " + range.text);
        ImportedShot shot;
        shot.velocity = std::move(recorded);
        shot.line = f.line;
        series.shots.push_back(std::move(shot));
    }
}

void refuseOutOfRange(const std::string& path, Format format, const ImportedSeries& series,
                      VelocityUnit unit)
{
    const Range range = rangeIn(unit);
    for (const ImportedShot& shot : series.shots) {
        const double v = valueOf(shot.velocity);
        if (v < range.slowest || v > range.fastest)
            refuseLine(path, format, shot.line,
                       rt::quoted(shot.velocity) + " is not a velocity " + range.text);
    }
}

} // namespace imports
