#pragma once

#include "table/stringdetails.h"

#include <string>
#include <string_view>
#include <vector>

// The string's details as the exports list them: a caption and a value per field, with the
// captions of the Session dock.
namespace exports {

struct DetailLine {
    std::string_view caption;
    std::string value;
    friend bool operator==(const DetailLine&, const DetailLine&) = default;
};

inline constexpr std::string_view kDateCaption = "Date";
inline constexpr std::string_view kNotesCaption = "Notes";

// The fields that hold something, in the dock's order: Title, Date, Rifle, Cartridge,
// Powder, Charge, Primer, Case, Length, Temperature, Place, Notes. The date is the stored ISO
// 8601 text; a quantity is its value and unit ("24.5 gr"); the notes are one value, lines and
// all.
std::vector<DetailLine> detailLines(const table::StringDetails& details);

} // namespace exports
