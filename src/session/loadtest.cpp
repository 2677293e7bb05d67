#include "session/loadtest.h"

#include "runtime/decimalseparator.h"
#include "runtime/numberformat.h"
#include "stats/roundrobin.h"
#include "table/units.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace session {

namespace {

constexpr double kMillimetresPerInch = 25.4;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A value as a string keeps it: '.' before at most three decimals, no trailing zeros.
std::string valueText(double value)
{
    std::string text = rt::formatFloat(value, rt::FloatFormat::Fixed, 15, 3);
    std::replace(text.begin(), text.end(), rt::decimalSeparator(), '.');
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return text;
}

// The detail a value of the variable stands for, if any.
table::Quantity* detailOf(table::StringDetails& details, VariableKind kind)
{
    switch (kind) {
    case VariableKind::Charge:
        return &details.charge;
    case VariableKind::Length:
        return &details.length;
    case VariableKind::Other:
        break;
    }
    return nullptr;
}

// A quantity's value in the variable's unit: as typed when the units agree, converted
// between grains and grams or inches and millimetres.
std::string convertedValue(const table::Quantity& quantity, const Variable& variable)
{
    const std::optional<std::string> kept = keptValue(quantity.value);
    if (!kept || kept->empty() || quantity.unit == variable.unit || quantity.unit.empty())
        return kept.value_or(std::string());
    const double value = *variableValue(*kept);
    const std::string_view from = quantity.unit;
    const std::string_view to = variable.unit;
    if (from == "g" && to == "gr")
        return valueText(table::grains(value));
    if (from == "gr" && to == "g")
        return valueText(table::grams(value));
    if (from == "in" && to == "mm")
        return valueText(value * kMillimetresPerInch);
    if (from == "mm" && to == "in")
        return valueText(value / kMillimetresPerInch);
    return {};
}

// The grid's data rows, copied without the grid's observer.
table::StringGrid copiedRows(const table::StringGrid& from, const std::vector<std::size_t>& rows)
{
    table::CellRows cells(table::kGridColumnCount);
    cells.reserve(rows.size(), 0);
    std::array<std::string_view, table::kGridColumnCount> row{};
    for (const std::size_t r : rows) {
        for (std::size_t c = 0; c < table::kGridColumnCount; ++c)
            row[c] = from.cell(c, r);
        cells.appendRow(row.data());
    }
    table::StringGrid grid = table::makeGrid();
    if (cells.size() > 0)
        grid.replaceRowsFrom(1, std::move(cells));
    return grid;
}

// Numbers from 1 and deviations against the string's own mean, where every velocity
// converts; a row that does not keeps the texts it came with.
void renumber(table::StringGrid& grid)
{
    for (std::size_t r = 1; r < grid.rowCount(); ++r) {
        if (std::isnan(grid.numbers().velocity(r)))
            return;
    }
    grid.setColumn(table::ColN, 1, grid.rowCount() - 1,
                   [](std::size_t row, std::string& text) { text = std::to_string(row); });
    table::deviationPass(grid, table::statisticsPass(grid).meanVelocity);
}

// The comparisons after `index` was replaced by `added` strings: those with it go, the
// others follow their strings.
void moveComparisons(LoadTest& test, std::size_t index, std::size_t added)
{
    std::erase_if(test.comparisons,
                  [index](const Comparison& c) { return c.first == index || c.second == index; });
    for (Comparison& c : test.comparisons) {
        for (std::size_t* at : {&c.first, &c.second}) {
            if (*at > index)
                *at = *at + added - 1;
        }
    }
}

} // namespace

Variable defaultVariable(VariableKind kind)
{
    switch (kind) {
    case VariableKind::Charge:
        return {kind, "Charge", std::string(table::kChargeUnits.front())};
    case VariableKind::Length:
        return {kind, "Seating depth", std::string(table::kLengthUnits.front())};
    case VariableKind::Other:
        break;
    }
    return {kind, "Variable", ""};
}

std::span<const std::string_view> unitsOf(VariableKind kind)
{
    switch (kind) {
    case VariableKind::Charge:
        return table::kChargeUnits;
    case VariableKind::Length:
        return table::kLengthUnits;
    case VariableKind::Other:
        break;
    }
    return {};
}

