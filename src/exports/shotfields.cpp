#include "exports/shotfields.h"

#include "runtime/convert.h"
#include "runtime/decimalseparator.h"
#include "runtime/numberformat.h"
#include "table/velocitytext.h"

#include <algorithm>

#include <cmath>

namespace exports {

namespace {

using table::Units;

// Fifteen digits before scientific notation: no chronograph value comes near.
constexpr int kAllDigits = 15;

void assign(std::string& field, const std::optional<double>& value, int decimals)
{
    if (value)
        field = fixed(*value, decimals);
    else
        field.clear();
}

} // namespace

std::string fixed(double value, int decimals)
{
    return rt::formatFloat(value, rt::FloatFormat::Fixed, kAllDigits, decimals);
}

int weightDecimals(Units units)
{
    return units == Units::Metric ? 3 : 1;
}

namespace {

std::optional<double> present(double value)
{
    return std::isnan(value) ? std::nullopt : std::optional<double>(value);
}

} // namespace

std::string velocityText(const table::StringGrid& grid, std::size_t row, Units units)
{
    const std::string_view stored = grid.cell(table::ColV, row);
    const double velocity = grid.numbers().velocity(row);
    if (!std::isnan(velocity)) {
        if (units == Units::Imperial)
            return table::velocityShown(stored, velocity, units,
                                        grid.numbers().velocityDecimalsNeeded(row, units));
        std::string text(stored);
        std::replace_if(
            text.begin(), text.end(), [](char c) { return c == ',' || c == '.'; },
            rt::decimalSeparator());
        return text;
    }
    // Forms the passes refuse but a spreadsheet reads ("3e2"), as whole numbers.
    const std::optional<double> v = rowVelocityIn(grid, row, units);
    return v ? fixed(*v, 0) : std::string();
}

std::optional<double> rowVelocityIn(const table::StringGrid& grid, std::size_t row, Units units)
{
    std::optional<double> v = present(grid.numbers().velocityAsDecimal(row));
    if (v && units == Units::Imperial)
        *v = table::feetPerSecond(*v);
    return v;
}

std::optional<double> rowWeightIn(const table::StringGrid& grid, std::size_t row, Units units)
{
    std::optional<double> m = present(grid.numbers().weight(row));
    if (m && units == Units::Imperial)
        *m = table::grains(*m);
    return m;
}

std::optional<double> rowEnergyIn(const table::StringGrid& grid, std::size_t row, Units units)
{
    const table::RowNumbers& numbers = grid.numbers();
    std::optional<double> e = present(numbers.energy(row));
    if (!e)
        return e;
    // The cell keeps three significant digits ("4,41E3"); one decimal needs the energy rule's
    // own value, m * V^2 / 2, from the same velocity and weight.
    const double v = numbers.velocityAsDecimal(row);
    const double m = numbers.weight(row);
    if (!std::isnan(v) && !std::isnan(m))
        e = m * v * v / 1000 / 2;
    return units == Units::Imperial ? table::footPounds(*e) : *e;
}

ShotFields shotHeader(const table::StringGrid& grid, Units units)
{
    ShotFields header;
    for (std::size_t col = 0; col < header.size(); ++col)
        header[col] = table::measurementCellDisplay(grid, col, 0, units);
    return header;
}

namespace {

// What spreadsheets take for the start of a formula, in a field they read or paste.
bool startsFormula(std::string_view text)
{
    return !text.empty() &&
           std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

} // namespace

void assignSpreadsheetText(std::string& field, std::string_view text)
{
    field.clear();
    if (startsFormula(text))
        field += '\'';
    field += text;
}

void shotFields(const table::StringGrid& grid, std::size_t row, Units units, ShotFields& fields)
{
    using namespace table;
    fields[ColN] = grid.cell(ColN, row);
    fields[ColV] = velocityText(grid, row, units);
    assign(fields[ColE], rowEnergyIn(grid, row, units), 1);
    assign(fields[ColM], rowWeightIn(grid, row, units), weightDecimals(units));
    assignSpreadsheetText(fields[ColBullet], grid.cell(ColBullet, row));
    assign(fields[ColDV], rt::parseFloat(grid.cell(ColDV, row)), 2);
}

} // namespace exports
