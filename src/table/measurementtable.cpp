#include "table/measurementtable.h"

#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/numberformat.h"
#include "table/velocity.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace table {

namespace {

struct ColumnSpec {
    const char* header;
    int width;
};

constexpr ColumnSpec kColumns[kShownDetailColumnCount] = {
    {"N", 25},      {"V (m/s)", 45}, {"E (J)", 45}, {"m (g)", 35}, {"Bullet", 75},
    {"dV (%)", 45}, {"Time", 110},   {"Flags", 75}, {"Note", 120},
};

} // namespace

StringGrid makeGrid()
{
    StringGrid grid(kGridColumnCount, 2, true);
    writeHeader(grid);
    return grid;
}

void writeHeader(StringGrid& grid)
{
    for (std::size_t c = 0; c < std::size(kColumns); ++c) {
        grid.setCell(c, 0, kColumns[c].header);
        grid.setColWidth(c, kColumns[c].width);
    }
}

void clear(StringGrid& grid)
{
    GridUpdate update(grid);
    grid.setRowCount(2);
    for (std::size_t c = 0; c < grid.colCount(); ++c)
        grid.setCell(c, 1, std::string());
}

bool isEmpty(const StringGrid& grid)
{
    return grid.cell(ColV, 1).empty();
}

double velocityAt(const StringGrid& grid, std::size_t row)
{
    const double v = grid.numbers().velocity(row);
    if (std::isnan(v))
        velocityOf(grid.cell(ColV, row));
    return v;
}

void applyEnergyRule(StringGrid& grid, std::size_t row, std::string_view weight)
{
    applyEnergyRule(grid, row, rt::parseFloat(weight));
}

namespace {

// The energy's text, and the number the text reads as.
std::string energyText(double velocity, std::optional<double> grams, double& shown)
{
    if (std::isnan(velocity) || !grams) {
        shown = RowNumbers::kNotANumber;
        return std::string(kInvalidMark);
    }
    return rt::formatEnergy(*grams * (velocity * velocity) / 1000 / 2, shown);
}

} // namespace

void applyEnergyRule(StringGrid& grid, std::size_t row, std::optional<double> grams)
{
    double shown = 0;
    grid.setCell(ColE, row, energyText(grid.numbers().velocity(row), grams, shown));
}

void applyEnergyRule(StringGrid& grid, std::size_t first, std::size_t last,
                     std::optional<double> grams)
{
    const RowNumbers& numbers = grid.numbers();
    grid.setColumnWithNumbers(ColE, first, last, [&](std::size_t r, std::string& text) {
        double shown = 0;
        text = energyText(numbers.velocity(r), grams, shown);
        return shown;
    });
}

Statistics statisticsPass(const StringGrid& grid)
{
    const std::size_t n = grid.rowCount() > 0 ? grid.rowCount() - 1 : 0;
    const RowNumbers& numbers = grid.numbers();
    double vSum = 0;
    double eSum = 0;

    double vMax = velocityAt(grid, 1);
    double vMin = vMax;
    double eMax = numbers.energy(1);
    double eMin = eMax;
    bool energyValid = !std::isnan(eMax);

    for (std::size_t r = 1; r <= n; ++r) {
        const double v = velocityAt(grid, r);
        vSum += v;
        if (v > vMax)
            vMax = v;
        if (v < vMin)
            vMin = v;
        if (energyValid) {
            const double e = numbers.energy(r);
            if (std::isnan(e)) {
                energyValid = false;
                continue;
            }
            eSum += e;
            if (e > eMax)
                eMax = e;
            if (e < eMin)
                eMin = e;
        }
    }

    Statistics s;
    s.meanVelocity = vSum / static_cast<double>(n);
    s.maxVelocity = vMax;
    s.minVelocity = vMin;
    s.vMax = rt::formatInteger(vMax);
    s.vMin = rt::formatInteger(vMin);
    s.vMean = rt::formatTwoDecimal(s.meanVelocity);
    s.energyValid = energyValid;
    if (energyValid) {
        s.maxEnergy = eMax;
        s.minEnergy = eMin;
        s.meanEnergy = eSum / static_cast<double>(n);
        s.eMax = rt::formatTwoDecimal(eMax);
        s.eMin = rt::formatTwoDecimal(eMin);
        s.eMean = rt::formatTwoDecimal(s.meanEnergy);
    } else {
        s.eMax = s.eMin = s.eMean = std::string(kInvalidMark);
    }
    return s;
}

void deviationPass(StringGrid& grid, double meanVelocity)
{
    const std::size_t n = grid.rowCount() > 0 ? grid.rowCount() - 1 : 0;
    // The velocities first: a bad one stops the pass with earlier rows written, as row by row.
    std::size_t convertible = 0;
    while (convertible < n && !std::isnan(grid.numbers().velocity(convertible + 1)))
        ++convertible;
    if (convertible > 0) {
        const RowNumbers& numbers = grid.numbers();
        grid.setColumnWithNumbers(ColDV, 1, convertible, [&](std::size_t r, std::string& text) {
            if (meanVelocity == 0) {
                text = kInvalidMark;
                return RowNumbers::kNotANumber;
            }
            double shown = 0;
            text = rt::formatTwoDecimal((numbers.velocity(r) - meanVelocity) / meanVelocity * 100,
                                        shown);
            return shown;
        });
    }
    if (convertible < n)
        velocityAt(grid, convertible + 1);
}

void applyBullet(StringGrid& grid, std::size_t top, std::size_t bottom, std::string_view weight,
                 std::string_view bullet)
{
    GridUpdate update(grid);
    grid.setColumn(ColM, top, bottom, [&](std::size_t, std::string& text) { text = weight; });
    grid.setColumn(ColBullet, top, bottom, [&](std::size_t, std::string& text) { text = bullet; });
    applyEnergyRule(grid, top, bottom, rt::parseFloat(weight));
}

void deleteRows(StringGrid& grid, std::size_t top, std::size_t bottom)
{
    GridUpdate update(grid);
    // Rows leave the store itself; nothing else of the table is copied.
    const std::size_t first = std::max<std::size_t>(top, 1);
    if (grid.rowCount() > 1 && first <= bottom)
        grid.removeRows(first, std::min(bottom, grid.rowCount() - 1));
    if (grid.rowCount() <= 1) {
        clear(grid);
        return;
    }
    // One column pass: nearly every number keeps its length, and is written in place.
    grid.setColumn(ColN, 1, grid.rowCount() - 1, [](std::size_t r, std::string& text) {
        char digits[24];
        text.assign(digits, std::to_chars(digits, digits + sizeof digits, r).ptr);
    });
}

} // namespace table
