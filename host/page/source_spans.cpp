// Tag spans checked byte by byte against the page text before anything is edited by them.
#include "host/page/source_spans.h"

#include <algorithm>
#include <string_view>

#include "host/page/gumbo_tree.h"
#include "platform/text/ascii.h"

namespace host::page {
namespace {

constexpr unsigned kMadeUp =
    GUMBO_INSERTION_BY_PARSER | GUMBO_INSERTION_IMPLIED | GUMBO_INSERTION_CONVERTED_FROM_END_TAG |
    GUMBO_INSERTION_FROM_ISINDEX | GUMBO_INSERTION_FROM_IMAGE |
    GUMBO_INSERTION_RECONSTRUCTED_FORMATTING_ELEMENT | GUMBO_INSERTION_ADOPTION_AGENCY_CLONED;

bool isTagNameEnd(char c) {
    return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

// Whether text[at..] starts with `prefix` followed by the element's name and then the end of
// the name, and the whole piece of `length` bytes ends with '>'.
bool holdsTag(const ParsedHtml& page, std::size_t at, std::size_t length, std::string_view prefix,
              const GumboNode* element) {
    const std::string& text = page.text();
    if (at == std::string::npos || length < prefix.size() + 2 || at + length > text.size()) {
        return false;
    }
    std::string_view piece(text.data() + at, length);
    if (!piece.starts_with(prefix) || piece.back() != '>') return false;
    // The name without building a string: known tags by their table name.
    const GumboElement& e = element->v.element;
    std::string_view name;
    std::string unknown;
    if (e.tag != GUMBO_TAG_UNKNOWN) {
        name = gumbo_normalized_tagname(e.tag);
    } else {
        unknown = lowerName(element);
        name = unknown;
    }
    std::size_t i = prefix.size();
    for (char c : name) {
        if (i >= piece.size() ||
            platform::text::asciiLower(piece[i]) != c) {
            return false;
        }
        ++i;
    }
    return i < piece.size() && isTagNameEnd(piece[i]);
}

}  // namespace

std::optional<Span> startTagSpan(const ParsedHtml& page, const GumboNode* element) {
    if (!isElement(element) || (element->parse_flags & kMadeUp)) return std::nullopt;
    const GumboElement& e = element->v.element;
    const std::size_t at = page.offsetOf(e.original_tag.data);
    if (at != page.offsetOf(e.start_pos)) return std::nullopt;
    if (!holdsTag(page, at, e.original_tag.length, "<", element)) return std::nullopt;
    return Span{at, at + e.original_tag.length};
}

std::optional<Span> endTagSpan(const ParsedHtml& page, const GumboNode* element) {
    if (!isElement(element) || (element->parse_flags & kMadeUp)) return std::nullopt;
    const GumboElement& e = element->v.element;
    if (!e.original_end_tag.data || e.original_end_tag.length == 0) return std::nullopt;
    const std::size_t at = page.offsetOf(e.original_end_tag.data);
    if (at != page.offsetOf(e.end_pos)) return std::nullopt;
    if (!holdsTag(page, at, e.original_end_tag.length, "</", element)) return std::nullopt;
    return Span{at, at + e.original_end_tag.length};
}

std::optional<std::size_t> contentBegin(const ParsedHtml& page, const GumboNode* element) {
    if (auto tag = startTagSpan(page, element)) return tag->end;
    return std::nullopt;
}

namespace {

// The start offset of a node as the parser reports it (a hint, checked by the caller's
// verification).
std::size_t startOf(const ParsedHtml& page, const GumboNode* n) {
    if (isElement(n)) return page.offsetOf(n->v.element.start_pos);
    if (n->type == GUMBO_NODE_DOCUMENT) return 0;
    return page.offsetOf(n->v.text.start_pos);
}

// The first node after the element's subtree in document order, if any.
const GumboNode* nextAfterSubtree(const GumboNode* n) {
    for (; n && n->parent; n = n->parent) {
        auto siblings = childrenOf(n->parent);
        if (n->index_within_parent + 1 < siblings.size()) {
            return siblings[n->index_within_parent + 1];
        }
    }
    return nullptr;
}

// The largest start offset in the element's subtree.
std::size_t lastStartWithin(const ParsedHtml& page, const GumboNode* element) {
    std::size_t last = startOf(page, element);
    std::vector<const GumboNode*> pending{element};
    while (!pending.empty()) {
        const GumboNode* n = pending.back();
        pending.pop_back();
        const std::size_t s = startOf(page, n);
        if (s > last) last = s;
        for (const GumboNode* kid : childrenOf(n)) pending.push_back(kid);
    }
    return last;
}

// Whether anything of the element's content lies after `tag`, its own end tag: text after
// </body> still belongs to the body, for one. A text node's span reaches to where the parser
// flushed it, which may include the end tag itself but nothing after it unless its text does.
bool contentPasses(const ParsedHtml& page, const GumboNode* element, const Span& tag) {
    const auto kids = childrenOf(element);
    std::vector<const GumboNode*> pending(kids.begin(), kids.end());
    while (!pending.empty()) {
        const GumboNode* n = pending.back();
        pending.pop_back();
        if (startOf(page, n) >= tag.begin) return true;
        if (isTextLike(n)) {
            const std::size_t at = page.offsetOf(n->v.text.original_text.data);
            if (at == std::string::npos) return true;
            if (at + n->v.text.original_text.length > tag.begin) {
                // The span may run on over tags that add no text; the text decides.
                const auto before =
                    decodePlainText(std::string_view(page.text()).substr(at, tag.begin - at));
                if (!before || *before != n->v.text.text) return true;
            }
        }
        for (const GumboNode* kid : childrenOf(n)) pending.push_back(kid);
    }
    return false;
}

// An offset after which no text of the element's content can look like a tag: past the last
// node in document order (past a comment's or a raw-text element's whole text).
std::optional<std::size_t> pastLastContent(const ParsedHtml& page, const GumboNode* element) {
    // Down the last-child chain; the first element on it with an end tag of its own ends
    // everything inside it (an end tag further down, such as a nested cell's, does not).
    const GumboNode* last = element;
    while (!childrenOf(last).empty()) {
        last = childrenOf(last).back();
        if (isElement(last) && endTagSpan(page, last)) break;
    }
    if (last == element) return contentBegin(page, element);
    if (isTextLike(last) && readsTextLiterally(last->parent)) last = last->parent;
    if (isElement(last)) {
        if (auto tag = endTagSpan(page, last)) return tag->end;
        if (readsTextLiterally(last)) return std::nullopt;
        if (auto tag = startTagSpan(page, last)) return tag->end;
        return std::nullopt;
    }
    const std::size_t at = startOf(page, last);
    if (last->type == GUMBO_NODE_COMMENT) {
        const std::size_t close = page.text().find('>', at + 1);
        if (close == std::string::npos) return std::nullopt;
        const std::size_t dashes = page.text().find("-->", at + 4);
        return (dashes == std::string::npos ? close : dashes + 2) + 1;
    }
    return at;
}

// The element's own end tag written in [from, to) when the parser did not report it.
std::optional<std::size_t> findEndTag(const ParsedHtml& page, const GumboNode* element,
                                      std::size_t from, std::size_t to) {
    const std::string& text = page.text();
    const std::string name = lowerName(element);
    for (std::size_t at = text.find("</", from); at != std::string::npos && at < to;
         at = text.find("</", at + 2)) {
        std::size_t i = at + 2;
        bool matches = true;
        for (char c : name) {
            if (i >= text.size() || platform::text::asciiLower(text[i]) != c) {
                matches = false;
                break;
            }
            ++i;
        }
        if (matches && i < text.size() && isTagNameEnd(text[i])) return at;
    }
    return std::nullopt;
}

}  // namespace

std::string closersAt(const ParsedHtml& page, const GumboNode* element, std::size_t offset) {
    std::string closers;
    // Elements on the last-child chain that are still open at the offset must be closed first,
    // or the new content would land inside them.
    const GumboNode* n = element;
    while (true) {
        auto kids = childrenOf(n);
        if (kids.empty() || !isElement(kids.back())) break;
        const GumboNode* last = kids.back();
        if (isVoid(last)) break;
        const auto lastEnd = endTagSpan(page, last);
        if (lastEnd && lastEnd->end <= offset) break;
        // Closed implicitly by an earlier token (gumbo reports 0 when it does not know).
        const std::size_t reportedEnd = last->v.element.end_pos.offset;
        if (!lastEnd && reportedEnd != 0 && page.offsetOf(last->v.element.end_pos) < offset) {
            break;
        }
        closers = "</" + lowerName(last) + ">" + closers;
        n = last;
    }
    // A comment or CDATA section left open at the end of the page swallows whatever follows;
    // ending it keeps its text as it is.
    auto kids = childrenOf(n);
    if (offset == page.text().size() && !kids.empty() && kids.back()->type == GUMBO_NODE_CDATA) {
        const std::size_t at = startOf(page, kids.back());
        if (page.text().compare(at, 9, "<![CDATA[") == 0 &&
            page.text().find("]]>", at + 9) == std::string::npos) {
            closers = "]]>" + closers;
        }
    }
    if (offset == page.text().size() && !kids.empty() && kids.back()->type == GUMBO_NODE_COMMENT) {
        const std::size_t at = startOf(page, kids.back());
        const std::string& text = page.text();
        if (text.compare(at, 4, "<!--") == 0) {
            if (text.find("-->", at + 4) == std::string::npos &&
                text.find("--!>", at + 4) == std::string::npos) {
                // Dashes already written at the end belong to the comment's end, which the
                // end of the page drops: "<!-- c --" ends as " c " with ">", not "-->".
                const std::string_view body = std::string_view(text).substr(at + 4);
                closers = (body.ends_with("--") || body.ends_with("--!") ? ">"
                           : body.ends_with("-")                         ? "->"
                                                                         : "-->") +
                          closers;
            }
        } else if (text.find('>', at) == std::string::npos) {
            closers = ">" + closers;
        }
    }
    return closers;
}

std::optional<InsertionPoint> contentEnd(const ParsedHtml& page, const GumboNode* element) {
    InsertionPoint point;
    const auto ownEnd = endTagSpan(page, element);
    if (ownEnd && !contentPasses(page, element, *ownEnd)) {
        point.offset = ownEnd->begin;
    } else if (isHtml(element, GUMBO_TAG_BODY) || isHtml(element, GUMBO_TAG_HTML)) {
        // Text after </body> and </html> still flows into the body; only the end of the page
        // comes after all of it.
        point.offset = page.text().size();
    } else {
        const GumboNode* next = nextAfterSubtree(element);
        point.offset = next ? startOf(page, next) : page.text().size();
        if (next && point.offset <= lastStartWithin(page, element)) return std::nullopt;
        if (const auto from = pastLastContent(page, element)) {
            // An end tag the parser did not report (it reports none for a form closed by
            // </form>) still ends the content where it is written; an end implied by a later
            // token is where the parser says, when that lies between content and next node.
            const std::size_t reported = page.offsetOf(element->v.element.end_pos);
            // A text node after the element may have begun before the end tag (gumbo
            // writes the text before </form> out late), so its run is searched too.
            std::size_t limit = point.offset;
            if (next && isTextLike(next)) {
                const std::size_t at = page.offsetOf(next->v.text.original_text.data);
                if (at != std::string::npos) {
                    limit = std::max(limit, at + next->v.text.original_text.length);
                }
            }
            if (const auto tag = findEndTag(page, element, *from, limit)) {
                point.offset = *tag;
            } else if (element->v.element.end_pos.offset != 0 && reported >= *from &&
                       reported < point.offset) {
                point.offset = reported;
            }
        }
    }
    if (point.offset > page.text().size()) return std::nullopt;
    point.closers = closersAt(page, element, point.offset);
    return point;
}

}  // namespace host::page
