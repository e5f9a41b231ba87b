// Strict UTF-8 checks on raw bytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace host {

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view bytes);

// Length of the sequence a lead byte starts (1 to 4); 0 for a continuation or invalid byte.
std::size_t utf8SequenceLength(unsigned char lead);

}  // namespace host
