// Looks for the construct that keeps an edit from giving the browser's tree, most specific
// first, and words the refusal around it.
#include "host/page/refusal.h"

#include <algorithm>
#include <string_view>

#include "host/page/gumbo_tree.h"
#include "host/page/source_spans.h"
#include "host/page/text_position.h"
#include "platform/text/ascii.h"

namespace host::page {
namespace {

constexpr const char* kUnchanged = " The page was not changed.";

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The outermost element written in the page that is still open where the body ends.
const GumboNode* openAtBodyEnd(const ParsedHtml& page, const GumboNode* body, std::size_t offset) {
    for (const GumboNode* n = body;;) {
        const auto kids = childrenOf(n);
        if (kids.empty() || !isElement(kids.back()) || isVoid(kids.back())) return nullptr;
        const GumboNode* last = kids.back();
        const auto end = endTagSpan(page, last);
        if (end && end->end <= offset) return nullptr;
        if (!end && startTagSpan(page, last)) return last;
        n = last;
    }
}

// A "</" at the very end of the page: browsers keep it as text, and any text after it would
// make it a tag or a comment.
std::optional<std::string> strayEndTagOpen(const ParsedHtml& page, std::size_t offset) {
    // The insertion point stands before it, or after it where the parser made it text.
    const std::string_view text(page.text());
    if (!text.ends_with("</") || (offset != text.size() && offset != text.size() - 2)) {
        return std::nullopt;
    }
    const std::size_t at = text.size() - 2;
    return "The HTML cannot be added at the end of the body: the " + quoted("</") + " at " +
           lineAndColumn(text, at) +
           " ends the page, and browsers show it as text there, while any text written after "
           "it would make it a tag or a comment. Write it as \"&lt;/\" (or remove it) and try "
           "again." +
           kUnchanged;
}

// A script left open whose "<!--" (and "<script" after it) make browsers read the rest of the
// page, end tags included, as its text.
std::optional<std::string> escapedScript(const ParsedHtml& page, const GumboNode* script) {
    if (!isHtml(script, GUMBO_TAG_SCRIPT)) return std::nullopt;
    const auto start = startTagSpan(page, script);
    if (!start) return std::nullopt;
    const std::string_view text(page.text());
    const std::size_t comment = text.find("<!--", start->end);
    if (comment == std::string_view::npos || text.find("-->", comment + 4) != std::string_view::npos) {
        return std::nullopt;
    }
    return "The HTML cannot be added at the end of the body: " + placeOf(page, script) +
           " is in its escaped state at the end of the page: its " + quoted("<!--") + " at " +
           lineAndColumn(text, comment) +
           " is not ended by \"-->\", so browsers read the rest of the page as the script's "
           "text, and a </script> written after a \"<script\" there does not end it. End the "
           "script's comment with \"-->\", close the script with </script>, and try again." +
           kUnchanged;
}

// Where a comment left open at the end of the page starts: the page's last node in document
// order is a comment that no "-->" ends.
std::optional<std::size_t> commentOpenAtEnd(const ParsedHtml& page) {
    const GumboNode* last = page.document();
    for (auto kids = childrenOf(last); !kids.empty(); kids = childrenOf(last)) last = kids.back();
    if (last->type != GUMBO_NODE_COMMENT) return std::nullopt;
    const std::size_t at = page.offsetOf(last->v.text.original_text.data);
    const std::string_view text(page.text());
    if (at == std::string::npos || text.compare(at, 4, "<!--") != 0 ||
        text.find("-->", at + 4) != std::string_view::npos ||
        text.find("--!>", at + 4) != std::string_view::npos) {
        return std::nullopt;
    }
    return at;
}

// The innermost element written before `offset` and not closed there by its own end tag.
const GumboNode* innermostUnclosed(const ParsedHtml& page,
                                   const std::vector<const GumboNode*>& elements,
                                   std::size_t offset) {
    for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
        const GumboNode* e = *it;
        if (isVoid(e) || isHtml(e, GUMBO_TAG_HTML) || isHtml(e, GUMBO_TAG_BODY) ||
            isHtml(e, GUMBO_TAG_HEAD)) {
            continue;
        }
        const auto start = startTagSpan(page, e);
        if (!start || start->begin >= offset) continue;
        const auto end = endTagSpan(page, e);
        if (!end || end->end > offset) return e;
    }
    return nullptr;
}

std::string bodyEndRefusal(const ParsedHtml& page, const std::vector<const GumboNode*>& elements,
                           const GumboNode* body, const EditPlan& plan) {
    for (const GumboNode* e : elements) {
        if (!isHtml(e, GUMBO_TAG_PLAINTEXT)) continue;
        const auto start = startTagSpan(page, e);
        if (!start || start->begin >= plan.from) continue;
        return "The HTML cannot be added at the end of the body: everything after " +
               placeOf(page, e) +
               " is read as plain text, to the end of the page, and no end tag closes it. "
               "Remove that <plaintext> tag (a <pre> shows text alike) and try again." +
               kUnchanged;
    }
    const GumboNode* open = openAtBodyEnd(page, body, plan.from);
    // A "</" inside a script in its escaped state is the script's text: the script is what
    // to mend.
    if (open) {
        if (auto script = escapedScript(page, open)) return *script;
    }
    if (auto stray = strayEndTagOpen(page, plan.from)) return *stray;
    if (open) {
        const std::string name = lowerName(open);
        return "The HTML cannot be added at the end of the body so that the page reads as a "
               "browser builds it: " +
               placeOf(page, open) +
               " is still open there, and no end tags written before the new HTML close it as "
               "a browser does. Close the <" +
               name + "> (write </" + name + "> where its content ends) and try again." +
               kUnchanged;
    }
    if (const GumboNode* unclosed = innermostUnclosed(page, elements, plan.from)) {
        if (auto script = escapedScript(page, unclosed)) return *script;
        const std::string name = lowerName(unclosed);
        return "The HTML cannot be added at the end of the body (" +
               lineAndColumn(page.text(), plan.from) +
               ") so that the page reads as a browser builds it: " + placeOf(page, unclosed) +
               " is not closed by its end tag, and browsers place or reopen it differently "
               "around what follows. Close the <" +
               name + "> (write </" + name + "> where its content ends) and try again." +
               kUnchanged;
    }
    if (const auto comment = commentOpenAtEnd(page)) {
        return "The HTML cannot be added at the end of the body: the comment at " +
               lineAndColumn(page.text(), *comment) +
               " is not ended by \"-->\", so browsers read the rest of the page as part of it. "
               "End the comment with \"-->\" where it should end, and try again." +
               kUnchanged;
    }
    return "The HTML cannot be added at the end of the body (" +
           lineAndColumn(page.text(), plan.from) +
           ") so that the page reads as a browser builds it: the markup just before that place "
           "is read differently once text follows it. Check the tags just before that place, "
           "and try again." +
           kUnchanged;
}

bool isOneOf(const GumboNode* e, std::initializer_list<GumboTag> tags) {
    return isElement(e) && e->v.element.tag_namespace == GUMBO_NAMESPACE_HTML &&
           std::find(tags.begin(), tags.end(), e->v.element.tag) != tags.end();
}

// Elements whose start tag ends an open paragraph.
bool closesParagraph(const GumboNode* e) {
    return isOneOf(e, {GUMBO_TAG_ADDRESS, GUMBO_TAG_ARTICLE, GUMBO_TAG_ASIDE,
                       GUMBO_TAG_BLOCKQUOTE, GUMBO_TAG_CENTER, GUMBO_TAG_DETAILS,
                       GUMBO_TAG_DIR, GUMBO_TAG_DIV, GUMBO_TAG_DL, GUMBO_TAG_FIELDSET,
                       GUMBO_TAG_FIGCAPTION, GUMBO_TAG_FIGURE, GUMBO_TAG_FOOTER, GUMBO_TAG_FORM,
                       GUMBO_TAG_H1, GUMBO_TAG_H2, GUMBO_TAG_H3, GUMBO_TAG_H4, GUMBO_TAG_H5,
                       GUMBO_TAG_H6, GUMBO_TAG_HEADER, GUMBO_TAG_HGROUP, GUMBO_TAG_HR,
                       GUMBO_TAG_LISTING, GUMBO_TAG_MAIN, GUMBO_TAG_MENU, GUMBO_TAG_NAV,
                       GUMBO_TAG_OL, GUMBO_TAG_P, GUMBO_TAG_PRE, GUMBO_TAG_SECTION,
                       GUMBO_TAG_SUMMARY, GUMBO_TAG_TABLE, GUMBO_TAG_UL, GUMBO_TAG_XMP,
                       GUMBO_TAG_PLAINTEXT});
}

bool isTablePart(const GumboNode* e) {
    return isOneOf(e, {GUMBO_TAG_CAPTION, GUMBO_TAG_COL, GUMBO_TAG_COLGROUP, GUMBO_TAG_TBODY,
                       GUMBO_TAG_TD, GUMBO_TAG_TFOOT, GUMBO_TAG_TH, GUMBO_TAG_THEAD,
                       GUMBO_TAG_TR});
}

// The first element of the new HTML (its whole subtree, in order) that `matches`.
template <typename Match>
const GumboNode* firstInserted(const std::vector<const GumboNode*>& inserted, Match matches) {
    std::vector<const GumboNode*> pending(inserted.rbegin(), inserted.rend());
    while (!pending.empty()) {
        const GumboNode* n = pending.back();
        pending.pop_back();
        if (!isElement(n)) continue;
        if (matches(n)) return n;
        const auto kids = childrenOf(n);
        for (auto it = kids.rbegin(); it != kids.rend(); ++it) pending.push_back(*it);
    }
    return nullptr;
}

// The nearest enclosing element of `context` (itself included) that `matches`, within the
// scope that a table, cell or button bounds.
template <typename Match>
const GumboNode* enclosing(const GumboNode* context, Match matches) {
    for (const GumboNode* n = context; n && isElement(n); n = n->parent) {
        if (matches(n)) return n;
        if (n != context && isOneOf(n, {GUMBO_TAG_TABLE, GUMBO_TAG_TD, GUMBO_TAG_TH,
                                        GUMBO_TAG_CAPTION, GUMBO_TAG_BUTTON, GUMBO_TAG_HTML})) {
            return nullptr;
        }
    }
    return nullptr;
}

// Why the new HTML cannot stand at its place, as the first rule of the parser it meets.
std::string nestingReason(const ParsedHtml& page, const GumboNode* context,
                          const std::vector<const GumboNode*>& inserted) {
    if (isVoid(context)) {
        return "<" + lowerName(context) +
               "> is a void element, whose tag takes no content in a page's text";
    }
    if (const GumboNode* p = enclosing(context, [](const GumboNode* n) {
            return isHtml(n, GUMBO_TAG_P);
        })) {
        if (const GumboNode* block = firstInserted(inserted, closesParagraph)) {
            return "the HTML's <" + lowerName(block) + "> would end " + placeOf(page, p) +
                   ", as browsers end a paragraph where a block starts";
        }
    }
    if (isOneOf(context, {GUMBO_TAG_TABLE, GUMBO_TAG_TBODY, GUMBO_TAG_THEAD, GUMBO_TAG_TFOOT,
                          GUMBO_TAG_TR})) {
        for (const GumboNode* n : inserted) {
            if (isTablePart(n) || n->type == GUMBO_NODE_WHITESPACE) continue;
            return "browsers move " +
                   (isElement(n) ? "the HTML's <" + lowerName(n) + ">" : std::string("its text")) +
                   " out of " + placeOf(page, context) + ", where only rows and cells stay";
        }
    }
    if (!enclosing(context, [](const GumboNode* n) { return isHtml(n, GUMBO_TAG_TABLE); })) {
        if (const GumboNode* part = firstInserted(inserted, isTablePart)) {
            return "the HTML's <" + lowerName(part) +
                   "> is outside a table there, where browsers drop its tags";
        }
    }
    for (const GumboNode* n = context; n && isElement(n); n = n->parent) {
        if (!isHtml(n, GUMBO_TAG_A)) continue;
        if (firstInserted(inserted, [](const GumboNode* e) { return isHtml(e, GUMBO_TAG_A); })) {
            return "the HTML's link would be inside the link that is " + placeOf(page, n) +
                   ", and browsers end a link where another starts";
        }
    }
    return "markup around that place (an element left open, or one that browsers reopen or "
           "move) changes where the new nodes go";
}

}  // namespace

std::string refusal(const ParsedHtml& page, const std::vector<const GumboNode*>& elements,
                    const GumboNode* element, const char* how, const EditPlan& plan,
                    const std::vector<const GumboNode*>& inserted) {
    if (plan.bodyEnd) return bodyEndRefusal(page, elements, element, plan);
    return std::string("The HTML cannot be placed ") + how + " " + placeOf(page, element) +
           " so that the page reads as a browser builds it: " +
           nestingReason(page, plan.context, inserted) +
           ". Use a <div> for that element, or change the HTML, and try again." + kUnchanged;
}

}  // namespace host::page
