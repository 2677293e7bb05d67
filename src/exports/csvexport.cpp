#include "exports/csvexport.h"

#include "exports/shotfields.h"
#include "runtime/decimalseparator.h"

#include <algorithm>
#include <array>

namespace exports {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

template <typename Fields> void appendRecord(std::string& out, const Fields& fields, char separator)
{
    bool first = true;
    for (const auto& field : fields) {
        if (!first)
            out += separator;
        first = false;
        appendCsvField(out, field, separator);
    }
    out += kLineEnd;
}

} // namespace

char csvSeparator(char decimalSeparator)
{
    return decimalSeparator == ',' ? ';' : ',';
}

void appendCsvField(std::string& out, std::string_view field, char separator)
{
    const bool quote = std::any_of(field.begin(), field.end(),
                                   [separator](char c) {
                                       return c == separator || c == '"' || c == '\r' || c == '\n';
                                   }) ||
                       (!field.empty() && (field.front() == ' ' || field.back() == ' '));
    if (!quote) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

std::string tableCsv(const table::StringGrid& grid, table::Units units,
                     const std::vector<StatisticLine>& statistics)
{
    const char separator = csvSeparator(rt::decimalSeparator());
    std::string out(kByteOrderMark);
    // About 40 bytes a shot: one growth instead of twenty on a full table.
    out.reserve(64 + grid.rowCount() * 40 + statistics.size() * 32);
    appendRecord(out, shotHeader(grid, units), separator);
    ShotFields fields;
    for (std::size_t row = 1; row < grid.rowCount(); ++row) {
        shotFields(grid, row, units, fields);
        appendRecord(out, fields, separator);
    }
    out += kLineEnd;
    for (const StatisticLine& line : statistics)
        appendRecord(out, std::array<std::string_view, 3>{line.caption, line.value, line.unit},
                     separator);
    return out;
}

} // namespace exports
