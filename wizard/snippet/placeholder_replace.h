// Literal placeholder replacement, the one text operation snippet generation needs.
#pragma once

#include <string>
#include <string_view>

namespace ostrel {

// Every occurrence of placeholder in text, found exactly and case-sensitively from the start,
// left to right and without overlap, replaced by value. The inserted value is not scanned
// again. One pass: time grows with the text's length plus the occurrences.
std::string replacePlaceholder(std::string text, std::string_view placeholder,
                               std::string_view value);

}  // namespace ostrel
