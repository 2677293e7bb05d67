#include "exports/detaillines.h"

namespace exports {

namespace {

std::string quantityText(const table::Quantity& q)
{
    if (q.value.empty() || q.unit.empty())
        return q.value;
    return q.value + ' ' + q.unit;
}

} // namespace

std::vector<DetailLine> detailLines(const table::StringDetails& d)
{
    const DetailLine all[] = {{"Title", d.title},
                              {kDateCaption, d.dateTime},
                              {"Rifle", d.rifle},
                              {"Cartridge", d.cartridge},
                              {"Powder", d.powder},
                              {"Charge", quantityText(d.charge)},
                              {"Primer", d.primer},
                              {"Case", d.caseName},
                              {"Length", quantityText(d.length)},
                              {"Temperature", quantityText(d.temperature)},
                              {"Place", d.place},
                              {kNotesCaption, d.notes}};
    std::vector<DetailLine> lines;
    for (const DetailLine& line : all) {
        if (!line.value.empty())
            lines.push_back(line);
    }
    return lines;
}

} // namespace exports
