// Lookups over the cached parse, and edits that are checked by parsing the result.
//
// An edit writes the snippet as it was given where that gives the tree a browser builds
// for the same DOM operation; otherwise it writes the snippet as the browser would
// serialize it. Either way the page with the edit is parsed again and compared node by node
// with the tree expected (the old tree with the snippet's nodes in place): only a match is
// written to the text, so a span that gumbo misreports can never place an edit wrongly.
#include "host/page/page_model.h"

#include <algorithm>
#include <cstring>

#include "host/page/checkpoint_check.h"
#include "host/page/edit_plan.h"
#include "host/page/html_fragment.h"
#include "host/page/html_serializer.h"
#include "host/page/page_errors.h"
#include "host/page/parser_divergence.h"
#include "host/page/refusal.h"
#include "host/page/source_order.h"
#include "host/page/source_spans.h"
#include "host/page/text_position.h"
#include "host/page/tree_compare.h"
#include "platform/text/ascii.h"
#include "platform/text/utf8.h"

namespace host {

using page::fail;

const PageSnapshot::Index& PageSnapshot::index() const {
    if (!m_index) {
        Index index;
        page::StateScan state(*m_parse);
        page::DivergenceScan divergence(*m_parse);
        page::SourceOrderScan order(*m_parse);
        // Every node in document order; template contents are not part of the document
        // (lookups do not find them) but are part of the text.
        struct Pending {
            const GumboNode* node;
            bool inTemplate;
        };
        std::vector<Pending> pending{{m_parse->document(), false}};
        pending.reserve(256);
        while (!pending.empty()) {
            const auto [n, inTemplate] = pending.back();
            pending.pop_back();
            order.visit(n);
            if (!inTemplate && page::isElement(n)) {
                index.elements.push_back(n);
                state.visit(n);
            }
            // A template's content is parsed like the rest of the page.
            if (page::isElement(n)) divergence.visit(n);
            if (n->type == GUMBO_NODE_COMMENT) divergence.visitComment(n);
            const bool kidsInTemplate = inTemplate || n->type == GUMBO_NODE_TEMPLATE;
            const auto kids = page::childrenOf(n);
            for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
                pending.push_back({*it, kidsInTemplate});
            }
        }
        index.cleanUntil = state.cleanUntil();
        index.movedElements = state.movedElements();
        index.divergence = divergence.finding();
        index.order = order.take();
        m_index = std::move(index);
    }
    return *m_index;
}

std::optional<AdjacentPosition> adjacentPositionFromName(std::string_view name) {
    static constexpr std::pair<std::string_view, AdjacentPosition> kNames[] = {
        {"beforebegin", AdjacentPosition::beforeBegin},
        {"afterbegin", AdjacentPosition::afterBegin},
        {"beforeend", AdjacentPosition::beforeEnd},
        {"afterend", AdjacentPosition::afterEnd},
    };
    for (const auto& [text, position] : kNames) {
        if (text.size() == name.size() &&
            std::equal(text.begin(), text.end(), name.begin(),
                       [](char a, char b) { return a == platform::text::asciiLower(b); })) {
            return position;
        }
    }
    return std::nullopt;
}

PageModel::PageModel(std::shared_ptr<PageText> text, page::ParseLimits limits, bool wholePageChecks)
    : m_text(std::move(text)), m_limits(limits), m_wholePageChecks(wholePageChecks) {}

std::shared_ptr<const PageSnapshot> PageModel::snapshot() {
    const std::uint64_t revision = m_text->revision();
    if (m_snapshot && m_snapshot->revision() == revision) return m_snapshot;
    // A page that could not be read fails again at once until its text changes.
    if (m_failure && m_failure->revision == revision) throw m_failure->error;
    m_snapshot.reset();  // one parse of the page in memory at a time where possible
    try {
        m_snapshot = std::make_shared<PageSnapshot>(
            revision, page::ParsedHtml::parse(m_text->text(), m_limits));
    } catch (const com::Error& e) {
        m_failure = Failure{revision, e};
        throw;
    }
    return m_snapshot;
}

ElementRef PageModel::refOf(const PageSnapshot& snapshot, const GumboNode* element) const {
    return {snapshot.revision(), page::pathOf(element)};
}

