// Where an element's tags and content lie in the page text, checked against the text itself.
#pragma once

#include <gumbo.h>

#include <cstddef>
#include <optional>
#include <string>

#include "host/page/parsed_html.h"

namespace host::page {

struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// The element's start tag as written, or nothing when the parser made the element up (an
// implied element, a clone of a formatting element, ...) or its reported position does not
// hold that tag in the text.
std::optional<Span> startTagSpan(const ParsedHtml& page, const GumboNode* element);
// The element's own end tag as written, or nothing when the end was implied or the reported
// position (gumbo reports 0 for some elements, form among them) does not hold that end tag.
std::optional<Span> endTagSpan(const ParsedHtml& page, const GumboNode* element);

// Where text goes to become the element's last content: the offset, and the end tags to
// write first so that elements still open there (closed only implicitly in the page) do not
// take it in. Nothing when no trustworthy offset exists.
struct InsertionPoint {
    std::size_t offset = 0;
    std::string closers;
};
std::optional<InsertionPoint> contentEnd(const ParsedHtml& page, const GumboNode* element);
// The end tags (and the end of a comment left open at the end of the page) that close what
// is still open inside the element at `offset`, innermost first.
std::string closersAt(const ParsedHtml& page, const GumboNode* element, std::size_t offset);
// Where the element's content begins: just after its start tag.
std::optional<std::size_t> contentBegin(const ParsedHtml& page, const GumboNode* element);

}  // namespace host::page
