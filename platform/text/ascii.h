// ASCII case folding: HTML names, registry names and dispatch names compare without regard
// to the case of A-Z only, whatever the process's locale says.
#pragma once

#include <string>
#include <string_view>

namespace platform::text {

constexpr char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string asciiLowered(std::string_view text);

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace platform::text
