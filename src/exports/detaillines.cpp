#include "exports/detaillines.h"

namespace exports {

std::vector<DetailLine> detailLines(const table::StringDetails& d)
{
    std::vector<DetailLine> lines;
    for (const table::StringDetailField& field : table::kStringDetailFields) {
        std::string value = table::fieldText(d, field);
        if (!value.empty())
            lines.push_back({field.caption, std::move(value)});
    }
    return lines;
}

} // namespace exports
