// Splitting, checking and joining the two halves of a page.
#include "host/page/halves_parse.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "host/page/checkpoint_check.h"
#include "host/page/gumbo_tree.h"
#include "host/page/parse_arena.h"
#include "host/page/source_spans.h"
#include "host/page/split_point.h"

namespace host::page {
namespace {

struct Half {
    std::unique_ptr<ParseArena> arena;
    GumboOutput* output = nullptr;
};

Half parseText(const GumboOptions& options, std::size_t memoryLimit,
               std::chrono::steady_clock::time_point deadline, const char* data, std::size_t size) {
    Half half{std::make_unique<ParseArena>(memoryLimit, deadline)};
    half.output = half.arena->run(options, data, size);
    return half;
}

GumboNode* lastChild(const GumboNode* n) {
    const auto kids = childrenOf(n);
    return kids.empty() ? nullptr : const_cast<GumboNode*>(kids.back());
}
GumboNode* firstChild(const GumboNode* n) {
    const auto kids = childrenOf(n);
    return kids.empty() ? nullptr : const_cast<GumboNode*>(kids.front());
}

// The elements open where the first half ends (body first), or nothing when its tree does
// not show the state that the split needs.
std::optional<std::vector<GumboNode*>> openAtSplit(const ParsedHtml& page, const GumboOutput& out,
                                                   const SplitPoint& split, std::size_t skipped) {
    const std::size_t eof = split.at - skipped;
    GumboNode* html = out.root;
    GumboNode* body = lastChild(html);
    if (!body || !isHtml(body, GUMBO_TAG_BODY) || body->v.element.original_end_tag.length != 0 ||
        html->v.element.original_end_tag.length != 0 || lastChild(out.document) != html) {
        return std::nullopt;
    }
    std::vector<GumboNode*> chain{body};
    for (GumboNode* last = lastChild(body);
         last && isElement(last) && last->v.element.original_end_tag.length == 0 &&
         last->v.element.end_pos.offset == eof;
         last = lastChild(last)) {
        if (!rebuildable(last)) return std::nullopt;
        chain.push_back(last);
    }
    // The innermost open element ends with the element whose end tag precedes the split,
    // and the white space after it: the tokenizer was reading plain text there.
    const auto kids = childrenOf(chain.back());
    std::size_t x = kids.size();
    if (split.endTagEnd < split.at) {
        if (kids.empty()) return std::nullopt;
        const GumboNode* space = kids.back();
        if (space->type != GUMBO_NODE_WHITESPACE ||
            page.offsetOf(space->v.text.original_text.data) != split.endTagEnd ||
            space->v.text.original_text.length != split.at - split.endTagEnd) {
            return std::nullopt;
        }
        --x;
    }
    if (x == 0) return std::nullopt;
    const GumboNode* closed = kids[x - 1];
    if (!isHtml(closed, split.endTag) || (closed->parse_flags & kMovedByParser)) {
        return std::nullopt;
    }
    const auto end = endTagSpan(page, closed);
    if (!end || end->begin != split.endTagBegin || end->end != split.endTagEnd) return std::nullopt;

    // Nothing before the split may leave state behind, and only the chain may be open.
    StateScan state(page);
    bool sound = true;
    forEachElement(out.document, [&](const GumboNode* e) {
        state.visit(e);
        if (e->v.element.original_end_tag.length == 0 && e->v.element.end_pos.offset == eof &&
            e != html && std::find(chain.begin(), chain.end(), e) == chain.end()) {
            sound = false;
        }
    });
    if (!sound || state.movedElements() || state.cleanUntil() < page.text().size()) {
        return std::nullopt;
    }
    return chain;
}

// Moves positions and pointers into the second half's own text over to the page text.
class Rebase {
public:
    Rebase(const std::string& half, std::size_t prefix, const std::string& page, std::size_t at,
           std::size_t skipped)
        : m_begin(half.data() + prefix),
          m_end(half.data() + half.size()),
          m_target(page.data() + at),
          m_prefix(prefix),
          m_offset(at - skipped) {
        // The line of the split as gumbo counts them: lines end at LF, CR LF or CR.
        const char* text = page.data() + skipped;
        const std::size_t size = at - skipped;
        m_line = 1;
        for (std::size_t i = 0; i < size; ++i) {
            if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= size || text[i + 1] != '\n'))) {
                ++m_line;
            }
        }
        m_column = columnAt(std::string_view(text, size), size);
    }

    void position(GumboSourcePosition& p) const {
        if (p.offset < m_prefix) return;
        if (p.line == 1) p.column = static_cast<unsigned>(p.column - (m_prefix + 1) + m_column);
        p.line = static_cast<unsigned>(p.line - 1 + m_line);
        p.offset = static_cast<unsigned>(p.offset - m_prefix + m_offset);
    }
    void text(GumboStringPiece& s) const {
        if (s.data >= m_begin && s.data <= m_end) s.data = m_target + (s.data - m_begin);
    }

    void node(GumboNode* n) const {
        switch (n->type) {
            case GUMBO_NODE_ELEMENT:
            case GUMBO_NODE_TEMPLATE: {
                GumboElement& e = n->v.element;
                position(e.start_pos);
                position(e.end_pos);
                text(e.original_tag);
                text(e.original_end_tag);
                for (unsigned i = 0; i < e.attributes.length; ++i) {
                    auto* a = static_cast<GumboAttribute*>(e.attributes.data[i]);
                    text(a->original_name);
                    text(a->original_value);
                    position(a->name_start);
                    position(a->name_end);
                    position(a->value_start);
                    position(a->value_end);
                }
                break;
            }
            case GUMBO_NODE_DOCUMENT:
                break;
            default:
                position(n->v.text.start_pos);
                text(n->v.text.original_text);
                break;
        }
    }

