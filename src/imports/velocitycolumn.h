#pragma once

#include "imports/importfile.h"
#include "imports/importlines.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A file's velocities as the device recorded them. Exports written in other locales bring
// "2,804" for 2804 ft/s beside "488,3" for a decimal, so a column is read whole before any
// value is taken: a separator followed by exactly three digits is a thousands separator only
// where the column reads no other way.
namespace imports {

// No chronograph records a shot below 10 or above 2000 m/s.
inline constexpr double kSlowestVelocity = 10;
inline constexpr double kFastestVelocity = 2000;

// Whether a velocity in m/s lies in that range.
bool inVelocityRange(double metresPerSecond);

// Takes the velocity fields of one series' shots, as the file gives them, with their lines.
class VelocityColumn {
public:
    // The field of the line last taken. One that is no plain decimal number (digits, at most
    // one ',' or '.' between digits) is refused there as "not a <noun>".
    void add(const ImportLines& lines, std::string_view field, std::string_view noun);
    std::size_t size() const { return m_fields.size(); }

    // Writes the series' shots from the column: each velocity as recorded, with '.' before
    // its decimals and no thousands separator. A value outside the range in the series' unit
    // (either unit for Unknown), or one that the column leaves readable both ways, is
    // refused at its line.
    void resolve(const ImportLines& lines, ImportedSeries& series) const;

private:
    struct Field {
        std::string whole;
        std::string fraction;
        char separator = 0;
        std::size_t line = 0;
    };
    std::vector<Field> m_fields;
};

// Refuses the first shot of a series whose velocity lies outside the range in `unit`, the
// unit the user chose for a file that does not say, naming the file and the shot's line.
void refuseOutOfRange(const std::string& path, Format format, const ImportedSeries& series,
                      VelocityUnit unit);

} // namespace imports
