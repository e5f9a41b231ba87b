// Finds the few constructs where gumbo's parsing rules are older than the browsers'.
#include "host/page/parser_divergence.h"

#include <algorithm>
#include <string_view>

#include "host/page/gumbo_tree.h"
#include "host/page/source_spans.h"
#include "host/page/text_position.h"
#include "platform/text/ascii.h"

namespace host::page {
namespace {

// The tags written in text[from, to): each name in lower case (end tags with a leading '/')
// and where the tag starts.
struct WrittenTag {
    std::string name;
    std::size_t at;
};
std::vector<WrittenTag> tagsIn(std::string_view text, std::size_t from, std::size_t to) {
    std::vector<WrittenTag> tags;
    for (std::size_t at = text.find('<', from); at != std::string_view::npos && at < to;
         at = text.find('<', at + 1)) {
        std::size_t i = at + 1;
        std::string name;
        if (i < to && text[i] == '/') {
            name = "/";
            ++i;
        }
        while (i < to && std::isalnum(static_cast<unsigned char>(text[i]))) {
            name += platform::text::asciiLower(text[i]);
            ++i;
        }
        const std::size_t first = name.starts_with('/') ? 1 : 0;
        if (name.size() > first && std::isalpha(static_cast<unsigned char>(name[first]))) {
            tags.push_back({std::move(name), at});
        }
    }
    return tags;
}

// Whether the start tag written at `at` has an id or name attribute (roughly: the words
// followed by '=' up to the first '>').
bool namesItself(std::string_view text, std::size_t at) {
    const std::size_t end = std::min(text.find('>', at), text.size());
    const std::string tag = platform::text::asciiLowered(text.substr(at, end - at));
    for (std::string_view attribute : {"id", "name"}) {
        for (std::size_t i = tag.find(attribute); i != std::string::npos;
             i = tag.find(attribute, i + 1)) {
            std::size_t after = i + attribute.size();
            while (after < tag.size() && std::isspace(static_cast<unsigned char>(tag[after]))) {
                ++after;
            }
            if (std::isspace(static_cast<unsigned char>(tag[i - 1])) && after < tag.size() &&
                tag[after] == '=') {
                return true;
            }
        }
    }
    return false;
}

// The name of the end tag written at `at` ("</name ...>"), as the tokenizer reads it: up to
// white space, '/' or '>', in lower case.
std::string endTagName(std::string_view text, std::size_t at) {
    std::string name;
    for (std::size_t i = at + 2; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f')
            break;
        name += platform::text::asciiLower(c);
    }
    return name;
}

// Foreign elements whose content is parsed as HTML.
bool integratesHtml(const GumboNode* e) {
    const GumboTag tag = e->v.element.tag;
    if (e->v.element.tag_namespace == GUMBO_NAMESPACE_SVG) {
        return tag == GUMBO_TAG_FOREIGNOBJECT || tag == GUMBO_TAG_DESC || tag == GUMBO_TAG_TITLE;
    }
    if (e->v.element.tag_namespace == GUMBO_NAMESPACE_MATHML) {
        return tag == GUMBO_TAG_MI || tag == GUMBO_TAG_MO || tag == GUMBO_TAG_MN ||
               tag == GUMBO_TAG_MS || tag == GUMBO_TAG_MTEXT || tag == GUMBO_TAG_ANNOTATION_XML;
    }
    return false;
}

// Whether a <p> encloses the element in the parser's button scope, as when its start tag
// came while the paragraph was open.
bool insideParagraph(const GumboNode* e) {
    for (const GumboNode* n = e->parent; n && isElement(n); n = n->parent) {
        if (isHtml(n, GUMBO_TAG_P)) return true;
        if (n->v.element.tag_namespace != GUMBO_NAMESPACE_HTML) return false;
        switch (n->v.element.tag) {
            case GUMBO_TAG_BUTTON:
            case GUMBO_TAG_TABLE:
            case GUMBO_TAG_TD:
            case GUMBO_TAG_TH:
            case GUMBO_TAG_CAPTION:
            case GUMBO_TAG_APPLET:
            case GUMBO_TAG_MARQUEE:
            case GUMBO_TAG_OBJECT:
            case GUMBO_TAG_TEMPLATE:
            case GUMBO_TAG_HTML:
                return false;
            default:
                break;
        }
    }
    return false;
}

// Formatting elements: browsers reopen them where they were closed implicitly.
bool isFormatting(std::string_view name) {
    for (std::string_view formatting : {"a", "b", "big", "code", "em", "font", "i", "nobr", "s",
                                        "small", "strike", "strong", "tt", "u"}) {
        if (name == formatting) return true;
    }
    return false;
}

// Start tags inside a <select> that gumbo drops and browsers now keep as elements, closed
// again at </select>: the difference stays inside the select, which no edit touches. (The
// differential run against Chromium checks each element name there.) Not so for those
// that reach past the select: formatting elements (reopened after it), scope markers left
// in the formatting list, a form (its pointer), raw text and plaintext (the tokenizer),
// table parts, <body>, <html> and <head> (attributes, modes), <frameset>, and <keygen> and
// <textarea>, at which gumbo ends the select; nor for an element with an id or a name,
// which the page document could not find.
bool keptInSelect(std::string_view name) {
    if (name.starts_with('/')) return false;
    if (isFormatting(name)) return false;
    for (std::string_view reaches :
         {"applet", "marquee", "object", "form", "xmp", "iframe", "noembed",
          "noframes", "noscript", "style", "title", "textarea", "plaintext", "keygen",
          "table", "caption", "colgroup", "col", "tbody", "thead", "tfoot", "tr", "td", "th",
          "body", "html", "head", "frameset", "frame"}) {
        if (name == reaches) return false;
    }
    return true;
}

// Markup that old and new rules for <select> content read alike.
bool allowedInSelect(std::string_view name) {
    for (std::string_view ok : {"option", "optgroup", "script", "template", "/option",
                                "/optgroup", "/script", "/template"}) {
        if (name == ok) return true;
    }
    return false;
}

// An end tag inside a <select> that old and new rules both ignore: browsers now read it as
// in the body, where it does nothing unless it names an element open around the select (or,
// for a heading, any heading), a formatting element they may reopen, or is one that the body
// rules turn into an element or a state (</p>, </br>, </form>, </body>, </html>).
bool ignoredEndInSelect(std::string_view name, const GumboNode* select) {
    if (!name.starts_with('/')) return false;
    name.remove_prefix(1);
    for (std::string_view acts : {"p", "br", "form", "body", "html"}) {
        if (name == acts) return false;
    }
    const GumboTag tag = gumbo_tagn_enum(name.data(), static_cast<unsigned>(name.size()));
    const auto heading = [](GumboTag t) { return t >= GUMBO_TAG_H1 && t <= GUMBO_TAG_H6; };
    if (isFormatting(name)) return false;
    for (const GumboNode* n = select->parent; n && isElement(n); n = n->parent) {
        if (lowerName(n) == name) return false;
        if (heading(tag) && n->v.element.tag_namespace == GUMBO_NAMESPACE_HTML &&
            heading(n->v.element.tag)) {
            return false;
        }
    }
    return true;
}

// Tags that end a <select> under old and new rules alike (the table ones only where the
// select is inside a table): what follows them is outside it.
bool endsSelect(std::string_view name, bool inTable) {
    if (name == "select" || name == "/select" || name == "input") return true;
    if (!inTable) return false;
    for (std::string_view table : {"caption", "table", "tbody", "tfoot", "thead", "tr", "td",
                                   "th", "/caption", "/table", "/tbody", "/tfoot", "/thead",
                                   "/tr", "/td", "/th"}) {
        if (name == table) return true;
    }
    return false;
}

// Where the text of the element's subtree ends at the latest: where the next node after it
// in document order starts (an end tag a browser breaks out of foreign content at, say).
std::size_t endOfSubtree(const ParsedHtml& page, const GumboNode* e) {
    for (const GumboNode* n = e; n && n->parent; n = n->parent) {
        const auto siblings = childrenOf(n->parent);
        if (n->index_within_parent + 1 < siblings.size()) {
            const GumboNode* next = siblings[n->index_within_parent + 1];
            const std::size_t at = page.offsetOf(isElement(next) ? next->v.element.start_pos
                                                                 : next->v.text.start_pos);
            return std::min(at, page.text().size());
        }
    }
    return page.text().size();
}

// Where a start tag <name ...> is first written in the text, or npos.
std::size_t findStartTag(std::string_view text, std::string_view name) {
    for (std::size_t at = text.find('<'); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        if (at + 1 + name.size() > text.size()) break;
        if (!platform::text::equalsIgnoringAsciiCase(text.substr(at + 1, name.size()), name)) {
            continue;
        }
        const std::size_t after = at + 1 + name.size();
        if (after == text.size()) return at;
        const char c = text[after];
        if (c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
            return at;
        }
    }
    return std::string_view::npos;
}

// Where an end tag </name> inside the element `e` of that name was ignored by gumbo (it
// closed nothing), or npos; `open` is then the element it would have closed first.
std::size_t ignoredEndTag(const ParsedHtml& page, const GumboNode* e, std::string_view name,
                          const GumboNode** open) {
    if (endTagSpan(page, e)) return std::string::npos;
    const std::string_view text(page.text());
    const auto start = startTagSpan(page, e);
    if (!start) return std::string::npos;
    // End tags gumbo used for elements inside are not the ignored one.
    std::vector<std::size_t> used;
    std::vector<const GumboNode*> pending(childrenOf(e).begin(), childrenOf(e).end());
    while (!pending.empty()) {
        const GumboNode* n = pending.back();
        pending.pop_back();
        if (!isElement(n)) continue;
        used.push_back(page.offsetOf(n->v.element.original_end_tag.data));
        for (const GumboNode* kid : childrenOf(n)) pending.push_back(kid);
    }
    const std::size_t end = endOfSubtree(page, e);
    for (std::size_t at = text.find("</", start->end); at != std::string_view::npos && at < end;
         at = text.find("</", at + 2)) {
        if (endTagName(text, at) != name ||
            std::find(used.begin(), used.end(), at) != used.end()) {
            continue;
        }
        // The innermost element open there: the last one started before it, down the tree.
        *open = e;
        for (bool deeper = true; deeper;) {
            deeper = false;
            const auto kids = childrenOf(*open);
            for (auto kid = kids.rbegin(); kid != kids.rend(); ++kid) {
                if (isElement(*kid) && page.offsetOf((*kid)->v.element.start_pos) < at) {
                    *open = *kid;
                    deeper = true;
                    break;
                }
            }
        }
        return at;
    }
    return std::string::npos;
}

}  // namespace

void DivergenceScan::visit(const GumboNode* element) {
    if (m_finding) return;
    if (auto found = check(element)) {
        std::size_t at = found->at;
        if (at == std::string::npos) {
            at = m_page.offsetOf(element->v.element.start_pos);
            if (const auto tag = startTagSpan(m_page, element)) at = tag->begin;
        }
        m_finding = found->what + " (" + lineAndColumn(m_page.text(), at) + ")";
    }
}

void DivergenceScan::visitComment(const GumboNode* comment) {
    if (m_finding) return;
    const std::string_view text(m_page.text());
    const std::size_t at = m_page.offsetOf(comment->v.text.original_text.data);
    if (at == std::string::npos || text.compare(at, 2, "<?") != 0) return;
    // A bare "<?" ending the page is dropped too.
    if (at + 2 == text.size()) {
        m_finding =
            "\"<?\" left unfinished at the end of the page (" + lineAndColumn(text, at) + ")";
        return;
    }
    if (!std::isalpha(static_cast<unsigned char>(text[at + 2]))) return;
    const std::size_t end = at + comment->v.text.original_text.length;
    if (end < text.size() || text.back() == '>') return;
    std::string name;
    for (std::size_t i = at + 2; i < end && std::isalnum(static_cast<unsigned char>(text[i])); ++i) {
        name += text[i];
    }
    // "<?xml" stays a comment in browsers too.
    if (platform::text::asciiLowered(name) == "xml") return;
    m_finding = "the processing instruction <?" + name + " left unfinished at the end of the page (" +
                lineAndColumn(text, at) + ")";
}

std::optional<DivergenceScan::Finding> DivergenceScan::check(const GumboNode* e) const {
    const ParsedHtml& page = m_page;
    const std::string_view text(page.text());
    {
        // Inside a form gumbo drops <isindex> without a trace, so the text is looked at once,
        // from the root element.
        if (e->parent && e->parent->type == GUMBO_NODE_DOCUMENT) {
            if (const std::size_t at = findStartTag(text, "isindex"); at != std::string::npos) {
                return Finding{"an <isindex> element", at};
            }
        }
        if (e->parse_flags & GUMBO_INSERTION_FROM_ISINDEX || isHtml(e, GUMBO_TAG_ISINDEX)) {
            return Finding{"an <isindex> element"};
        }
        // Gumbo reads <menuitem> as empty, leaving its content after it; browsers as an
        // element with content.
        if (isHtml(e, GUMBO_TAG_MENUITEM)) return Finding{"a <menuitem> element"};
        // An <applet>, <marquee> or <object> moved out of a table and closed by the table's
        // end leaves its scope marker among the formatting elements; gumbo then reopens and
        // closes formatting elements after it (a second <nobr>, say) unlike browsers.
        if ((isHtml(e, GUMBO_TAG_APPLET) || isHtml(e, GUMBO_TAG_MARQUEE) ||
             isHtml(e, GUMBO_TAG_OBJECT)) &&
            !endTagSpan(page, e)) {
            const auto siblings = childrenOf(e->parent);
            if (e->index_within_parent + 1 < siblings.size()) {
                const GumboNode* next = siblings[e->index_within_parent + 1];
                const auto after = startTagSpan(page, e);
                if (isHtml(next, GUMBO_TAG_TABLE) && after &&
                    next->v.element.start_pos.offset < e->v.element.start_pos.offset) {
                    for (const auto& tag : tagsIn(text, after->end, text.size())) {
                        const std::string_view name = std::string_view(tag.name).substr(
                            tag.name.starts_with('/') ? 1 : 0);
                        if (isFormatting(name)) {
                            return Finding{"a <" + lowerName(e) +
                                           "> moved out of a <table> and left open there, "
                                           "with formatting elements after it"};
                        }
                    }
                }
            }
        }
        if (e->v.element.tag == GUMBO_TAG_UNKNOWN) {
            // Browsers end an open paragraph at these blocks; gumbo keeps it open around them
            // (elsewhere both read them alike, as the element sweep shows).
            for (const char* block : {"search", "dialog"}) {
                if (lowerName(e) != block) continue;
                if (insideParagraph(e)) {
                    return Finding{std::string("a <") + block + "> element inside a <p>"};
                }
                // Their end tags close what is open inside them; gumbo ignores one when a
                // block such as <p> is open there, and keeps both open.
                const GumboNode* open = nullptr;
                if (const std::size_t at = ignoredEndTag(page, e, block, &open);
                    at != std::string::npos) {
                    return Finding{std::string("</") + block + "> ending the <" + lowerName(open) +
                                       "> still open inside a <" + block + ">",
                                   at};
                }
            }
            // Gumbo lets an end tag of any unknown name close any element of unknown name;
            // browsers match names.
            const GumboStringPiece end = e->v.element.original_end_tag;
            const std::size_t at = page.offsetOf(end.data);
            if (end.length > 2 && at != std::string::npos) {
                const std::string name = endTagName(text, at);
                if (name != lowerName(e) &&
                    gumbo_tagn_enum(name.data(), static_cast<unsigned>(name.size())) ==
                        GUMBO_TAG_UNKNOWN) {
                    return Finding{"</" + name + "> closing <" + lowerName(e) + ">"};
                }
            }
        }
        // In SVG and MathML, </p> and </br> now leave the foreign content; gumbo's rules
        // are older.
        if ((isElement(e) && e->v.element.tag_namespace != GUMBO_NAMESPACE_HTML) && e->parent &&
            isElement(e->parent) && e->parent->v.element.tag_namespace == GUMBO_NAMESPACE_HTML) {
            const auto start = startTagSpan(page, e);
            std::size_t end = endOfSubtree(page, e);
            if (const auto tag = endTagSpan(page, e)) end = tag->begin;
            // HTML inside foreignObject, desc, title and MathML text elements is HTML.
            std::vector<Span> html;
            std::vector<const GumboNode*> pending(childrenOf(e).begin(), childrenOf(e).end());
            while (!pending.empty()) {
                const GumboNode* n = pending.back();
                pending.pop_back();
                if (!isElement(n)) continue;
                if (integratesHtml(n)) {
                    const auto open = startTagSpan(page, n);
                    const auto close = endTagSpan(page, n);
                    html.push_back({open ? open->begin : 0, close ? close->end : text.size()});
                    continue;
                }
                for (const GumboNode* kid : childrenOf(n)) pending.push_back(kid);
            }
            for (std::size_t at = text.find("</", start ? start->end : 0);
                 at != std::string_view::npos && at < end; at = text.find("</", at + 2)) {
                const bool inHtml = std::any_of(html.begin(), html.end(), [&](const Span& r) {
                    return at >= r.begin && at < r.end;
                });
                const std::string name = endTagName(text, at);
                if (!inHtml && (name == "p" || name == "br")) {
                    return Finding{"</" + name + "> inside <" + lowerName(e) + ">"};
                }
            }
        }
        if (!isHtml(e, GUMBO_TAG_SELECT)) return std::nullopt;
        const auto start = startTagSpan(page, e);
        if (!start) return Finding{"a <select> element not written as such"};
        std::size_t end = text.size();
        if (const auto tag = endTagSpan(page, e)) end = tag->begin;
        // Inside a table, or moved out of one just before it (gumbo flags no such move).
        bool inTable = false;
        if (const auto siblings = childrenOf(e->parent);
            e->index_within_parent + 1 < siblings.size()) {
            const GumboNode* next = siblings[e->index_within_parent + 1];
            inTable = isHtml(next, GUMBO_TAG_TABLE) &&
                      next->v.element.start_pos.offset < e->v.element.start_pos.offset;
        }
        for (const GumboNode* n = e->parent; n && isElement(n) && !inTable; n = n->parent) {
            inTable = isHtml(n, GUMBO_TAG_TABLE);
        }
        for (const auto& [name, at] : tagsIn(text, start->end, end)) {
            if (endsSelect(name, inTable)) break;
            if (!allowedInSelect(name) && !ignoredEndInSelect(name, e) &&
                !(keptInSelect(name) && !namesItself(text, at))) {
                return Finding{"<" + name + "> inside a <select> element"};
            }
        }
    }
    return std::nullopt;
}

}  // namespace host::page
