#pragma once

#include "table/measurementtable.h"
#include "table/stringdetails.h"
#include "table/stringgrid.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A load test: strings shot with one thing changed from string to string (the charge, the
// seating depth, or anything else the shooter varies), each kept whole as a session keeps
// it, with the value it was shot at. The figures across them are in session/ladder.h.
namespace session {

enum class VariableKind { Charge, Length, Other };

struct Variable {
    VariableKind kind = VariableKind::Charge;
    // What the headings call it: "Charge", "Seating depth", "Neck tension".
    std::string name = "Charge";
    // gr or g for a charge (table::kChargeUnits), in or mm for a length (kLengthUnits), any
    // text for another.
    std::string unit = "gr";
    friend bool operator==(const Variable&, const Variable&) = default;
};

// What a variable of the kind is called and measured in until the user says otherwise.
Variable defaultVariable(VariableKind kind);
// The units a kind takes; none for Other, whose unit is free text.
std::span<const std::string_view> unitsOf(VariableKind kind);

// The unit as "per ..." says it: "grain", "gram", "inch", "mm", or the unit itself.
std::string unitInWords(const Variable& variable);

struct LoadTestString {
    // The rows with every detail column, as the main window's table keeps them.
    table::StringGrid grid = table::makeGrid();
    table::StringDetails details;
    // What its file held that this program does not know, written back when saved.
    std::string kept;
    // The variable's value as typed, with '.' before its decimals as a detail's quantity
    // keeps it; empty until typed.
    std::string value;
};

// Two strings the user compared, by their index in LoadTest::strings.
struct Comparison {
    std::size_t first = 0;
    std::size_t second = 0;
    friend bool operator==(const Comparison&, const Comparison&) = default;
};

struct LoadTest {
    std::string title;
    Variable variable;
    // In the order they were added; the ladder orders them by value.
    std::vector<LoadTestString> strings;
    std::vector<Comparison> comparisons;
    // The file's members this program does not know.
    std::string kept;
};

// More strings than any ladder a shooter fires; a file beyond it is not one of ours.
inline constexpr std::size_t kMaxLoadTestStrings = 1000;

// A value typed with ',' or '.' before its decimals, an optional sign, blanks around it;
// nothing for anything else (exponents, letters, an empty text).
std::optional<double> variableValue(std::string_view text);
// The text a string keeps for a typed value: trimmed, '.' before the decimals. An empty
// text stays empty (no value); nothing for a text that is no value.
std::optional<std::string> keptValue(std::string_view typed);

// A string from a table's data rows, copied (the table stays the caller's), with its
// details. The value is the charge detail's for a charge, the length detail's for a length,
// converted to the variable's unit; otherwise empty.
LoadTestString makeString(const table::StringGrid& grid, const table::StringDetails& details,
                          const Variable& variable, std::string kept = {});

// The value as keptValue gives it. For a charge or a length the string's matching detail
// follows, so that the string says on its own what it was loaded with.
void setValue(LoadTestString& string, std::string value, const Variable& variable);

// A new variable; the details of every string with a value follow its unit.
void setVariable(LoadTest& test, Variable variable);

// Adds a comparison unless the same pair (in either order) is there already.
void addComparison(LoadTest& test, Comparison comparison);

// Removes a string with the comparisons it was in; the others follow their strings.
void removeString(LoadTest& test, std::size_t index);

// One string fired in rotation over `loads` values becomes that many strings in its place:
// shot i (from 1) goes to load ((i - 1) mod loads) + 1. Each shot keeps its details; the
// new strings are numbered from 1 with deviations against their own mean, and keep the
// string's details but for the value (and the detail it stands for), which the user types,
// with " (j of k)" after the title ("Load j of k" without one). Comparisons with the split string
// go. Nothing happens for fewer than 2 loads or more loads than shots.
bool splitRoundRobin(LoadTest& test, std::size_t index, std::size_t loads);

} // namespace session
