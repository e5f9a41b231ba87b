// The body's end in the text: its end tag, what a browser still puts into the body after it,
// and the line layout around the new text.
#include "host/page/body_end.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "host/page/gumbo_tree.h"
#include "host/page/page_errors.h"
#include "host/page/source_spans.h"
#include "host/page/text_position.h"
#include "platform/text/ascii.h"

namespace host::page {
namespace {

bool isBlank(std::string_view s) {
    return s.find_first_not_of(" \t\n\r\f") == std::string_view::npos;
}

// Text with everything from '<' to the next '>' taken out.
std::string withoutTags(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '<') {
            out += text[i];
            continue;
        }
        const std::size_t close = text.find('>', i);
        if (close == std::string_view::npos) break;
        i = close;
    }
    return out;
}

// The line break the page uses (its first one), CR LF in a page of one line.
std::string lineBreakOf(std::string_view text) {
    const std::size_t lf = text.find('\n');
    if (lf == std::string_view::npos) return "\r\n";
    return lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
}

std::size_t startOf(const ParsedHtml& page, const GumboNode* n) {
    return page.offsetOf(isElement(n) ? n->v.element.start_pos : n->v.text.start_pos);
}

// The first node of the body's content that stands at or after `end` (the body's end tag)
// and is not white space: browsers move it into the body, before anything appended to it.
const GumboNode* contentAfter(const ParsedHtml& page, const GumboNode* body, const Span& end) {
    const std::string_view text(page.text());
    const GumboNode* first = nullptr;
    std::size_t firstAt = text.size();
    std::vector<const GumboNode*> pending(childrenOf(body).begin(), childrenOf(body).end());
    while (!pending.empty()) {
        const GumboNode* n = pending.back();
        pending.pop_back();
        std::size_t at = startOf(page, n);
        bool after = at >= end.begin;
        if (isTextLike(n)) {
            // White space after </body> joins the text before it; only other text counts.
            const std::size_t from = page.offsetOf(n->v.text.original_text.data);
            const std::size_t to = from + n->v.text.original_text.length;
            if (from == std::string::npos || from >= end.begin) {
                after = !isBlank(n->v.text.text);
            } else if (to > end.end) {
                after = !isBlank(withoutTags(text.substr(end.end, to - end.end)));
                at = end.end;
            }
        }
        if (after && at < firstAt) {
            first = n;
            firstAt = at;
        }
        for (const GumboNode* kid : childrenOf(n)) pending.push_back(kid);
    }
    return first;
}

// The content as the author finds it at `at`: text is quoted as written there (a parser
// joins text on both sides of an ignored tag into one node).
std::string describe(std::string_view text, const GumboNode* n, std::size_t at) {
    if (isElement(n)) return '<' + lowerName(n) + "> at " + lineAndColumn(text, at);
    if (n->type == GUMBO_NODE_COMMENT) return "a comment at " + lineAndColumn(text, at);
    // Past white space and the tags that the parser ignored there (</html>, say).
    while (at < text.size()) {
        at = std::min(text.find_first_not_of(" \t\n\r\f", at), text.size());
        if (at == text.size() || text[at] != '<') break;
        const std::size_t close = text.find('>', at);
        if (close == std::string_view::npos) break;
        at = close + 1;
    }
    std::string_view words = text.substr(at, 24);
    words = words.substr(0, words.find_first_of("<\r\n"));
    return "the text \"" + std::string(words) + "\" at " + lineAndColumn(text, at);
}

// Whether `at` lies in a comment written after the body (in the html element or after it).
bool insideComment(const ParsedHtml& page, std::size_t at) {
    for (const GumboNode* holder : {page.document(), page.root()}) {
        if (!holder) continue;
        for (const GumboNode* n : childrenOf(holder)) {
            if (n->type != GUMBO_NODE_COMMENT) continue;
            const std::size_t from = startOf(page, n);
            const std::size_t end = page.text().find('>', from + 4);
            if (at >= from && (end == std::string::npos || at < end)) return true;
        }
    }
    return false;
}