private:
    const char* m_begin;
    const char* m_end;
    const char* m_target;
    std::size_t m_prefix;
    std::size_t m_offset;
    unsigned m_line = 1;
    unsigned m_column = 1;
};

// Appends `from`'s children from index `first` on to `to`'s.
void moveChildren(ParseArena& arena, GumboNode* from, std::size_t first, GumboNode* to) {
    GumboVector& source =
        from->type == GUMBO_NODE_DOCUMENT ? from->v.document.children : from->v.element.children;
    GumboVector& target =
        to->type == GUMBO_NODE_DOCUMENT ? to->v.document.children : to->v.element.children;
    if (first >= source.length) return;
    const std::size_t added = source.length - first;
    auto** data =
        static_cast<void**>(arena.allocateAfterParse(sizeof(void*) * (target.length + added)));
    if (target.length) std::memcpy(data, target.data, sizeof(void*) * target.length);
    for (std::size_t i = 0; i < added; ++i) {
        auto* n = static_cast<GumboNode*>(source.data[first + i]);
        n->parent = to;
        n->index_within_parent = target.length + i;
        data[target.length + i] = n;
    }
    target.data = data;
    target.length = static_cast<unsigned>(target.length + added);
    target.capacity = target.length;
    source.length = static_cast<unsigned>(first);
}

// The end of `from` (a second-half element) as the end of `to`.
void takeEnd(const GumboNode* from, GumboNode* to) {
    to->v.element.end_pos = from->v.element.end_pos;
    to->v.element.original_end_tag = from->v.element.original_end_tag;
    to->parse_flags =
        static_cast<GumboParseFlags>((to->parse_flags & ~GUMBO_INSERTION_IMPLICIT_END_TAG) |
                                     (from->parse_flags & GUMBO_INSERTION_IMPLICIT_END_TAG));
}

}  // namespace

