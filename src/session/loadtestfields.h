#pragma once

#include "session/loadtest.h"

#include <array>
#include <optional>
#include <string_view>

// The names of a load test file (docs/loadtest-format.md), shared by its reader and writer.
// A string is a session file's string: session/sessionfields.h names its members.
namespace session::loadtestfields {

inline constexpr std::string_view kFormatName = "vexorel-loadtest";

inline constexpr std::string_view kTitle = "title";
inline constexpr std::string_view kVariable = "variable";
inline constexpr std::string_view kStrings = "strings";
inline constexpr std::string_view kComparisons = "comparisons";
// Of "variable".
inline constexpr std::string_view kKind = "kind";
inline constexpr std::string_view kName = "name";
inline constexpr std::string_view kUnit = "unit";
// Of a string, beside a session's members.
inline constexpr std::string_view kValue = "value";

inline constexpr std::array<std::string_view, 3> kKinds = {"charge", "length", "other"};

std::string_view kindName(VariableKind kind);
std::optional<VariableKind> kindNamed(std::string_view name);

} // namespace session::loadtestfields
