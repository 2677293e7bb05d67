#include "exports/shotfields.h"

#include "runtime/convert.h"
#include "runtime/numberformat.h"

namespace exports {

namespace {

using table::Units;

// Fifteen digits before scientific notation: no chronograph value comes near.
constexpr int kAllDigits = 15;

// The decimals a stored velocity was written with: what the metric grid shows is what the
// file holds.
int decimalsOf(std::string_view text)
{
    const std::size_t separator = text.find_first_of(",.");
    if (separator == std::string_view::npos)
        return 0;
    int decimals = 0;
    for (std::size_t i = separator + 1; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        ++decimals;
    return decimals;
}

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

std::optional<double> velocityIn(std::string_view stored, Units units)
{
    std::optional<double> v = rt::tryStrToFloat(stored);
    if (v && units == Units::Imperial)
        *v = table::feetPerSecond(*v);
    return v;
}

std::optional<double> weightIn(std::string_view stored, Units units)
{
    std::optional<double> m = rt::tryStrToFloat(stored);
    if (m && units == Units::Imperial)
        *m = table::grains(*m);
    return m;
}

std::optional<double> rowEnergyIn(const table::StringGrid& grid, std::size_t row, Units units)
{
    using namespace table;
    std::optional<double> e = rt::tryStrToFloat(grid.cell(ColE, row));
    if (!e)
        return e;
    // The cell keeps three significant digits ("4,41E3"); one decimal needs the energy rule's
    // own value, m * V^2 / 2, from the same velocity and weight.
    const std::optional<double> v = rt::tryStrToFloat(grid.cell(ColV, row));
    const std::optional<double> m = rt::tryStrToFloat(grid.cell(ColM, row));
    if (v && m)
        e = *m * *v * *v / 1000 / 2;
    return units == Units::Imperial ? table::footPounds(*e) : *e;
}

ShotFields shotHeader(const table::StringGrid& grid, Units units)
{
    ShotFields header;
    for (std::size_t col = 0; col < header.size(); ++col)
        header[col] = table::measurementCellDisplay(col, 0, grid.cell(col, 0), units);
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

void shotFields(const table::StringGrid& grid, std::size_t row, Units units, ShotFields& fields)
{
    using namespace table;
    fields[ColN] = grid.cell(ColN, row);
    const std::string_view velocity = grid.cell(ColV, row);
    // Imperial shows whole feet for a whole stored velocity and one decimal otherwise, as the
    // grid does.
    const int velocityDecimals =
        units == Units::Metric ? decimalsOf(velocity) : (decimalsOf(velocity) > 0 ? 1 : 0);
    assign(fields[ColV], velocityIn(velocity, units), velocityDecimals);
    assign(fields[ColE], rowEnergyIn(grid, row, units), 1);
    assign(fields[ColM], weightIn(grid.cell(ColM, row), units), weightDecimals(units));
    const std::string_view bullet = grid.cell(ColBullet, row);
    fields[ColBullet].clear();
    if (startsFormula(bullet))
        fields[ColBullet] += '\'';
    fields[ColBullet] += bullet;
    assign(fields[ColDV], rt::tryStrToFloat(grid.cell(ColDV, row)), 2);
}

} // namespace exports