const GumboNode* PageModel::resolve(const ElementRef& ref, const PageSnapshot& snapshot,
                                    const char* source) const {
    auto gone = [&]() -> const GumboNode* {
        fail(com::errc::invalidProcedureCall,
             "The element is no longer in the page: the page was changed after the element "
             "was found. Look the element up again.",
             source);
    };
    page::TreePath path = ref.path;
    std::uint64_t revision = ref.revision;
    while (revision != snapshot.revision()) {
        auto move = std::find_if(m_moves.begin(), m_moves.end(),
                                 [&](const Move& m) { return m.from == revision; });
        if (move == m_moves.end()) return gone();
        const std::size_t depth = move->parent.size();
        if (path.size() > depth &&
            std::equal(move->parent.begin(), move->parent.end(), path.begin())) {
            if (move->childrenReplaced) return gone();
            if (path[depth] >= move->firstShifted) {
                path[depth] = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(path[depth]) +
                                                       move->shift);
            }
        }
        revision = move->to;
    }
    const GumboNode* node = page::nodeAt(snapshot.parse().document(), path);
    if (!node || !page::isElement(node)) return gone();
    return node;
}

namespace {

// Element kinds that a name attribute identifies in a document's "all" collection.
bool nameIdentifies(const GumboNode* e) {
    if (e->v.element.tag_namespace != GUMBO_NAMESPACE_HTML) return false;
    switch (e->v.element.tag) {
        case GUMBO_TAG_A:
        case GUMBO_TAG_BUTTON:
        case GUMBO_TAG_EMBED:
        case GUMBO_TAG_FORM:
        case GUMBO_TAG_FRAME:
        case GUMBO_TAG_FRAMESET:
        case GUMBO_TAG_IFRAME:
        case GUMBO_TAG_IMG:
        case GUMBO_TAG_INPUT:
        case GUMBO_TAG_MAP:
        case GUMBO_TAG_META:
        case GUMBO_TAG_OBJECT:
        case GUMBO_TAG_SELECT:
        case GUMBO_TAG_TEXTAREA:
            return true;
        default:
            return false;
    }
}

// Children as a parse makes them: adjacent text nodes become one.
std::size_t mergedCount(const std::vector<const GumboNode*>& children) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (i == 0 || !page::isTextLike(children[i]) || !page::isTextLike(children[i - 1])) ++n;
    }
    return n;
}

// End tags for the formatting elements before the edit that the parser may still hold for
// reopening (closed implicitly, or reopened copies), except those still open around it.
std::string staleFormattingEnds(const PageSnapshot& s, const page::EditPlan& plan) {
    std::vector<GumboTag> open;
    for (const GumboNode* n = plan.parent; n && page::isElement(n); n = n->parent) {
        open.push_back(n->v.element.tag);
    }
    constexpr unsigned kStale = GUMBO_INSERTION_IMPLICIT_END_TAG |
                                GUMBO_INSERTION_RECONSTRUCTED_FORMATTING_ELEMENT |
                                GUMBO_INSERTION_ADOPTION_AGENCY_CLONED;
    // The parser keeps few such entries (three alike at most); the nearest ones matter.
    constexpr std::size_t kMostEnds = 32;
    std::vector<std::string> ends;
    const auto& elements = s.elements();
    for (auto it = elements.rbegin(); it != elements.rend() && ends.size() < kMostEnds; ++it) {
        const GumboNode* e = *it;
        if (s.parse().offsetOf(e->v.element.start_pos) >= plan.from) continue;
        if (!page::isFormatting(e) || !(e->parse_flags & kStale)) continue;
        if (std::find(open.begin(), open.end(), e->v.element.tag) != open.end()) continue;
        ends.push_back("</" + page::lowerName(e) + ">");
    }
    std::string joined;
    for (const std::string& end : ends) joined += end;
    return joined;
}

