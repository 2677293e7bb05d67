#include "loaddev/laddercsv.h"

#include "exports/csvexport.h"
#include "runtime/decimalseparator.h"
#include "runtime/numberformat.h"
#include "session/laddertexts.h"
#include "session/stringcomparison.h"
#include "table/shotstatistics.h"

namespace loaddev {

namespace {

void appendLine(std::string& out, std::initializer_list<std::string_view> fields, char separator)
{
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first)
            out += separator;
        first = false;
        exports::appendCsvField(out, field, separator);
    }
    out += "\r\n";
}

} // namespace

std::string ladderCsv(const session::LoadTest& test, const session::LadderFigures& figures)
{
    const char separator = exports::csvSeparator(rt::decimalSeparator());
    const session::LadderTable table = session::ladderTable(test, figures);
    std::string out = "\xEF\xBB\xBF";
    const auto appendRow = [&](const auto& cells) {
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (c > 0)
                out += separator;
            exports::appendCsvField(out, cells[c], separator);
        }
        out += "\r\n";
    };
    appendRow(table.header);
    for (const auto& row : table.rows)
        appendRow(row);
    out += "\r\n";
    if (figures.fit) {
        appendLine(out,
                   {"Slope",
                    session::slopeText(*figures.fit, test.variable, figures.units, figures.level)},
                   separator);
        appendLine(out,
                   {"R\u00B2", figures.fit->rSquared ? rt::formatTwoDecimal(*figures.fit->rSquared)
                                                     : std::string(table::kNoFigure)},
                   separator);
    }
    for (const session::Comparison& c : test.comparisons) {
        const session::StringComparison comparison =
            session::compareStrings(figures, c.first, c.second);
        const std::string pair =
            session::stringLabel(test, c.first) + " vs " + session::stringLabel(test, c.second);
        appendLine(out, {pair, comparison.meanSentence}, separator);
        appendLine(out, {pair, comparison.sdSentence}, separator);
    }
    return out;
}

} // namespace loaddev
