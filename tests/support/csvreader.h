#pragma once

#include <string>
#include <string_view>
#include <vector>

// A strict RFC 4180 reader, independent of the program's writer: records end in CR LF,
// quoted fields may hold the separator, CR, LF and doubled quotes. A bare LF, a quote inside
// an unquoted field or text after a closing quote is a problem, with the record's number.
struct CsvFile {
    bool byteOrderMark = false;
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> problems;
};

CsvFile readCsv(std::string_view text, char separator);
