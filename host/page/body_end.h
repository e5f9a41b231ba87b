// Where HTML appended to the body is written: inside the body's text, as an author writes it.
#pragma once

#include <gumbo.h>

#include <cstddef>
#include <optional>
#include <string>

#include "host/page/parsed_html.h"

namespace host::page {

// The new HTML goes at `offset`, after `closers` (end tags of elements still open there).
// Laid out on a line of its own, `lineBefore` goes before it; when something follows it on
// the line (an end tag), a line break (`lineBreak`, the page's own) unless the HTML ends
// with one, then `lineAfter`, the indentation that keeps that end tag at its column.
struct BodyEnd {
    std::size_t offset = 0;
    std::string closers;
    std::string lineBefore;
    std::string lineBreak;
    std::optional<std::string> lineAfter;
    // The white space written after the body's end tag. A browser adds it to the element
    // that is current there, which is not always on the body's last-child chain (content
    // moved out of an open table, say); written before the end tags, it lands there too.
    std::string spaceAfterEnd;
};

// Just before the body's end tag (</body>, or </html> ending the body) when the page has
// one, else after the body's last content. Never after </body> or </html>: a page whose
// body goes on after them (text or elements a browser moves into the body) fails with a
// com::Error that names that content and where it is.
BodyEnd bodyEnd(const ParsedHtml& page, const GumboNode* body, const char* source);

}  // namespace host::page