// End tags for the elements written in the page and still open at the body's end that are
// off its last-child chain (whose end tags the plan writes already): formatting elements,
// forms and raw text moved out of an open table, say. Innermost first, as an author closes
// them.
std::string offChainEnds(const PageSnapshot& s, const page::EditPlan& plan) {
    const page::ParsedHtml& page = s.parse();
    // The chain as page::closersAt walks it: open elements only.
    std::vector<const GumboNode*> chain;
    for (const GumboNode* n = plan.parent; n;) {
        chain.push_back(n);
        const auto kids = page::childrenOf(n);
        n = kids.empty() || !page::isElement(kids.back()) ? nullptr : kids.back();
        if (!n || page::isVoid(n)) break;
        if (const auto end = page::endTagSpan(page, n); end && end->end <= plan.from) break;
        if (!page::endTagSpan(page, n) && n->v.element.end_pos.offset != 0 &&
            page.offsetOf(n->v.element.end_pos) < plan.from) {
            break;
        }
    }
    std::string ends;
    const auto& elements = s.elements();
    for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
        const GumboNode* e = *it;
        if (page::isVoid(e) || std::find(chain.begin(), chain.end(), e) != chain.end()) continue;
        if (page::isHtml(e, GUMBO_TAG_HTML) || page::isHtml(e, GUMBO_TAG_HEAD) ||
            page::isHtml(e, GUMBO_TAG_BODY)) {
            continue;
        }
        // A form closed without its end tag stays the parser's form, which a nested form
        // in the new HTML would meet, and a formatting element closed so stays one to reopen;
        // their end tags clear them. (The cheap tests first: a page has many elements.)
        const bool lingers = page::isHtml(e, GUMBO_TAG_FORM) ||
                             (page::isFormatting(e) &&
                              (e->parse_flags & GUMBO_INSERTION_IMPLICIT_END_TAG));
        if (e->v.element.end_pos.offset != 0 && page.offsetOf(e->v.element.end_pos) < plan.from &&
            !lingers) {
            continue;
        }
        const auto start = page::startTagSpan(page, e);
        if (!start || start->begin >= plan.from) continue;
        if (const auto end = page::endTagSpan(page, e); end && end->end <= plan.from) continue;
        ends += "</" + page::serializedName(e) + ">";
    }
    return ends;
}

const char* sourceOf(std::optional<AdjacentPosition> where) {
    return where ? "IHTMLElement.insertAdjacentHTML" : "IHTMLElement.innerHTML";
}

}  // namespace

std::vector<const GumboNode*> PageModel::elementsNamed(
    std::span<const GumboNode* const> elements, std::string_view name) {
    std::vector<const GumboNode*> found;
    for (const GumboNode* e : elements) {
        // Attribute names come lower case from the parser.
        const GumboVector& attributes = e->v.element.attributes;
        for (unsigned i = 0; i < attributes.length; ++i) {
            const auto* a = static_cast<const GumboAttribute*>(attributes.data[i]);
            const bool key = std::strcmp(a->name, "id") == 0 ||
                             (std::strcmp(a->name, "name") == 0 && nameIdentifies(e));
            if (key && name == a->value) {
                found.push_back(e);
                break;
            }
        }
    }
    return found;
}

std::vector<const GumboNode*> PageModel::elementsWithTag(std::span<const GumboNode* const> elements,
                                                         std::string_view tag) {
    std::vector<const GumboNode*> found;
    const std::string wanted = platform::text::asciiLowered(tag);
    const GumboTag known = gumbo_tagn_enum(wanted.data(), static_cast<unsigned>(wanted.size()));
    if (known != GUMBO_TAG_UNKNOWN) {
        // Known tags compare by number; foreign elements keep their written case.
        for (const GumboNode* e : elements) {
            if (e->v.element.tag != known) continue;
            if (e->v.element.tag_namespace == GUMBO_NAMESPACE_HTML ||
                page::serializedName(e) == tag) {
                found.push_back(e);
            }
        }
        return found;
    }
    for (const GumboNode* e : elements) {
        if (e->v.element.tag_namespace == GUMBO_NAMESPACE_HTML ? page::lowerName(e) == wanted
                                                               : page::serializedName(e) == tag) {
            found.push_back(e);
        }
    }
    return found;
}

std::string PageModel::innerHtml(const ElementRef& ref) {
    auto s = snapshot();
    const GumboNode* e = resolve(ref, *s, "IHTMLElement.innerHTML");
    return page::serializeNodes(page::childrenOf(e), e);
}

void PageModel::setInnerHtml(const ElementRef& ref, const std::string& html) {
    edit(ref, std::nullopt, html, sourceOf(std::nullopt));
}

void PageModel::insertAdjacentHtml(const ElementRef& ref, AdjacentPosition where,
                                   const std::string& html) {
    edit(ref, where, html, sourceOf(where));
}

