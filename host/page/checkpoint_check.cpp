// Verification of an edit from a checkpoint: the page from the checkpoint on, behind start
// tags that rebuild the parser's state there, must parse to the expected tree's nodes from
// that point on. The text before the checkpoint parses as before by construction; the checks
// in findCheckpoint make sure the rebuilt state is the page's state at the checkpoint (open
// elements, formatting elements to reopen, form pointer, quirks mode, insertion mode).
#include "host/page/checkpoint_check.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <unordered_map>

#include "host/page/gumbo_tree.h"
#include "host/page/source_spans.h"
#include "platform/text/ascii.h"

namespace host::page {
namespace {

const GumboNode* childAt(const GumboNode* n, std::size_t i) {
    auto kids = childrenOf(n);
    return i < kids.size() ? kids[i] : nullptr;
}

// Parse flags of nodes that the parser put elsewhere than where their text is.
constexpr unsigned kMovedByParser =
    GUMBO_INSERTION_FOSTER_PARENTED | GUMBO_INSERTION_ADOPTION_AGENCY_CLONED |
    GUMBO_INSERTION_ADOPTION_AGENCY_MOVED | GUMBO_INSERTION_RECONSTRUCTED_FORMATTING_ELEMENT;

// Whether `text` holds `lowerNeedle`, which begins with '<', in any letter case.
bool containsNoCase(std::string_view text, std::string_view lowerNeedle) {
    if (lowerNeedle.empty() || text.size() < lowerNeedle.size()) return false;
    for (std::size_t at = text.find('<'); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        if (text.size() - at < lowerNeedle.size()) return false;
        std::size_t i = 0;
        while (i < lowerNeedle.size() &&
               platform::text::asciiLower(text[at + i]) == lowerNeedle[i]) {
            ++i;
        }
        if (i == lowerNeedle.size()) return true;
    }
    return false;
}

// Containers whose start tag, written again, opens them in the same way and leaves no other
// state (no formatting entry, no form pointer, no template mode, no foreign content).
bool rebuildable(const GumboNode* e) {
    if (e->v.element.tag_namespace != GUMBO_NAMESPACE_HTML || (e->parse_flags & kMovedByParser)) {
        return false;
    }
    switch (e->v.element.tag) {
        case GUMBO_TAG_DIV:
        case GUMBO_TAG_SPAN:
        case GUMBO_TAG_P:
        case GUMBO_TAG_SECTION:
        case GUMBO_TAG_ARTICLE:
        case GUMBO_TAG_MAIN:
        case GUMBO_TAG_HEADER:
        case GUMBO_TAG_FOOTER:
        case GUMBO_TAG_NAV:
        case GUMBO_TAG_ASIDE:
        case GUMBO_TAG_UL:
        case GUMBO_TAG_OL:
        case GUMBO_TAG_LI:
        case GUMBO_TAG_DL:
        case GUMBO_TAG_DD:
        case GUMBO_TAG_DT:
        case GUMBO_TAG_TABLE:
        case GUMBO_TAG_TBODY:
        case GUMBO_TAG_THEAD:
        case GUMBO_TAG_TFOOT:
        case GUMBO_TAG_TR:
        case GUMBO_TAG_TD:
        case GUMBO_TAG_TH:
        case GUMBO_TAG_CENTER:
        case GUMBO_TAG_BLOCKQUOTE:
        case GUMBO_TAG_ADDRESS:
        case GUMBO_TAG_FIELDSET:
        case GUMBO_TAG_FIGURE:
        case GUMBO_TAG_FIGCAPTION:
        case GUMBO_TAG_H1:
        case GUMBO_TAG_H2:
        case GUMBO_TAG_H3:
        case GUMBO_TAG_H4:
        case GUMBO_TAG_H5:
        case GUMBO_TAG_H6:
        case GUMBO_TAG_LABEL:
            return true;
        default:
            return false;
    }
}

// A form ended by its own </form>, with no other </form> inside it (one where the form is not
// in scope clears the form pointer but leaves the form open). Gumbo reports no end for it.
bool formClosedByOwnEndTag(const ParsedHtml& page, const GumboNode* form) {
    const GumboElement& el = form->v.element;
    if (!isHtml(form, GUMBO_TAG_FORM) || (form->parse_flags & kMovedByParser) ||
        el.end_pos.offset != 0 || el.original_end_tag.length != 0) {
        return false;
    }
    const auto start = startTagSpan(page, form);
    const auto end = contentEnd(page, form);
    if (!start || !end || !end->closers.empty() || end->offset < start->end) return false;
    const std::string_view text(page.text());
    const std::string_view inside = text.substr(start->end, end->offset - start->end);
    return !containsNoCase(inside, "</form") &&
           containsNoCase(text.substr(end->offset, 6), "</form");
}

const GumboNode* lastElementChild(const GumboNode* n) {
    const auto kids = childrenOf(n);
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
        if (isElement(*it)) return *it;
    }
    return nullptr;
}

}  // namespace

