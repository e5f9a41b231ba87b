// The Windows-1252 code page, both ways, for pages whose bytes are not UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::text {

// The character of one byte (see windows1252ToUtf8).
char16_t windows1252Char(unsigned char byte);

// Every byte decodes to one character. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the control characters of the same number, so
// any file reads and writes back byte for byte.
std::string windows1252ToUtf8(std::string_view bytes);

// The byte for a character, or nothing when the code page has none for it.
std::optional<char> windows1252Byte(char32_t codePoint);

}  // namespace platform::text
