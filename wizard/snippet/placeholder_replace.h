// Literal placeholder replacement, the one text operation snippet generation needs.
#pragma once

#include <string>
#include <string_view>

namespace ostrel {

// Text that replacement steps rewrite in turn. Each step finds every occurrence of its
// placeholder exactly and case-sensitively from the start, left to right and without overlap,
// and does not scan the values it inserts; a later step scans the whole current text. A step
// is one pass over the text, and two buffers serve every step, so a large template costs no
// fresh allocation per step.
class PlaceholderText {
public:
    explicit PlaceholderText(std::string text) : m_text(std::move(text)) {}

    void replace(std::string_view placeholder, std::string_view value);
    const std::string& text() const { return m_text; }
    std::string take() && { return std::move(m_text); }

private:
    std::string m_text;
    std::string m_scratch;
};

// One replacement step on its own.
std::string replacePlaceholder(std::string text, std::string_view placeholder,
                               std::string_view value);

}  // namespace ostrel