void StateScan::visit(const GumboNode* e) {
    const ParsedHtml& page = m_page;
    const GumboElement& el = e->v.element;
    bool leavesState = (e->parse_flags & kMovedByParser) != 0;
    // Written earlier than an element before it in the tree: the parser moved nodes around
    // it (foster parenting out of an open table, formatting elements reopened), and gumbo
    // does not flag all such moves. Nothing from its start on is checked from a checkpoint.
    const std::size_t start = page.offsetOf(el.start_pos);
    if (start < m_latestStart || (e->parse_flags & kMovedByParser)) {
        leavesState = true;
        m_moved = true;
    }
    m_latestStart = std::max(m_latestStart, start);
    if (el.tag_namespace == GUMBO_NAMESPACE_HTML) {
        switch (el.tag) {
            case GUMBO_TAG_FORM:
                // Only </form> clears the form pointer; gumbo records no end for it.
                leavesState |= el.end_pos.offset != 0 || el.original_end_tag.length != 0;
                break;
            case GUMBO_TAG_TEMPLATE:
            case GUMBO_TAG_OBJECT:
            case GUMBO_TAG_APPLET:
            case GUMBO_TAG_MARQUEE:
            case GUMBO_TAG_FRAMESET:
            case GUMBO_TAG_ISINDEX:
                leavesState = true;
                break;
            default:
                break;
        }
        if (isFormatting(e)) {
            leavesState |=
                (e->parse_flags & GUMBO_INSERTION_IMPLICIT_END_TAG) != 0 || !endTagSpan(page, e);
        }
    }
    if (leavesState && start < m_clean) m_clean = start;
}

