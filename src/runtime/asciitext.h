#pragma once

#include <string>
#include <string_view>

namespace rt {

// Case folding of ASCII letters only: setting names, INI keys and device names are ASCII,
// and the result must not depend on the C locale that Qt sets from the environment.
bool sameText(std::string_view a, std::string_view b);
std::string upperAscii(std::string_view text);
// A file name's suffix whatever its case: "SESSION.VXS" ends with ".vxs".
bool endsWithText(std::string_view text, std::string_view suffix);

// '0' to '9' only, whatever the locale says a digit is.
constexpr bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace rt