// Whether text[at..] is an end tag named `name` (lower case).
bool endTagAt(std::string_view text, std::size_t at, std::string_view name) {
    if (text.size() < at + 2 + name.size() + 1 || text[at] != '<' || text[at + 1] != '/') {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (platform::text::asciiLower(text[at + 2 + i]) != name[i]) return false;
    }
    const char c = text[at + 2 + name.size()];
    return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// The body's end tag as written: </body>, else the first </body> or </html> after the start
// of the body's last node that is not white space, or of an empty body (the parser reports
// neither tag where it made up the html element or ignored the tag inside a table). Nothing
// when that node is a comment or raw text, which may hold such a tag as text.
std::optional<Span> endTagOf(const ParsedHtml& page, const GumboNode* body) {
    if (auto tag = endTagSpan(page, body)) return tag;
    const std::string_view text(page.text());
    // The last node that is not white space (which may stand after the tag).
    const GumboNode* last = body;
    for (bool deeper = true; deeper;) {
        deeper = false;
        const auto kids = childrenOf(last);
        for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
            if (!isTextLike(*it) || !isBlank((*it)->v.text.text)) {
                last = *it;
                deeper = true;
                break;
            }
        }
    }
    if (last->type == GUMBO_NODE_COMMENT || last->type == GUMBO_NODE_CDATA ||
        (isTextLike(last) && readsTextLiterally(last->parent)) || readsTextLiterally(last)) {
        return std::nullopt;
    }
    // The last </body>, else the last </html>: an end tag that the parser took inside an
    // element (or ignored) may come before the one that ends the page.
    const std::size_t from = std::min(startOf(page, last), text.size());
    std::optional<std::size_t> found[2];
    for (std::size_t at = text.find("</", from); at != std::string_view::npos;
         at = text.find("</", at + 2)) {
        if (insideComment(page, at)) continue;
        if (endTagAt(text, at, "body")) found[0] = at;
        if (endTagAt(text, at, "html")) found[1] = at;
    }
    const auto at = found[0] ? found[0] : found[1];
    if (!at) return std::nullopt;
    const std::size_t close = text.find('>', *at);
    if (close == std::string_view::npos) return std::nullopt;
    return Span{*at, close + 1};
}

// Where the body's last content ends when nothing closes it: the end of the page, or the
// start of a tag left unfinished there (which a browser drops, so text after it would not
// count).
std::size_t contentEndAtPageEnd(const ParsedHtml& page, const GumboNode* body) {
    const std::string_view text(page.text());
    const GumboNode* last = body;
    while (!childrenOf(last).empty()) last = childrenOf(last).back();
    if (last->type == GUMBO_NODE_COMMENT || last->type == GUMBO_NODE_CDATA ||
        (isTextLike(last) && last->parent && readsTextLiterally(last->parent)) ||
        (isElement(last) && readsTextLiterally(last))) {
        return text.size();
    }
    const std::size_t lt = text.rfind('<');
    if (lt == std::string_view::npos || text.find('>', lt) != std::string_view::npos ||
        lt + 1 >= text.size()) {
        return text.size();
    }
    const char c = text[lt + 1];
    const bool tagOpen = std::isalpha(static_cast<unsigned char>(c)) || c == '/' || c == '!';
    std::size_t lastAt = startOf(page, last);
    if (isTextLike(last) && page.offsetOf(last->v.text.original_text.data) != std::string::npos) {
        lastAt = page.offsetOf(last->v.text.original_text.data) + last->v.text.original_text.length;
    } else if (auto tag = startTagSpan(page, last)) {
        lastAt = tag->end;
    }
    return tagOpen && lt >= lastAt ? lt : text.size();
}

}  // namespace

BodyEnd bodyEnd(const ParsedHtml& page, const GumboNode* body, const char* source) {
    const std::string_view text(page.text());
    BodyEnd at;
    const auto end = endTagOf(page, body);
    if (end) {
        if (const GumboNode* stray = contentAfter(page, body, *end)) {
            fail(com::errc::invalidProcedureCall,
                 "Nothing can be added at the end of the body of this page: " +
                     describe(text, stray, std::max(startOf(page, stray), end->end)) +
                     " stands after the body's end tag (" + lineAndColumn(text, end->begin) +
                     "), and browsers move it into the body. Move it before the end tag, or "
                     "remove it, and try again. The page was not changed.",
                 source);
        }
        at.offset = end->begin;
        for (const char c : withoutTags(text.substr(end->end))) {
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') at.spaceAfterEnd += c;
        }
    } else {
        at.offset = contentEndAtPageEnd(page, body);
    }
    at.closers = closersAt(page, body, at.offset);
    // An empty body that the end of the page implied: what is left open is in the head (a
    // script, style, title or comment never ended).
    if (!end && childrenOf(body).empty() && !startTagSpan(page, body) && page.root()) {
        for (const GumboNode* n : childrenOf(page.root())) {
            if (isHtml(n, GUMBO_TAG_HEAD)) at.closers = closersAt(page, n, at.offset);
        }
    }

    // On a line of its own; before an end tag, that tag stays at its column on the next line.
    const std::size_t lineStart = at.offset == 0 ? std::string_view::npos
                                                 : text.rfind('\n', at.offset - 1);
    const std::size_t from = lineStart == std::string_view::npos ? 0 : lineStart + 1;
    const std::string_view lead = text.substr(from, at.offset - from);
    const std::string indent(lead.substr(0, lead.find_first_not_of(" \t")));
    at.lineBreak = lineBreakOf(text);
    if (lead.size() != indent.size() || !at.closers.empty()) at.lineBefore = at.lineBreak + indent;
    // An unfinished tag left at the end of the page stays on a line of its own too.
    if (end) {
        at.lineAfter = indent;
    } else if (at.offset < text.size()) {
        at.lineAfter = "";
    }
    return at;
}

}  // namespace host::page
