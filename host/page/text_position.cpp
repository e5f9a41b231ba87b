// Counts lines by LF (a CR LF pair is one break) and columns by UTF-8 lead bytes.
#include "host/page/text_position.h"

#include <algorithm>

#include "host/page/gumbo_tree.h"
#include "host/page/source_spans.h"
#include "platform/text/utf8.h"

namespace host::page {

LineColumn lineColumnOf(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    const std::string_view before = text.substr(0, offset);
    const auto line = 1 + std::count(before.begin(), before.end(), '\n');
    const std::size_t lineStart = before.rfind('\n') == std::string_view::npos ? 0 : before.rfind('\n') + 1;
    std::ptrdiff_t column = 1;
    for (std::size_t i = lineStart; i < offset; ++i) {
        if (!platform::text::isUtf8Continuation(text[i])) ++column;
    }
    return {static_cast<int>(line), static_cast<int>(column)};
}

std::string lineAndColumn(std::string_view text, std::size_t offset) {
    const LineColumn at = lineColumnOf(text, offset);
    return "line " + std::to_string(at.line) + ", column " + std::to_string(at.column);
}

std::string placeOf(const ParsedHtml& page, const GumboNode* e) {
    std::string name = '<' + lowerName(e);
    if (const char* id = attributeValue(e, "id")) name += " id=\"" + std::string(id) + "\"";
    name += ">";
    const auto tag = startTagSpan(page, e);
    if (!tag) return "the " + name + " that the page implies";
    return "the " + name + " at " + lineAndColumn(page.text(), tag->begin);
}

}  // namespace host::page