namespace {

// Whether forms end by their own end tag, each found once: finding a form's end walks its
// content, and every candidate's chain passes the same forms.
class ClosedForms {
public:
    explicit ClosedForms(const ParsedHtml& page) : m_page(page) {}
    bool operator()(const GumboNode* e) {
        if (!isHtml(e, GUMBO_TAG_FORM)) return false;
        auto [it, fresh] = m_known.try_emplace(e, false);
        if (fresh) it->second = formClosedByOwnEndTag(m_page, e);
        return it->second;
    }

private:
    const ParsedHtml& m_page;
    std::unordered_map<const GumboNode*, bool> m_known;
};

// The elements whose start tags may serve as the checkpoint, nearest the edit first: the
// last element before the edit with the last elements inside it, innermost first; then the
// parent and its ancestors below the body.
std::vector<const GumboNode*> checkpointCandidates(const ParsedHtml& page, const GumboNode* parent,
                                                   std::size_t firstShifted,
                                                   ClosedForms& formClosed) {
    std::vector<const GumboNode*> candidates;
    const auto kids = childrenOf(parent);
    for (std::size_t i = std::min(firstShifted, kids.size()); i-- > 0;) {
        if (!isElement(kids[i])) continue;
        // The last elements inside it are nearer the edit, the innermost nearest: a page
        // whose content sits in one wrapper is then not parsed again almost whole. A few
        // levels suffice; each candidate is checked up to the body, so not every level.
        // Only elements closed by their own end tag are entered: one left open (or a
        // template's contents) still holds the text where the edit's closers go.
        constexpr std::size_t kLevels = 32;
        const auto enterable = [&](const GumboNode* e) {
            return !isHtml(e, GUMBO_TAG_TEMPLATE) &&
                   (endTagSpan(page, e).has_value() || formClosed(e));
        };
        for (const GumboNode* e = kids[i]; e && candidates.size() < kLevels;
             e = enterable(e) ? lastElementChild(e) : nullptr) {
            candidates.push_back(e);
        }
        std::reverse(candidates.begin(), candidates.end());
        break;
    }
    for (const GumboNode* n = parent; n && isElement(n) && !isHtml(n, GUMBO_TAG_BODY);
         n = n->parent) {
        candidates.push_back(n);
    }
    return candidates;
}

// The checkpoint at `anchor`'s start tag, which begins at `offset`, or nothing when start
// tags cannot rebuild the open elements there or the edit puts new nodes before it.
std::optional<Checkpoint> checkpointAt(const ParsedHtml& page, const GumboNode* anchor,
                                       std::size_t offset, const GumboNode* parent,
                                       std::size_t firstShifted, ClosedForms& formClosed) {
    // A form or formatting element open at the checkpoint: its start tag, written again with
    // its attributes, sets the same form pointer or formatting entry when the element is
    // closed by its own end tag (an earlier implicit end leaves state the scan stops at).
    const auto rebuildableWrapper = [&](const GumboNode* e) {
        if (e->parse_flags & (kMovedByParser | GUMBO_INSERTION_IMPLICIT_END_TAG)) return false;
        return isFormatting(e) ? endTagSpan(page, e).has_value() : formClosed(e);
    };
    Checkpoint c{anchor, {}, offset};
    for (const GumboNode* n = anchor->parent;; n = n->parent) {
        if (!n || !isElement(n)) return std::nullopt;
        c.ancestors.insert(c.ancestors.begin(), n);
        if (isHtml(n, GUMBO_TAG_BODY)) {
            if (n->parent != page.root()) return std::nullopt;
            break;
        }
        if (!rebuildable(n) && !rebuildableWrapper(n)) return std::nullopt;
    }
    // New nodes must come after the checkpoint in any ancestor they go into.
    for (std::size_t i = 0; i < c.ancestors.size(); ++i) {
        if (c.ancestors[i] != parent) continue;
        const GumboNode* link = i + 1 < c.ancestors.size() ? c.ancestors[i + 1] : anchor;
        if (firstShifted <= link->index_within_parent) return std::nullopt;
    }
    return c;
}

}  // namespace

std::optional<Checkpoint> findCheckpoint(const ParsedHtml& page, std::size_t cleanUntil,
                                         const ExpectedTree& expected, std::size_t firstShifted,
                                         std::size_t from) {
    ClosedForms formClosed(page);
    for (const GumboNode* anchor :
         checkpointCandidates(page, expected.parent, firstShifted, formClosed)) {
        const auto tag = startTagSpan(page, anchor);
        if (!tag || tag->begin > from || tag->begin > cleanUntil ||
            (anchor->parse_flags & kMovedByParser)) {
            continue;
        }
        if (auto c =
                checkpointAt(page, anchor, tag->begin, expected.parent, firstShifted, formClosed)) {
            return c;
        }
    }
    return std::nullopt;
}

