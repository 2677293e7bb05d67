#include "session/sessionfields.h"

#include <algorithm>

namespace session::fields {

const DetailField* detailField(std::string_view name)
{
    const auto it = std::find_if(kDetailFields.begin(), kDetailFields.end(),
                                 [name](const DetailField& field) { return field.name == name; });
    return it == kDetailFields.end() ? nullptr : &*it;
}

std::pair<std::string_view, std::string_view> splitRecorded(std::string_view cell)
{
    for (std::string_view unit : kRecordedUnits) {
        if (cell.size() > unit.size() + 1 && cell.ends_with(unit) &&
            cell[cell.size() - unit.size() - 1] == ' ')
            return {cell.substr(0, cell.size() - unit.size() - 1), unit};
    }
    return {cell, {}};
}

std::string joinRecorded(std::string_view value, std::string_view unit)
{
    std::string cell(value);
    if (!unit.empty()) {
        cell += ' ';
        cell += unit;
    }
    return cell;
}

} // namespace session::fields
