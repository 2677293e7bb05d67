#include "table/weightmask.h"

#include "runtime/asciitext.h"

#include <algorithm>

namespace table {

namespace {

bool isSeparator(char c)
{
    return c == ',' || c == '.';
}

std::string assemble(const std::string& digits, const std::string& decimals)
{
    return (digits.empty() ? std::string(1, kWeightBlank) : digits) + ',' + decimals;
}

} // namespace

std::string weightFieldText(std::string_view displayText)
{
    std::string text(displayText);
    for (char& c : text) {
        if (c == kWeightBlank)
            c = ' ';
    }
    return text;
}

std::string weightDisplayFor(std::string_view weight, WeightShape shape)
{
    const std::size_t separator = std::min(weight.find_first_of(",."), weight.size());
    const std::string_view integer = weight.substr(0, separator);
    std::string digits;
    if (!integer.empty() && integer != " ") {
        if (integer.size() > shape.integerDigits ||
            !std::all_of(integer.begin(), integer.end(), rt::isAsciiDigit))
            return assemble({}, std::string(shape.decimals, kWeightBlank));
        digits = integer;
    }

    std::string decimals;
    const std::string_view rest = separator < weight.size() ? weight.substr(separator + 1) : "";
    for (std::size_t i = 0; i < rest.size() && decimals.size() < shape.decimals; ++i) {
        const auto byte = static_cast<unsigned char>(rest[i]);
        if ((byte & 0xC0) == 0x80)
            continue; // rest of a multi-byte character, which took its one position already
        decimals += rt::isAsciiDigit(rest[i]) ? rest[i] : kWeightBlank;
    }
    decimals.resize(shape.decimals, kWeightBlank);
    return assemble(digits, decimals);
}

std::optional<WeightEdit> normalizeWeightEdit(std::string_view text, std::size_t cursor,
                                              WeightShape shape)
{
    std::string s;
    s.reserve(text.size() + 1);
    for (char c : text) {
        if (rt::isAsciiDigit(c))
            s += c;
        else if (c == kWeightBlank || c == ' ')
            s += kWeightBlank;
        else if (isSeparator(c))
            s += ',';
        else
            return std::nullopt;
    }
    cursor = std::min(cursor, s.size());

    auto commas = std::count(s.begin(), s.end(), ',');
    if (commas == 0) {
        // The comma was deleted, and it stood where the deletion left the cursor.
        s.insert(cursor, 1, ',');
    } else if (commas > 1) {
        // Only a comma just typed can be told from the field's own.
        if (cursor == 0 || s[cursor - 1] != ',')
            return std::nullopt;
        s.erase(--cursor, 1);
        if (--commas > 1)
            return std::nullopt;
        const std::size_t comma = s.find(',');
        if (cursor > comma)
            return std::nullopt;
        cursor = comma + 1;
    }

    const std::size_t comma = s.find(',');
    bool inInteger = cursor <= comma;
    std::string digits;
    std::size_t integerCursor = 0;
    for (std::size_t i = 0; i < comma; ++i) {
        if (s[i] == kWeightBlank)
            continue;
        digits += s[i];
        if (i < cursor)
            ++integerCursor;
    }
    std::string decimals = s.substr(comma + 1);
    std::size_t decimalCursor = inInteger ? 0 : cursor - comma - 1;

    if (digits.size() > shape.integerDigits) {
        // A digit typed at the end of a full integer part goes on past the comma.
        if (digits.size() > shape.integerDigits + 1 || !inInteger || integerCursor != digits.size())
            return std::nullopt;
        decimals.insert(0, 1, digits.back());
        digits.pop_back();
        inInteger = false;
        decimalCursor = 1;
    }

    if (decimals.size() > shape.decimals) {
        const std::size_t extra = decimals.size() - shape.decimals;
        if (decimals.size() - decimalCursor < extra)
            return std::nullopt; // typed past the last position
        decimals.erase(decimalCursor, extra);
    } else if (decimals.size() < shape.decimals) {
        decimals.insert(std::min(decimalCursor, decimals.size()), shape.decimals - decimals.size(),
                        kWeightBlank);
    }

    WeightEdit edit;
    edit.display = assemble(digits, decimals);
    const std::size_t integerWidth = digits.empty() ? 1 : digits.size();
    edit.cursor =
        inInteger ? (digits.empty() ? 0 : integerCursor) : integerWidth + 1 + decimalCursor;
    return edit;
}

} // namespace table
