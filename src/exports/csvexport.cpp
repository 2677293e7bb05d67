#include "exports/csvexport.h"

#include "exports/detaillines.h"
#include "exports/shotfields.h"
#include "runtime/decimalseparator.h"
#include "table/columns.h"

#include <algorithm>

namespace exports {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

using DetailFields = std::array<std::string, kShotDetailHeaders.size()>;

// first: the fields start a record; else they go on where earlier ones of the record end.
template <typename Fields>
void appendFields(std::string& out, const Fields& fields, char separator, bool first = true)
{
    for (const auto& field : fields) {
        if (!first)
            out += separator;
        first = false;
        appendCsvField(out, field, separator);
    }
}

template <typename Fields> void appendRecord(std::string& out, const Fields& fields, char separator)
{
    appendFields(out, fields, separator);
    out += kLineEnd;
}

bool anyShotDetails(const table::StringGrid& grid)
{
    for (std::size_t row = 1; row < grid.rowCount(); ++row) {
        if (grid.numbers().excluded(row))
            return true;
        for (const std::size_t col : {table::ColTime, table::ColFlags, table::ColNote}) {
            if (!grid.cell(col, row).empty())
                return true;
        }
    }
    return false;
}

void shotDetailFields(const table::StringGrid& grid, std::size_t row, DetailFields& fields)
{
    fields[0] = grid.cell(table::ColTime, row);
    fields[1] = grid.numbers().excluded(row) ? kExcludedYes : std::string_view();
    fields[2] = grid.cell(table::ColFlags, row);
    assignSpreadsheetText(fields[3], grid.cell(table::ColNote, row));
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
                     const std::vector<StatisticLine>& statistics,
                     const table::StringDetails& details)
{
    const char separator = csvSeparator(rt::decimalSeparator());
    const bool shotDetails = anyShotDetails(grid);
    std::string out(kByteOrderMark);
    // About 40 bytes a shot, twice that with a time and a note: one growth instead of twenty
    // on a full table.
    out.reserve(64 + grid.rowCount() * (shotDetails ? 80 : 40) + statistics.size() * 32);
    appendFields(out, shotHeader(grid, units), separator);
    if (shotDetails)
        appendFields(out, kShotDetailHeaders, separator, false);
    out += kLineEnd;
    ShotFields fields;
    DetailFields detailFields;
    for (std::size_t row = 1; row < grid.rowCount(); ++row) {
        shotFields(grid, row, units, fields);
        appendFields(out, fields, separator);
        if (shotDetails) {
            shotDetailFields(grid, row, detailFields);
            appendFields(out, detailFields, separator, false);
        }
        out += kLineEnd;
    }
    out += kLineEnd;
    std::string value;
    for (const DetailLine& line : detailLines(details)) {
        assignSpreadsheetText(value, line.value);
        appendRecord(out, std::array<std::string_view, 2>{line.caption, value}, separator);
    }
    for (const StatisticLine& line : statistics)
        appendRecord(out, std::array<std::string_view, 3>{line.caption, line.value, line.unit},
                     separator);
    return out;
}

} // namespace exports
