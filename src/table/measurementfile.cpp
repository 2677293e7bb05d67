#include "table/measurementfile.h"

#include "runtime/convert.h"
#include "runtime/numberformat.h"
#include "runtime/textfile.h"
#include "table/measurementtable.h"

#include <array>
#include <exception>
#include <vector>

namespace table {

void writeTable(const StringGrid& grid, const std::string& path)
{
    rt::TextWriter writer(path);
    for (std::size_t r = 1; r < grid.rowCount(); ++r) {
        for (std::size_t c = 0; c < kLinesPerRecord; ++c)
            writer.writeLine(grid.cell(c, r));
    }
    writer.close();
}

void writeSelection(const StringGrid& grid, std::size_t top, std::size_t bottom,
                    const std::string& path)
{
    double sum = 0;
    for (std::size_t r = top; r <= bottom; ++r)
        sum += rt::strToInt(grid.cell(table::ColV, r));
    const double mean = sum / static_cast<double>(bottom - top + 1);

    rt::TextWriter writer(path);
    for (std::size_t r = top; r <= bottom; ++r) {
        writer.writeLine(std::to_string(r - top + 1));
        for (std::size_t c = table::ColV; c <= table::ColBullet; ++c)
            writer.writeLine(grid.cell(c, r));
        const double v = rt::strToFloat(grid.cell(table::ColV, r));
        // As in the table: no division by a zero mean.
        writer.writeLine(mean == 0 ? std::string(table::kInvalidMark)
                                   : rt::formatTwoDecimal((v - mean) / mean * 100));
    }
    writer.close();
}

void readTable(StringGrid& grid, const std::string& path)
{
    rt::TextReader reader(path);
    // Records are collected first and put into the table in one step: growing the table a
    // row at a time would wake its view once per row.
    std::vector<std::array<std::string, kLinesPerRecord>> records;
    std::exception_ptr failure;
    try {
        do {
            auto& record = records.emplace_back();
            for (auto& line : record)
                line = reader.readLine();
        } while (!reader.eof());
    } catch (...) {
        failure = std::current_exception();
    }

    const std::size_t first = grid.rowCount() - 1;
    GridUpdate update(grid);
    if (!records.empty())
        grid.setRowCount(first + records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        for (std::size_t c = 0; c < kLinesPerRecord; ++c)
            grid.setCell(c, first + i, std::move(records[i][c]));
    }
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace table
