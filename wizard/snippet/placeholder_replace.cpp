// Literal placeholder replacement in one pass over the text.
#include "wizard/snippet/placeholder_replace.h"

#include <string.h>

namespace ostrel {
namespace {

// glibc's memmem skips ahead by whole stretches of text; a byte-by-byte find would make the
// scan, not the copy, the cost of a step.
std::size_t findFrom(std::string_view text, std::size_t from, std::string_view placeholder) {
    const void* hit =
        ::memmem(text.data() + from, text.size() - from, placeholder.data(), placeholder.size());
    if (hit == nullptr) return std::string_view::npos;
    return static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
}

}  // namespace

void PlaceholderText::replace(std::string_view placeholder, std::string_view value) {
    if (placeholder.empty()) return;
    const std::string_view in(m_text);
    std::size_t hit = findFrom(in, 0, placeholder);
    // Most steps find nothing in a given template: leave the text as it is.
    if (hit == std::string_view::npos) return;

    m_scratch.clear();
    m_scratch.reserve(in.size());
    std::size_t from = 0;
    do {
        m_scratch.append(in.substr(from, hit - from));
        m_scratch.append(value);
        from = hit + placeholder.size();
        hit = findFrom(in, from, placeholder);
    } while (hit != std::string_view::npos);
    m_scratch.append(in.substr(from));
    m_text.swap(m_scratch);
}

std::string replacePlaceholder(std::string text, std::string_view placeholder,
                               std::string_view value) {
    PlaceholderText result(std::move(text));
    result.replace(placeholder, value);
    return std::move(result).take();
}

}  // namespace ostrel
