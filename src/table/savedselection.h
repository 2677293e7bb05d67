#pragma once

#include "table/stringgrid.h"

#include <cstddef>
#include <string>

namespace table {

// Rows top..bottom as Save Selected As writes them, whatever the file's kind: a session of
// their own, numbered from 1, deviations against the block's own mean, every other cell as it
// stands.
class SavedSelection {
public:
    // A velocity that does not convert throws here, so a writer that builds this first
    // throws before anything is written and the file that was there stays.
    SavedSelection(const StringGrid& grid, std::size_t top, std::size_t bottom);

    std::size_t top() const { return m_top; }
    std::size_t bottom() const { return m_bottom; }
    // The N and dV texts of row `row` (top..bottom) in the saved file.
    std::string number(std::size_t row) const;
    std::string deviation(std::size_t row) const;

private:
    const StringGrid& m_grid;
    std::size_t m_top;
    std::size_t m_bottom;
    double m_mean = 0;
};

} // namespace table