namespace {

void requireValidUtf8(const std::string& html, const char* source) {
    if (!platform::text::isValidUtf8(html)) {
        fail(com::errc::invalidProcedureCall,
             "The HTML to insert is not valid UTF-8 text; the page was not changed.", source);
    }
}

void requireBrowsersReadAlike(const PageSnapshot& s, const char* source) {
    if (const auto& why = s.readsUnlikeBrowsers()) {
        fail(com::errc::invalidProcedureCall,
             "This page cannot be edited safely: browsers read " + *why +
                 " differently from this editor, so no edit can be checked against the page a "
                 "browser builds. Rewrite or remove it and try again. The page was not changed.",
             source);
    }
}

// A division appended to the body goes on a line of its own, as an author writes it.
bool onOwnLine(const page::EditPlan& plan, const page::Fragment& fragment) {
    return plan.bodyEnd && !fragment.nodes.empty() && page::isElement(fragment.nodes.front());
}

// The tree a browser builds with the DOM operation: the parent's children with the snippet's
// nodes in place.
page::ExpectedTree expectedTree(const page::ParsedHtml& page, const page::EditPlan& plan,
                                const page::Fragment& fragment, bool ownLine) {
    page::ExpectedTree expected{page.document(), plan.parent, plan.before};
    expected.children.insert(expected.children.end(), fragment.nodes.begin(), fragment.nodes.end());
    expected.children.insert(expected.children.end(), plan.after.begin(), plan.after.end());
    if (ownLine) expected.division = fragment.nodes.front();
    return expected;
}

// The texts to try, in order: the snippet as given, else as a browser serializes it; each
// laid out on its own line where that gives the tree, else (where a line break would land
// outside the body, say) written as it is. A division that the snippet closes early leaves
// the snippet's last nodes (and the parser state they leave, such as formatting elements to
// reopen) after it, where the next run, which replaces the division's content, could not
// match them: then the serialized form, which closes everything it opens, comes first.
std::vector<std::string> candidateTexts(const page::EditPlan& plan, const page::Fragment& fragment,
                                        const std::string& html, const std::string& serialized,
                                        bool ownLine) {
    const bool leavesDivision =
        ownLine && std::any_of(fragment.nodes.begin() + 1, fragment.nodes.end(),
                               [](const GumboNode* n) { return n->type != GUMBO_NODE_WHITESPACE; });
    const std::string* first = leavesDivision ? &serialized : &html;
    const std::string* second = leavesDivision ? &html : &serialized;
    std::vector<std::string> candidates;
    for (const std::string* text : {first, second}) {
        for (const bool layout : {ownLine, false}) {
            std::string candidate = plan.text(*text, layout);
            if (std::find(candidates.begin(), candidates.end(), candidate) == candidates.end()) {
                candidates.push_back(std::move(candidate));
            }
        }
    }
    return candidates;
}

// The texts tried when every other one failed. Formatting elements closed by misnested
// markup earlier in the page are reopened around new text; their end tags, written first,
// stop that. Not where the parser moved elements: gumbo's older rules for misnested
// formatting elements there can part from the browsers'. Appending to the body: the white
// space after </body> written where a browser puts it (see body_end.h).
void addLastResorts(std::vector<std::string>& candidates, const PageSnapshot& s,
                    const page::EditPlan& plan, const std::string& serialized, bool ownLine) {
    if (const std::string stale = staleFormattingEnds(s, plan);
        !stale.empty() && !s.movedElements()) {
        candidates.push_back(plan.text(serialized, ownLine, stale));
    }
    if (plan.bodyEnd && !plan.bodyEnd->spaceAfterEnd.empty()) {
        candidates.push_back(plan.text(serialized, ownLine, {}, plan.bodyEnd->spaceAfterEnd));
    }
    if (!plan.bodyEnd) return;
    // Closers searched in turn: end tags of elements left open off the last-child chain,
    // before the chain's (raw text, forms) or after them (formatting elements that a
    // table's end would otherwise reopen), after the white space that follows </body>;
    // and '>' finishing a tag left unfinished at the end of the page.
    const std::string& space = plan.bodyEnd->spaceAfterEnd;
    if (const std::string ends = offChainEnds(s, plan); !ends.empty()) {
        candidates.push_back(plan.text(serialized, ownLine, {}, ends));
        candidates.push_back(plan.text(serialized, ownLine, ends));
        if (!space.empty()) candidates.push_back(plan.text(serialized, ownLine, {}, space + ends));
    }
    const std::string& text = s.parse().text();
    if (plan.from == text.size() && text.rfind('<') != std::string::npos &&
        (text.rfind('>') == std::string::npos || text.rfind('>') < text.rfind('<'))) {
        candidates.push_back(plan.text(serialized, ownLine, {}, ">"));
    }
}

struct CandidateCheck {
    bool same = false;  // the page with the candidate parses to the expected tree
    std::unique_ptr<page::ParsedHtml> reparsed;  // the whole page's parse, if one was made
    std::size_t newCount = 0;                    // the parent's children with the edit
};

// Checked from the checkpoint where there is one and that check decides, else by parsing the
// whole page (a parse that the next lookups can use, when the candidate is written).

CandidateCheck checkCandidate(const page::ParsedHtml& page,
                              const std::optional<page::Checkpoint>& checkpoint,
                              const page::ExpectedTree& expected, const page::EditPlan& plan,
                              const page::TreePath& parentPath, const std::string& candidate,
                              const page::ParseLimits& limits) {
    CandidateCheck check{false, nullptr, mergedCount(expected.children)};
    std::optional<bool> same;
    if (checkpoint) {
        same = page::sameTreeFromCheckpoint(page, *checkpoint, expected, plan.from, plan.to,
                                            candidate, limits);
    }
    if (!same) {
        const std::string& old = page.text();
        std::string updated;
        updated.reserve(old.size() - (plan.to - plan.from) + candidate.size());
        updated.append(old, 0, plan.from).append(candidate).append(old, plan.to, std::string::npos);
        check.reparsed = page::ParsedHtml::parse(std::move(updated), limits);
        same = page::sameTree(check.reparsed->document(), expected);
        if (const GumboNode* newParent = page::nodeAt(check.reparsed->document(), parentPath)) {
            check.newCount = page::childrenOf(newParent).size();
        }
    }
    check.same = *same;
    return check;
}

}  // namespace