bool parseInHalves(ParsedHtml& parsed, const GumboOptions& options, std::size_t memoryLimit,
                   std::chrono::steady_clock::time_point deadline, double at) {
    const std::string& text = parsed.m_text;
    const std::size_t skipped = parsed.m_skipped;
    const std::size_t wanted = skipped + static_cast<std::size_t>(double(text.size() - skipped) *
                                                                  std::clamp(at, 0.0, 1.0));
    const auto split = findSplit(text, wanted);
    if (!split) return false;
    const std::string_view rest = std::string_view(text).substr(split->at);
    // Markup that changes state kept outside the second half's own tree.
    if (containsNoCase(rest, "<body") || containsNoCase(rest, "<html") ||
        containsNoCase(rest, "<frameset")) {
        return false;
    }
    const auto guess =
        guessOpenElements(std::string_view(text).substr(skipped, split->at - skipped));
    if (!guess) return false;
    // The first half's doctype sets the mode; the second is given the same.
    const bool quirks = readsInQuirksMode(std::string_view(text).substr(skipped));

    const unsigned column = columnAt(std::string_view(text).substr(skipped), split->at - skipped);
    // The second half behind start tags that open `open`, its positions and source spans
    // moved over to the page text.
    auto parseSecond = [&](const std::vector<GumboTag>& open, bool inQuirks) {
        std::string buffer = reopeningPrefix(inQuirks, open, column);
        const std::size_t prefix = buffer.size();
        buffer.append(rest);
        Half half = parseText(options, memoryLimit, deadline, buffer.data(), buffer.size());
        if (half.output) {
            const Rebase rebase(buffer, prefix, text, split->at, skipped);
            std::vector<GumboNode*> pending{half.output->document};
            while (!pending.empty()) {
                GumboNode* n = pending.back();
                pending.pop_back();
                rebase.node(n);
                for (const GumboNode* kid : childrenOf(n)) {
                    pending.push_back(const_cast<GumboNode*>(kid));
                }
            }
        }
        return half;
    };
    Half second;
    std::jthread worker([&] {
        try {
            second = parseSecond(*guess, quirks);
        } catch (...) {
            second = Half{};
        }
    });
    Half first =
        parseText(options, memoryLimit, deadline, text.data() + skipped, split->at - skipped);
    worker.join();
    if (!first.output || !second.output) return false;

    parsed.m_output = first.output;
    const auto chain = openAtSplit(parsed, *first.output, *split, skipped);
    parsed.m_output = nullptr;
    if (!chain) return false;
    std::vector<GumboTag> open;
    for (std::size_t i = 1; i < chain->size(); ++i) open.push_back((*chain)[i]->v.element.tag);
    const bool firstQuirks =
        first.output->document->v.document.doc_type_quirks_mode == GUMBO_DOCTYPE_QUIRKS;
    if (open != *guess || firstQuirks != quirks) {
        // The quick reading was wrong; the first half now tells. The wrong parse goes first,
        // so that two parses of the second half are never held at once.
        second = Half{};
        second = parseSecond(open, firstQuirks);
        if (!second.output) return false;
    }

    // The second half must have opened the chain again and put everything after it.
    GumboNode* html = second.output->root;
    const auto inHtml = childrenOf(html);
    if (inHtml.size() < 2 || !isHtml(inHtml[0], GUMBO_TAG_HEAD) || !childrenOf(inHtml[0]).empty() ||
        !isHtml(inHtml[1], GUMBO_TAG_BODY)) {
        return false;
    }
    std::vector<GumboNode*> rebuilt{const_cast<GumboNode*>(inHtml[1])};
    for (std::size_t i = 1; i < chain->size(); ++i) {
        GumboNode* next = firstChild(rebuilt.back());
        if (!next || !isElement(next) || next->v.element.tag != (*chain)[i]->v.element.tag ||
            next->v.element.tag_namespace != GUMBO_NAMESPACE_HTML ||
            (next->parse_flags & kMovedByParser)) {
            return false;
        }
        rebuilt.push_back(next);
    }
    const GumboNode* start = firstChild(rebuilt.back());
    if (!start || !isElement(start) || start->v.element.start_pos.offset != split->at - skipped) {
        return false;
    }

    ParseArena& arena = *first.arena;
    for (std::size_t i = 0; i < chain->size(); ++i) {
        moveChildren(arena, rebuilt[i], i + 1 < chain->size() ? 1 : 0, (*chain)[i]);
        takeEnd(rebuilt[i], (*chain)[i]);
    }
    moveChildren(arena, html, 2, first.output->root);
    takeEnd(html, first.output->root);
    moveChildren(arena, second.output->document, 1, first.output->document);

    parsed.m_output = first.output;
    parsed.m_arenas.clear();
    parsed.m_arenas.push_back(std::move(first.arena));
    parsed.m_arenas.push_back(std::move(second.arena));
    return true;
}

}  // namespace host::page