namespace {

// Whether the edit, or the page after the checkpoint, holds a tag that could change state
// kept outside the rebuilt part: attributes merged into <html> or <body>, or a frameset
// replacing the body. In the page after the checkpoint, the edit may split such a tag.
bool mayChangeDocumentState(const ParsedHtml& page, const Checkpoint& checkpoint, std::size_t from,
                            std::size_t to, const std::string& replacement) {
    const std::string_view text(page.text());
    for (std::string_view part : {std::string_view(replacement), text.substr(from, to - from),
                                  text.substr(checkpoint.offset)}) {
        if (containsNoCase(part, "<body") || containsNoCase(part, "<html") ||
            containsNoCase(part, "<frameset")) {
            return true;
        }
    }
    return false;
}

// The page with the edit from the checkpoint on, behind a document start and start tags that
// open the checkpoint's ancestors again (forms and formatting elements with their attributes,
// as written).
std::string textFromCheckpoint(const ParsedHtml& page, const Checkpoint& checkpoint,
                               std::size_t from, std::size_t to, const std::string& replacement) {
    std::string text = page.quirks() ? "" : "<!DOCTYPE html>";
    text += "<html><head></head><body>";
    for (std::size_t i = 1; i < checkpoint.ancestors.size(); ++i) {
        const GumboNode* n = checkpoint.ancestors[i];
        const auto tag = rebuildable(n) ? std::nullopt : startTagSpan(page, n);
        if (tag) {
            text.append(page.text(), tag->begin, tag->end - tag->begin);
        } else {
            text += '<' + lowerName(n) + '>';
        }
    }
    text.append(page.text(), checkpoint.offset, from - checkpoint.offset);
    text += replacement;
    text.append(page.text(), to, std::string::npos);
    return text;
}

// The rebuilt body and the ancestors opened again in it, body first, or nothing when they did
// not come out as one chain, each first in its parent (content fostered out of a table would
// come before it).
std::optional<std::vector<const GumboNode*>> rebuiltAncestors(const ParsedHtml& rebuilt,
                                                              const Checkpoint& checkpoint) {
    const auto inHtml = childrenOf(rebuilt.root());
    if (inHtml.size() < 2 || !isHtml(inHtml[0], GUMBO_TAG_HEAD) || !childrenOf(inHtml[0]).empty() ||
        !isHtml(inHtml[1], GUMBO_TAG_BODY)) {
        return std::nullopt;
    }
    std::vector<const GumboNode*> chain{inHtml[1]};
    for (std::size_t i = 1; i < checkpoint.ancestors.size(); ++i) {
        const GumboNode* next = childAt(chain.back(), 0);
        if (!next || !isElement(next) ||
            next->v.element.tag != checkpoint.ancestors[i]->v.element.tag) {
            return std::nullopt;
        }
        chain.push_back(next);
    }
    // Nothing may land before the anchor (an open table fosters content out before itself):
    // then the part from the checkpoint on is not one run at the end of each level.
    const GumboNode* first = childAt(chain.back(), 0);
    if (!first || !isElement(first) || first->v.element.tag != checkpoint.anchor->v.element.tag) {
        return std::nullopt;
    }
    return chain;
}

// Where `node` stands in `nodes`, or nodes.size().
std::size_t indexOf(std::span<const GumboNode* const> nodes, const GumboNode* node) {
    return static_cast<std::size_t>(std::find(nodes.begin(), nodes.end(), node) - nodes.begin());
}

// Whether any of `nodes` is written in the page at or after `offset` (elements by their
// start tag).
bool anyWrittenFrom(const ParsedHtml& page, std::span<const GumboNode* const> nodes,
                    std::size_t offset) {
    return std::any_of(nodes.begin(), nodes.end(), [&](const GumboNode* n) {
        return page.offsetOf(isElement(n) ? n->v.element.start_pos : n->v.text.start_pos) >= offset;
    });
}

// Whether any of `nodes` that is not an element (comments, text) is written in the page
// before `offset`.
bool textWrittenBefore(const ParsedHtml& page, std::span<const GumboNode* const> nodes,
                       std::size_t offset) {
    return std::any_of(nodes.begin(), nodes.end(), [&](const GumboNode* n) {
        return !isElement(n) && page.offsetOf(n->v.text.start_pos) < offset;
    });
}

// Inside the body, level by level from the body down: the page's children after the chain
// link against the rebuilt ones after its link; at the deepest level from the anchor on.
// White space at the end of the content before the division is left out down the levels
// as the whole-page comparison leaves it out.
std::optional<bool> sameInsideBody(const ParsedHtml& page, const Checkpoint& checkpoint,
                                   const ExpectedTree& expected,
                                   const std::vector<const GumboNode*>& rebuiltChain) {
    bool trimEnd = false;
    for (std::size_t i = 0; i < checkpoint.ancestors.size(); ++i) {
        const bool deepest = i + 1 == checkpoint.ancestors.size();
        const GumboNode* link = deepest ? checkpoint.anchor : checkpoint.ancestors[i + 1];
        const auto wanted = expected.childrenOf(checkpoint.ancestors[i]);
        const auto actual = childrenOf(rebuiltChain[i]);
        const std::size_t k = indexOf(wanted, link);
        if (k == wanted.size()) return std::nullopt;
        // Nodes written after the checkpoint but placed before it in the tree (fostered out
        // of a table) are outside the compared part: such edits are checked whole.
        if (anyWrittenFrom(page, wanted.first(k), checkpoint.offset)) return std::nullopt;
        const std::size_t skip = deepest ? 0 : 1;
        if (actual.size() < skip) return false;
        if (!sameNodes(actual.subspan(skip), wanted.subspan(k + skip), expected, trimEnd)) {
            return false;
        }
        trimEnd = endNotCompared(wanted, k, expected, trimEnd);
    }
    return true;
}

// After the body: the html element's and the document's last children. Comments written
// after </body> before the checkpoint are there too; such pages are checked whole.
std::optional<bool> sameAfterBody(const ParsedHtml& page, const Checkpoint& checkpoint,
                                  const ExpectedTree& expected, const ParsedHtml& rebuilt) {
    const auto wantedHtml = expected.childrenOf(page.root());
    const std::size_t body = indexOf(wantedHtml, checkpoint.ancestors[0]);
    if (body == wantedHtml.size() ||
        textWrittenBefore(page, wantedHtml.subspan(body + 1), checkpoint.offset)) {
        return std::nullopt;
    }
    if (!sameNodes(childrenOf(rebuilt.root()).subspan(2), wantedHtml.subspan(body + 1), expected)) {
        return false;
    }
    const auto wantedTop = expected.childrenOf(page.document());
    const auto actualTop = childrenOf(rebuilt.document());
    const std::size_t root = indexOf(wantedTop, page.root());
    if (root == wantedTop.size() || actualTop.empty() || actualTop[0] != rebuilt.root() ||
        textWrittenBefore(page, wantedTop.subspan(root + 1), checkpoint.offset)) {
        return std::nullopt;
    }
    return sameNodes(actualTop.subspan(1), wantedTop.subspan(root + 1), expected);
}

}  // namespace

std::optional<bool> sameTreeFromCheckpoint(const ParsedHtml& page, const Checkpoint& checkpoint,
                                           const ExpectedTree& expected, std::size_t from,
                                           std::size_t to, const std::string& replacement,
                                           const ParseLimits& limits) {
    if (mayChangeDocumentState(page, checkpoint, from, to, replacement)) return std::nullopt;
    const auto rebuilt =
        ParsedHtml::parse(textFromCheckpoint(page, checkpoint, from, to, replacement), limits);
    const auto chain = rebuiltAncestors(*rebuilt, checkpoint);
    if (!chain) return std::nullopt;
    if (const auto inside = sameInsideBody(page, checkpoint, expected, *chain);
        !inside || !*inside) {
        return inside;
    }
    return sameAfterBody(page, checkpoint, expected, *rebuilt);
}

}  // namespace host::page
