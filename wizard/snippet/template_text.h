// Turns the bytes of a template file into the UTF-8 text that generation works on.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace ostrel {

// Why a template's bytes cannot be read as the text its byte-order mark announces.
class TemplateTextError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A template is UTF-8, and a leading byte-order mark is dropped so it never reaches the page.
// A template that starts with a UTF-16 mark (little or big endian), as some editors save, is
// UTF-16; one that is not valid UTF-16 throws TemplateTextError. Bytes that are not valid
// UTF-8 come from a legacy ANSI template and are read as Windows-1252, one character a byte,
// so such templates keep working.
std::string decodeTemplateText(std::string bytes);

}  // namespace ostrel
