#pragma once

#include "table/columns.h"
#include "table/stringdetails.h"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>

// The names and orders of a session file (docs/session-format.md), shared by its reader and
// its writer so that the two cannot drift apart.
namespace session::fields {

inline constexpr std::string_view kFormatName = "vexorel-session";

// The document's members.
inline constexpr std::string_view kFormat = "format";
inline constexpr std::string_view kVersion = "version";
inline constexpr std::string_view kString = "string";
inline constexpr std::string_view kShotFieldNames = "shotFields";
inline constexpr std::string_view kShots = "shots";
inline constexpr std::array<std::string_view, 5> kDocumentMembers = {kFormat, kVersion, kString,
                                                                     kShotFieldNames, kShots};

// A member of "string": a text, or a quantity ({"value", "unit"}) with the units it takes.
struct DetailField {
    std::string_view name;
    std::string table::StringDetails::*text = nullptr;
    table::Quantity table::StringDetails::*quantity = nullptr;
    std::span<const std::string_view> units = {};
};

// In the order they are written.
inline constexpr std::array<DetailField, 12> kDetailFields = {{
    {"title", &table::StringDetails::title},
    {"dateTime", &table::StringDetails::dateTime},
    {"rifle", &table::StringDetails::rifle},
    {"cartridge", &table::StringDetails::cartridge},
    {"powder", &table::StringDetails::powder},
    {"charge", nullptr, &table::StringDetails::charge, table::kChargeUnits},
    {"primer", &table::StringDetails::primer},
    {"case", &table::StringDetails::caseName},
    {"length", nullptr, &table::StringDetails::length, table::kLengthUnits},
    {"temperature", nullptr, &table::StringDetails::temperature, table::kTemperatureUnits},
    {"place", &table::StringDetails::place},
    {"notes", &table::StringDetails::notes},
}};
inline constexpr std::string_view kQuantityValue = "value";
inline constexpr std::string_view kQuantityUnit = "unit";

// The field of "string" of that name, or nothing.
const DetailField* detailField(std::string_view name);

// What each element of a shot's array holds, and where it goes in the grid.
enum class ShotValue { Text, Excluded, RecordedValue, RecordedUnit };
struct ShotField {
    std::string_view name;
    ShotValue value;
    std::size_t column;
};

// The shot array's fixed order. The six texts of a measurement file's record come first.
inline constexpr std::array<ShotField, 12> kShotFields = {{
    {"N", ShotValue::Text, table::ColN},
    {"V", ShotValue::Text, table::ColV},
    {"E", ShotValue::Text, table::ColE},
    {"m", ShotValue::Text, table::ColM},
    {"Bullet", ShotValue::Text, table::ColBullet},
    {"dV", ShotValue::Text, table::ColDV},
    {"time", ShotValue::Text, table::ColTime},
    {"excluded", ShotValue::Excluded, table::ColExcluded},
    {"flags", ShotValue::Text, table::ColFlags},
    {"note", ShotValue::Text, table::ColNote},
    {"recorded", ShotValue::RecordedValue, table::ColRecorded},
    {"recordedUnit", ShotValue::RecordedUnit, table::ColRecorded},
}};
inline constexpr std::size_t kRecordedValueIndex = 10;

inline constexpr std::array<std::string_view, 2> kRecordedUnits = {"ft/s", "m/s"};

// The Recorded cell "3007.98 ft/s" as the file's value and unit texts. A cell that does not
// end in a space and one of kRecordedUnits after some value is all value, so that any cell
// comes back as it was.
std::pair<std::string_view, std::string_view> splitRecorded(std::string_view cell);
// The cell back from the two texts.
std::string joinRecorded(std::string_view value, std::string_view unit);

} // namespace session::fields
