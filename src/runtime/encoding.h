#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rt {

bool isValidUtf8(std::string_view bytes);

// Files from older Windows installations carry Windows-1251 text.
std::string cp1251ToUtf8(std::string_view bytes);

// A line as read from a file or the device: kept as it is when it is UTF-8, else read as
// Windows-1251. The core works on UTF-8 throughout.
std::string decodeLine(std::string_view bytes);

// Whether the first bytes of a file are UTF-16 text: a byte-order mark (FF FE or FE FF), or
// ASCII characters each beside a NUL, which no 8-bit text has. Lines read from such a file
// would be NULs and Windows-1251 letters.
bool looksLikeUtf16(std::string_view firstBytes);

// Number of characters (code points) of a UTF-8 text.
std::size_t utf8Length(std::string_view text);

// The first maxChars characters of a UTF-8 text; cuts never split a character.
std::string utf8Left(std::string_view text, std::size_t maxChars);

// The last maxChars characters of a UTF-8 text.
std::string utf8Right(std::string_view text, std::size_t maxChars);

} // namespace rt
