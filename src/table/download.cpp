#include "table/download.h"

#include "table/measurementtable.h"

namespace table {

void LineAssembler::addChar(char ch)
{
    if (ch == '\n') {
        // A copy holds just the line's characters; the buffer keeps its room for the next.
        if (m_lines.size() < kMaxReceivedLines)
            m_lines.push_back(m_receivedLine);
        m_receivedLine.clear();
    } else if (ch != '\r' && m_receivedLine.size() < kMaxReceivedLineLength) {
        m_receivedLine += ch;
    }
}

std::vector<std::string> LineAssembler::takeLines()
{
    std::vector<std::string> lines;
    lines.swap(m_lines);
    return lines;
}

std::string velocityText(std::string_view line)
{
    const auto space = line.rfind(' ');
    return std::string(space == std::string_view::npos ? line : line.substr(space + 1));
}

std::size_t appendShots(StringGrid& grid, const std::vector<std::string>& lines,
                        std::string_view weight, std::string_view bullet)
{
    if (lines.size() <= kHeaderLines)
        return 0;
    const std::size_t n = lines.size() - kHeaderLines;
    const std::size_t before = table::isEmpty(grid) ? 0 : grid.rowCount() - 1;
    GridUpdate update(grid);
    grid.setRowCount(before + n + 1);
    for (std::size_t i = 1; i <= n; ++i) {
        const std::size_t row = before + i;
        grid.setCell(table::ColN, row, std::to_string(row));
        grid.setCell(table::ColV, row, velocityText(lines[kHeaderLines + i - 1]));
        grid.setCell(table::ColM, row, std::string(weight));
        grid.setCell(table::ColBullet, row, std::string(bullet));
        table::applyEnergyRule(grid, row, weight);
    }
    return n;
}

} // namespace table
