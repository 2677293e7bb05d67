#include "imports/fields.h"

#include "runtime/asciitext.h"
#include "runtime/convert.h"
#include "runtime/errors.h"
#include "table/units.h"

#include <algorithm>

namespace imports {

namespace {

constexpr double kMaxWeightGrams = 1000;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Blanks before a field, unless the blank separates fields itself.
std::size_t skipBlanks(std::string_view line, std::size_t pos, char separator)
{
    while (pos < line.size() && isBlank(line[pos]) && line[pos] != separator)
        ++pos;
    return pos;
}

} // namespace

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<std::vector<std::string>> splitFields(std::string_view line, char separator)
{
    std::vector<std::string> fields;
    std::size_t pos = 0;
    for (;;) {
        pos = skipBlanks(line, pos, separator);
        std::string field;
        if (pos < line.size() && line[pos] == '"') {
            ++pos;
            for (;;) {
                const std::size_t quote = line.find('"', pos);
                if (quote == std::string_view::npos)
                    return std::nullopt;
                field.append(line.substr(pos, quote - pos));
                pos = quote + 1;
                if (pos >= line.size() || line[pos] != '"')
                    break;
                field += '"';
                ++pos;
            }
            pos = skipBlanks(line, pos, separator);
            if (pos < line.size() && line[pos] != separator)
                return std::nullopt;
        } else {
            const std::size_t end = std::min(line.find(separator, pos), line.size());
            field = trimmed(line.substr(pos, end - pos));
            pos = end;
        }
        fields.push_back(std::move(field));
        if (pos >= line.size())
            return fields;
        ++pos;
    }
}

std::string_view fieldAt(const std::vector<std::string>& fields, std::size_t i)
{
    return i < fields.size() ? std::string_view(fields[i]) : std::string_view();
}

bool beyondHeader(const std::vector<std::string>& fields, std::size_t headerColumns, char separator)
{
    if (headerColumns >= fields.size())
        return false;
    return separator == ',' ||
           std::any_of(fields.begin() + static_cast<std::ptrdiff_t>(headerColumns), fields.end(),
                       [](const std::string& field) { return !field.empty(); });
}

bool onlyEmptyFields(const std::vector<std::string>& fields)
{
    return std::all_of(fields.begin(), fields.end(),
                       [](const std::string& field) { return field.empty(); });
}

bool isShotNumber(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), rt::isAsciiDigit);
}

std::optional<double> number(std::string_view text)
{
    try {
        return rt::strToFloat(text);
    } catch (const rt::ConvertError&) {
        return std::nullopt;
    }
}

std::optional<double> weightInGrams(std::string_view text, bool grains)
{
    const std::optional<double> m = number(text);
    if (!m || *m < 0)
        return std::nullopt;
    const double g = grains ? table::grams(*m) : *m;
    if (g >= kMaxWeightGrams)
        return std::nullopt;
    return g;
}

std::optional<std::string_view> unitInParentheses(std::string_view header, std::string_view* name)
{
    header = trimmed(header);
    const std::size_t open = header.rfind('(');
    if (header.empty() || header.back() != ')' || open == std::string_view::npos) {
        if (name)
            *name = header;
        return std::nullopt;
    }
    if (name)
        *name = trimmed(header.substr(0, open));
    return trimmed(header.substr(open + 1, header.size() - open - 2));
}

VelocityUnit velocityUnit(std::string_view text)
{
    if (rt::sameText(text, "m/s") || rt::sameText(text, "mps"))
        return VelocityUnit::MetresPerSecond;
    if (rt::sameText(text, "ft/s") || rt::sameText(text, "fps"))
        return VelocityUnit::FeetPerSecond;
    return VelocityUnit::Unknown;
}

} // namespace imports
