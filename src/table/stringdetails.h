#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// What a load book keeps of a string beyond its velocities: when, with which rifle and load,
// in what conditions. The shots' own details (time, flags, note, exclusion) live in the
// table's detail columns beside each row, so they follow the rows wherever rows go.
namespace table {

// A value as the shooter typed it or the device gave it, with '.' before its decimals, and
// its unit: "24.5" "gr".
struct Quantity {
    std::string value;
    std::string unit;
    friend bool operator==(const Quantity&, const Quantity&) = default;
};

// The units each quantity takes; the first is the one a new value gets.
inline constexpr std::array<std::string_view, 2> kChargeUnits = {"gr", "g"};
inline constexpr std::array<std::string_view, 2> kLengthUnits = {"in", "mm"};
inline constexpr std::array<std::string_view, 2> kTemperatureUnits = {"\u00B0C", "\u00B0F"};

struct StringDetails {
    std::string title;
    // ISO 8601, "2024-05-11T09:40:00", with the UTC offset where the source gives one.
    std::string dateTime;
    std::string rifle;
    std::string cartridge;
    std::string powder;
    Quantity charge;
    std::string primer;
    std::string caseName;
    // To the ogive or overall, as the shooter measures it.
    Quantity length;
    Quantity temperature;
    std::string place;
    // Several lines.
    std::string notes;

    bool empty() const { return *this == StringDetails{}; }
    friend bool operator==(const StringDetails&, const StringDetails&) = default;
};

// The string's fields in the order every listing of them keeps, with their captions: the
// exports write them so and read them back by these captions.
struct StringDetailField {
    std::string_view caption;
    std::string StringDetails::*text = nullptr;
    Quantity StringDetails::*quantity = nullptr;
    std::span<const std::string_view> units = {};
};
inline constexpr StringDetailField kStringDetailFields[] = {
    {"Title", &StringDetails::title},
    {"Date", &StringDetails::dateTime},
    {"Rifle", &StringDetails::rifle},
    {"Cartridge", &StringDetails::cartridge},
    {"Powder", &StringDetails::powder},
    {"Charge", nullptr, &StringDetails::charge, kChargeUnits},
    {"Primer", &StringDetails::primer},
    {"Case", &StringDetails::caseName},
    {"Length", nullptr, &StringDetails::length, kLengthUnits},
    {"Temperature", nullptr, &StringDetails::temperature, kTemperatureUnits},
    {"Place", &StringDetails::place},
    {"Notes", &StringDetails::notes},
};

// A field's value as one text, "24.5 gr" for a quantity; and back, where a text without one
// of the quantity's units is all value.
std::string fieldText(const StringDetails& details, const StringDetailField& field);
void setFieldText(StringDetails& details, const StringDetailField& field, std::string_view text);

// A shot's flags, in the order ColFlags lists them.
inline constexpr std::array<std::string_view, 4> kShotFlags = {"cold bore", "clean bore", "fouler",
                                                               "flyer"};

// A typed list of flags as ColFlags keeps it: the known flags named, in any letter case and
// order, separated by commas, become kShotFlags' words in their order ("Flyer, cold bore" ->
// "cold bore, flyer"); an empty text none. Nothing for a text naming anything else.
std::optional<std::string> normalizedFlags(std::string_view text);

} // namespace table
