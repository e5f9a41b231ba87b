// ASCII case folding: HTML names, registry names and dispatch names compare without regard
// to the case of A-Z only, whatever the process's locale says.
#pragma once

#include <string>
#include <string_view>

namespace platform::text {

constexpr char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
// The white space of HTML and of the formats read here: space, tab, LF, FF and CR.
constexpr bool isAsciiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}
constexpr bool isAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
constexpr bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string asciiLowered(std::string_view text);

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace platform::text
