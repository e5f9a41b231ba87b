// Literal placeholder replacement in one pass over the text.
#include "wizard/snippet/placeholder_replace.h"

namespace ostrel {

std::string replacePlaceholder(std::string text, std::string_view placeholder,
                               std::string_view value) {
    if (placeholder.empty()) return text;
    const std::string_view in(text);
    std::size_t hit = in.find(placeholder);
    // Most steps find nothing in a given template: hand the text back without copying it.
    if (hit == std::string_view::npos) return text;

    std::string out;
    out.reserve(in.size());
    std::size_t from = 0;
    do {
        out.append(in.substr(from, hit - from));
        out.append(value);
        from = hit + placeholder.size();
        hit = in.find(placeholder, from);
    } while (hit != std::string_view::npos);
    out.append(in.substr(from));
    return out;
}

}  // namespace ostrel
