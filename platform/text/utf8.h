// Strict UTF-8: checking raw bytes, the well-formed sequence at a place, and encoding.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::text {

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view bytes);

// Length of the well-formed sequence that starts at text[at] (1 to 4), or 0 when none does.
std::size_t wellFormedSequenceAt(std::string_view text, std::size_t at);

// Length of the sequence a lead byte starts (1 to 4); 0 for a continuation or invalid byte.
std::size_t utf8SequenceLength(unsigned char lead);

// Whether the byte continues a sequence (10xxxxxx) rather than starting a character.
constexpr bool isUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Appends the code point's UTF-8 form.
void appendUtf8(std::string& out, char32_t codePoint);

}  // namespace platform::text
