#include "table/measurementtable.h"

#include "runtime/convert.h"
#include "runtime/errors.h"
#include "runtime/numberformat.h"
#include "table/velocity.h"

#include <algorithm>

namespace table {

namespace {

struct ColumnSpec {
    const char* header;
    int width;
};

constexpr ColumnSpec kColumns[kColumnCount] = {
    {"N", 25}, {"V (m/s)", 45}, {"E (J)", 45}, {"m (g)", 35}, {"Bullet", 75}, {"dV (%)", 45},
};

} // namespace

StringGrid makeGrid()
{
    StringGrid grid(kColumnCount, 2);
    writeHeader(grid);
    return grid;
}

void writeHeader(StringGrid& grid)
{
    for (std::size_t c = 0; c < kColumnCount; ++c) {
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

void applyEnergyRule(StringGrid& grid, std::size_t row, std::string_view weight)
{
    try {
        const double v = velocityOf(grid.cell(ColV, row));
        const double m = rt::strToFloat(weight);
        grid.setCell(ColE, row, rt::formatEnergy(m * (v * v) / 1000 / 2));
    } catch (const rt::ConvertError&) {
        grid.setCell(ColE, row, std::string(kInvalidMark));
    }
}

Statistics statisticsPass(const StringGrid& grid)
{
    const std::size_t n = grid.rowCount() > 0 ? grid.rowCount() - 1 : 0;
    double vSum = 0;
    double eSum = 0;

    double vMax = velocityOf(grid.cell(ColV, 1));
    double vMin = vMax;
    bool energyValid = true;
    double eMax = 0;
    double eMin = 0;
    try {
        eMax = eMin = rt::strToFloat(grid.cell(ColE, 1));
    } catch (const rt::ConvertError&) {
        energyValid = false;
    }

    for (std::size_t r = 1; r <= n; ++r) {
        const double v = velocityOf(grid.cell(ColV, r));
        vSum += v;
        if (v > vMax)
            vMax = v;
        if (v < vMin)
            vMin = v;
        if (energyValid) {
            try {
                const double e = rt::strToFloat(grid.cell(ColE, r));
                eSum += e;
                if (e > eMax)
                    eMax = e;
                if (e < eMin)
                    eMin = e;
            } catch (const rt::ConvertError&) {
                energyValid = false;
            }
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
    GridUpdate update(grid);
    const std::size_t n = grid.rowCount() > 0 ? grid.rowCount() - 1 : 0;
    for (std::size_t r = 1; r <= n; ++r) {
        const double v = velocityOf(grid.cell(ColV, r));
        if (meanVelocity == 0)
            grid.setCell(ColDV, r, std::string(kInvalidMark));
        else
            grid.setCell(ColDV, r, rt::formatTwoDecimal((v - meanVelocity) / meanVelocity * 100));
    }
}

void applyBullet(StringGrid& grid, std::size_t top, std::size_t bottom, std::string_view weight,
                 std::string_view bullet)
{
    GridUpdate update(grid);
    for (std::size_t r = top; r <= bottom && r < grid.rowCount(); ++r) {
        grid.setCell(ColM, r, std::string(weight));
        grid.setCell(ColBullet, r, std::string(bullet));
        applyEnergyRule(grid, r, weight);
    }
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
    for (std::size_t r = 1; r < grid.rowCount(); ++r)
        grid.setCell(ColN, r, std::to_string(r));
}

} // namespace table
