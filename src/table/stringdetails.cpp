#include "table/stringdetails.h"

#include "runtime/asciitext.h"

namespace table {

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
