#pragma once

#include "table/stringgrid.h"

#include <string>
#include <string_view>
#include <vector>

// Turning what the chronograph sends into table rows.
namespace table {

// A chronograph's shot line is a dozen characters; a device that never sends a line feed,
// or sends nothing but long lines, must not fill the memory, so longer lines keep only
// their start.
inline constexpr std::size_t kMaxReceivedLineLength = 256;
// Far more shots than any chronograph stores (and as many rows as the old table format
// counted); the lines of a runaway stream past this are dropped until the transmission ends.
inline constexpr std::size_t kMaxReceivedLines = 65'535;
// The first lines of every transmission are the device's header.
inline constexpr std::size_t kHeaderLines = 2;

// Joins received characters into lines: a line feed ends a line, a carriage return is
// ignored wherever it stands. Characters after the last line feed stay for the next
// transmission.
class LineAssembler {
public:
    void addChar(char ch);

    const std::string& receivedLine() const { return m_receivedLine; }
    const std::vector<std::string>& lines() const { return m_lines; }
    // The complete lines so far; the list is empty afterwards.
    std::vector<std::string> takeLines();

private:
    std::string m_receivedLine;
    std::vector<std::string> m_lines;
};

// The velocity of a shot line: the text after its last space, or the whole line.
std::string velocityText(std::string_view line);

// Drops the header lines and appends one row per remaining line after the table's
// measurements, numbered on from the last row, with the bullet, the weight and the energy.
// Returns the number of rows added.
std::size_t appendShots(StringGrid& grid, const std::vector<std::string>& lines,
                        std::string_view weight, std::string_view bullet);

} // namespace table
