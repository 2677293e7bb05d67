#pragma once

#include "exports/statisticlines.h"
#include "table/stringgrid.h"
#include "table/units.h"

#include <string>
#include <string_view>
#include <vector>

// The table as a CSV file that spreadsheets open with numbers as numbers: UTF-8 with a
// byte-order mark (without it Excel reads Windows-1252), CR LF line ends and RFC 4180
// quoting. Where the decimal separator is ',' the fields are separated by ';', as the
// spreadsheets of those locales expect; elsewhere by ','.
namespace exports {

char csvSeparator(char decimalSeparator);

// Quotes the field when it holds the separator, a quote, CR or LF, or starts or ends with a
// blank (which some readers would trim); a quote inside is doubled.
void appendCsvField(std::string& out, std::string_view field, char separator);

// Header row, one row per shot (rows 1..rowCount-1) in the units shown, a blank line, then
// the statistic lines as caption, value and unit.
std::string tableCsv(const table::StringGrid& grid, table::Units units,
                     const std::vector<StatisticLine>& statistics);

} // namespace exports
