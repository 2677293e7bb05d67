#include "table/stringdetails.h"

#include "runtime/asciitext.h"

#include <algorithm>

namespace table {

std::string fieldText(const StringDetails& details, const StringDetailField& field)
{
    if (field.text)
        return details.*(field.text);
    const Quantity& q = details.*(field.quantity);
    if (q.value.empty() || q.unit.empty())
        return q.value;
    return q.value + ' ' + q.unit;
}

void setFieldText(StringDetails& details, const StringDetailField& field, std::string_view text)
{
    if (field.text) {
        details.*(field.text) = text;
        return;
    }
    const std::size_t space = text.rfind(' ');
    if (space != std::string_view::npos && std::find(field.units.begin(), field.units.end(),
                                                     text.substr(space + 1)) != field.units.end()) {
        std::string_view value = text.substr(0, space);
        while (!value.empty() && value.back() == ' ')
            value.remove_suffix(1);
        details.*(field.quantity) = {std::string(value), std::string(text.substr(space + 1))};
        return;
    }
    details.*(field.quantity) = {std::string(text), {}};
}

std::optional<std::string> normalizedFlags(std::string_view text)
{
    std::array<bool, kShotFlags.size()> set{};
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        std::string_view word = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        while (!word.empty() && word.front() == ' ')
            word.remove_prefix(1);
        while (!word.empty() && word.back() == ' ')
            word.remove_suffix(1);
        if (word.empty())
            continue;
        bool known = false;
        for (std::size_t i = 0; i < kShotFlags.size(); ++i) {
            if (rt::sameText(word, kShotFlags[i]))
                known = set[i] = true;
        }
        if (!known)
            return std::nullopt;
    }
    std::string flags;
    for (std::size_t i = 0; i < kShotFlags.size(); ++i) {
        if (!set[i])
            continue;
        flags += flags.empty() ? "" : ", ";
        flags += kShotFlags[i];
    }
    return flags;
}

} // namespace table
