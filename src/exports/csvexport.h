#pragma once

#include "exports/statisticlines.h"
#include "table/stringdetails.h"
#include "table/stringgrid.h"
#include "table/units.h"

#include <array>
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

// Header row, one row per shot (rows 1..rowCount-1) in the units shown, a blank line, the
// string's details as caption and value (detailLines), then the statistic lines as caption,
// value and unit. Where any shot has a time, flags, a note or is excluded, the columns Time
// (ISO 8601 as stored), Excluded ("yes" or empty), Flags and Note follow the six; a table
// without details is written as it always was.
std::string tableCsv(const table::StringGrid& grid, table::Units units,
                     const std::vector<StatisticLine>& statistics,
                     const table::StringDetails& details = {});

// The headers of the shot-detail columns, in their order.
inline constexpr std::array<std::string_view, 4> kShotDetailHeaders = {"Time", "Excluded", "Flags",
                                                                       "Note"};
inline constexpr std::string_view kExcludedYes = "yes";

} // namespace exports
