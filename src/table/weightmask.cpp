#include "table/weightmask.h"

namespace table {

std::string weightFieldText(std::string_view displayText)
{
    std::string text(displayText);
    for (char& c : text) {
        if (c == kWeightBlank)
            c = ' ';
    }
    return text;
}

std::string weightDisplayFor(std::string_view weight)
{
    std::string display(kWeightFieldLength, kWeightBlank);
    display[kWeightCommaPosition] = ',';
    std::size_t position = 0;
    for (std::size_t i = 0; i < weight.size() && position < kWeightFieldLength; ++i) {
        const auto byte = static_cast<unsigned char>(weight[i]);
        if ((byte & 0xC0) == 0x80)
            continue; // rest of a multi-byte character, which took its one position already
        if (position != kWeightCommaPosition && byte >= '0' && byte <= '9')
            display[position] = static_cast<char>(byte);
        ++position;
    }
    return display;
}

} // namespace table