void PageModel::edit(const ElementRef& ref, std::optional<AdjacentPosition> where,
                     const std::string& html, const char* source) {
    requireValidUtf8(html, source);
    auto s = snapshot();
    const page::ParsedHtml& page = s->parse();
    const GumboNode* element = resolve(ref, *s, source);
    requireBrowsersReadAlike(*s, source);
    const page::EditPlan plan = page::planEdit(page, s->sourceOrder(), element, where, source);
    const page::Fragment fragment = page::parseFragment(page, plan.context, html, m_limits, source);
    const bool ownLine = onOwnLine(plan, fragment);
    const page::ExpectedTree expected = expectedTree(page, plan, fragment, ownLine);
    const std::string serialized = page::serializeNodes(fragment.nodes, plan.context);
    std::vector<std::string> candidates = candidateTexts(plan, fragment, html, serialized, ownLine);

    const auto checkpoint = m_wholePageChecks
                                ? std::nullopt
                                : page::findCheckpoint(page, s->stateCleanUntil(), expected,
                                                       plan.firstShifted, plan.from);
    const page::TreePath parentPath = page::pathOf(plan.parent);
    const std::size_t oldCount = page::childrenOf(plan.parent).size();
    bool lastResortsAdded = false;
    for (std::size_t c = 0; c < candidates.size(); ++c) {
        CandidateCheck check =
            checkCandidate(page, checkpoint, expected, plan, parentPath, candidates[c], m_limits);
        if (!check.same) {
            if (c + 1 == candidates.size() && !lastResortsAdded) {
                lastResortsAdded = true;
                addLastResorts(candidates, *s, plan, serialized, ownLine);
            }
            continue;
        }
        // The old parse goes before the text changes (the text may be copied to change it):
        // nothing of it is used from here on, and both at once would be the edit's peak.
        m_snapshot.reset();
        s.reset();
        const auto shift =
            static_cast<std::ptrdiff_t>(check.newCount) - static_cast<std::ptrdiff_t>(oldCount);
        writeChecked(plan.from, plan.to, candidates[c], std::move(check.reparsed),
                     {0, 0, parentPath, plan.firstShifted, shift, !where.has_value()});
        return;
    }
    const char* how = !where                                    ? "inside"
                      : *where == AdjacentPosition::beforeBegin ? "before"
                      : *where == AdjacentPosition::afterEnd    ? "after"
                                                                : "inside";
    fail(com::errc::invalidProcedureCall,
         page::refusal(page, s->elements(), element, how, plan, fragment.nodes), source);
}

void PageModel::writeChecked(std::size_t from, std::size_t to, const std::string& text,
                             std::unique_ptr<page::ParsedHtml> reparsed, Move move) {
    const std::uint64_t revisionBefore = m_text->revision();
    m_text->replace(from, to - from, text);
    const std::uint64_t revisionAfter = m_text->revision();
    // The whole-page parse made for the check serves the next lookups.
    if (reparsed && m_text->text() == reparsed->text()) {
        m_snapshot = std::make_shared<PageSnapshot>(revisionAfter, std::move(reparsed));
    }
    if (revisionAfter != revisionBefore) {
        move.from = revisionBefore;
        move.to = revisionAfter;
        m_moves.push_back(std::move(move));
        if (m_moves.size() > 64) m_moves.pop_front();
    }
}

}  // namespace host