std::string unitInWords(const Variable& variable)
{
    if (variable.unit == "gr")
        return "grain";
    if (variable.unit == "g")
        return "gram";
    if (variable.unit == "in")
        return "inch";
    return variable.unit;
}

std::optional<double> variableValue(std::string_view text)
{
    text = trimmed(text);
    std::string number;
    bool digitsBefore = false;
    bool separator = false;
    bool digitsAfter = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (i == 0 && (ch == '-' || ch == '+')) {
            if (ch == '-')
                number += ch;
        } else if (ch >= '0' && ch <= '9') {
            number += ch;
            (separator ? digitsAfter : digitsBefore) = true;
        } else if ((ch == ',' || ch == '.') && digitsBefore && !separator) {
            number += '.';
            separator = true;
        } else {
            return std::nullopt;
        }
    }
    // Digits on either side of a separator, as a velocity has them.
    if (!digitsBefore || (separator && !digitsAfter))
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::string> keptValue(std::string_view typed)
{
    typed = trimmed(typed);
    if (typed.empty())
        return std::string();
    if (!variableValue(typed))
        return std::nullopt;
    if (typed.front() == '+')
        typed.remove_prefix(1);
    std::string text(typed);
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

LoadTestString makeString(const table::StringGrid& grid, const table::StringDetails& details,
                          const Variable& variable, std::string kept)
{
    std::vector<std::size_t> rows;
    for (std::size_t r = 1; r < grid.rowCount(); ++r)
        rows.push_back(r);
    LoadTestString string;
    string.grid = copiedRows(grid, rows);
    string.details = details;
    string.kept = std::move(kept);
    if (table::Quantity* detail = detailOf(string.details, variable.kind))
        string.value = convertedValue(*detail, variable);
    return string;
}

void setValue(LoadTestString& string, std::string value, const Variable& variable)
{
    string.value = std::move(value);
    table::Quantity* detail = detailOf(string.details, variable.kind);
    if (detail && !string.value.empty())
        *detail = {string.value, variable.unit};
}

void setVariable(LoadTest& test, Variable variable)
{
    test.variable = std::move(variable);
    for (LoadTestString& string : test.strings)
        setValue(string, string.value, test.variable);
}

void addComparison(LoadTest& test, Comparison comparison)
{
    const bool known =
        std::any_of(test.comparisons.begin(), test.comparisons.end(), [&](const Comparison& c) {
            return (c.first == comparison.first && c.second == comparison.second) ||
                   (c.first == comparison.second && c.second == comparison.first);
        });
    if (!known)
        test.comparisons.push_back(comparison);
}

void removeString(LoadTest& test, std::size_t index)
{
    if (index >= test.strings.size())
        return;
    test.strings.erase(test.strings.begin() + static_cast<std::ptrdiff_t>(index));
    moveComparisons(test, index, 0);
}

bool splitRoundRobin(LoadTest& test, std::size_t index, std::size_t loads)
{
    if (index >= test.strings.size() || loads < 2)
        return false;
    const LoadTestString& whole = test.strings[index];
    const std::size_t shots = whole.grid.rowCount() - 1;
    if (loads > shots || table::isEmpty(whole.grid))
        return false;
    std::vector<LoadTestString> split;
    std::size_t load = 0;
    for (std::vector<std::size_t> rows : stats::roundRobin(loads, shots)) {
        for (std::size_t& row : rows)
            ++row; // grid rows count from 1
        LoadTestString string;
        string.grid = copiedRows(whole.grid, rows);
        renumber(string.grid);
        string.details = whole.details;
        if (table::Quantity* detail = detailOf(string.details, test.variable.kind))
            *detail = {};
        const std::string place = std::to_string(++load) + " of " + std::to_string(loads);
        string.details.title = string.details.title.empty()
                                   ? "Load " + place
                                   : string.details.title + " (" + place + ")";
        string.kept = whole.kept;
        split.push_back(std::move(string));
    }
    const auto at = test.strings.begin() + static_cast<std::ptrdiff_t>(index);
    test.strings.erase(at);
    test.strings.insert(test.strings.begin() + static_cast<std::ptrdiff_t>(index),
                        std::make_move_iterator(split.begin()),
                        std::make_move_iterator(split.end()));
    moveComparisons(test, index, loads);
    return true;
}

} // namespace session
