#include "support/csvreader.h"

namespace {

enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted, CarriageReturn };

} // namespace

CsvFile readCsv(std::string_view text, char separator)
{
    CsvFile csv;
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (text.substr(0, bom.size()) == bom) {
        csv.byteOrderMark = true;
        text.remove_prefix(bom.size());
    }
    std::vector<std::string> record;
    std::string field;
    State state = State::FieldStart;
    const auto problem = [&](const char* what) {
        csv.problems.push_back(std::string(what) + " in record " +
                               std::to_string(csv.records.size() + 1));
    };
    const auto endField = [&] {
        record.push_back(std::move(field));
        field.clear();
    };
    for (const char c : text) {
        switch (state) {
        case State::FieldStart:
        case State::Unquoted:
            if (c == separator) {
                endField();
                state = State::FieldStart;
            } else if (c == '\r') {
                state = State::CarriageReturn;
            } else if (c == '\n') {
                problem("bare LF");
            } else if (c == '"') {
                if (state == State::FieldStart)
                    state = State::Quoted;
                else
                    problem("quote inside an unquoted field");
            } else {
                field += c;
                state = State::Unquoted;
            }
            break;
        case State::Quoted:
            if (c == '"')
                state = State::QuoteInQuoted;
            else
                field += c;
            break;
        case State::QuoteInQuoted:
            if (c == '"') {
                field += '"';
                state = State::Quoted;
            } else if (c == separator) {
                endField();
                state = State::FieldStart;
            } else if (c == '\r') {
                state = State::CarriageReturn;
            } else {
                problem("text after a closing quote");
            }
            break;
        case State::CarriageReturn:
            if (c != '\n') {
                problem("CR without LF");
                break;
            }
            endField();
            csv.records.push_back(std::move(record));
            record.clear();
            state = State::FieldStart;
            break;
        }
    }
    if (state == State::Quoted)
        problem("unterminated quote");
    if (state != State::FieldStart || !record.empty())
        problem("last record without CR LF");
    return csv;
}
