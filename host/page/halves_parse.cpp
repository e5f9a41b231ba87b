// Splitting, checking and joining the two halves of a page.
#include "host/page/halves_parse.h"

#include <algorithm>
#include <array>
#include <cctype>
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

namespace host::page {
namespace {

constexpr unsigned kMoved =
    GUMBO_INSERTION_FOSTER_PARENTED | GUMBO_INSERTION_ADOPTION_AGENCY_CLONED |
    GUMBO_INSERTION_ADOPTION_AGENCY_MOVED | GUMBO_INSERTION_RECONSTRUCTED_FORMATTING_ELEMENT;

// How far past the chosen point a split is looked for.
constexpr std::size_t kSearch = std::size_t(64) << 10;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool isAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// What the quick reading of the first half needs to know of a tag.
enum Kind : unsigned {
    kFollowed = 1,     // rarely closed implicitly, and reopened by the split; the guess of what
                       // is open at the split follows only these
    kClosesBlock = 2,  // a split is tried after its end tag
    kFormatting = 4,
    kLeavesState = 8,  // after it the state is more than the open elements
    kRawText = 16,     // the tokenizer reads its text up to its own end tag
};

unsigned kindOf(GumboTag tag) {
    static const auto kinds = [] {
        std::array<unsigned, GUMBO_TAG_LAST + 1> table{};
        const auto mark = [&](unsigned kind, std::initializer_list<const char*> names) {
            for (const char* name : names) table[gumbo_tag_enum(name)] |= kind;
        };
        mark(kFollowed | kClosesBlock,
             {"div", "section", "article", "main", "header", "footer", "nav", "aside", "center",
              "blockquote", "table", "ul", "ol", "dl", "fieldset", "figure", "address"});
        mark(kClosesBlock,
             {"p", "h1", "h2", "h3", "h4", "h5", "h6", "li", "dd", "dt", "figcaption"});
        mark(kFormatting, {"a", "b", "big", "code", "em", "font", "i", "nobr", "s", "small",
                           "strike", "strong", "tt", "u"});
        mark(kLeavesState, {"template", "object", "applet", "marquee", "frameset", "isindex",
                            "plaintext", "select", "svg", "math", "frame"});
        mark(kRawText, {"script", "style", "textarea", "title", "xmp", "iframe", "noembed",
                        "noframes", "noscript"});
        table[GUMBO_TAG_UNKNOWN] = 0;
        return table;
    }();
    return kinds[tag];
}

// The tag named at text[begin, end), in any letter case.
GumboTag tagNamed(std::string_view text, std::size_t begin, std::size_t end) {
    return gumbo_tagn_enum(text.data() + begin, static_cast<unsigned>(end - begin));
}

struct Split {
    std::size_t endTagBegin = 0;  // the end tag before the split: [endTagBegin, endTagEnd)
    std::size_t endTagEnd = 0;
    std::size_t at = 0;  // where the second half begins: a start tag
    GumboTag endTag = GUMBO_TAG_UNKNOWN;
};

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::optional<Split> findSplit(std::string_view text, std::size_t from) {
    const std::size_t last = std::min(text.size(), from + kSearch);
    for (std::size_t q = text.find("</", from); q != std::string_view::npos && q < last;
         q = text.find("</", q + 2)) {
        std::size_t i = q + 2;
        while (i < text.size() && std::isalnum(static_cast<unsigned char>(text[i]))) ++i;
        if (i == q + 2 || i >= text.size() || text[i] != '>') continue;
        const GumboTag tag = tagNamed(text, q + 2, i);
        if (!(kindOf(tag) & kClosesBlock)) continue;
        std::size_t at = i + 1;
        while (at < text.size() && isSpace(text[at])) ++at;
        if (at + 1 >= text.size() || text[at] != '<' || !isAsciiAlpha(text[at + 1])) continue;
        return Split{q, i + 1, at, tag};
    }
    return std::nullopt;
}

// Whether text[at] begins an end tag of `tag` ("</" and its name in any letter case).
bool isEndTagOf(std::string_view text, std::size_t at, GumboTag tag) {
    std::size_t i = at + 2;
    while (i < text.size() && std::isalnum(static_cast<unsigned char>(text[i]))) ++i;
    return i > at + 2 && tagNamed(text, at + 2, i) == tag;
}

// A quick reading of the first half: the elements it leaves open, as far as followed ones
// go, or nothing when it holds markup after which splitting is not worth trying.
std::optional<std::vector<GumboTag>> guessOpen(std::string_view text) {
    std::vector<GumboTag> open;
    int formattingBalance = 0;
    int formBalance = 0;
    std::size_t at = text.find('<');
    while (at != std::string_view::npos) {
        if (text.compare(at, 4, "<!--") == 0) {
            const std::size_t end = text.find("-->", at + 4);
            if (end == std::string_view::npos) return std::nullopt;
            at = text.find('<', end + 3);
            continue;
        }
        const bool endTag = at + 1 < text.size() && text[at + 1] == '/';
        std::size_t i = at + (endTag ? 2 : 1);
        const std::size_t nameBegin = i;
        while (i < text.size() && std::isalnum(static_cast<unsigned char>(text[i]))) ++i;
        if (i == nameBegin || !isAsciiAlpha(text[nameBegin])) {
            at = text.find('<', at + 1);
            continue;
        }
        const GumboTag tag = tagNamed(text, nameBegin, i);
        const unsigned kind = kindOf(tag);
        // The end of the tag, past quoted attribute values.
        char quote = 0;
        while (i < text.size() && (quote || text[i] != '>')) {
            if (quote && text[i] == quote) {
                quote = 0;
            } else if (!quote && (text[i] == '"' || text[i] == '\'')) {
                quote = text[i];
            }
            ++i;
        }
        if (i >= text.size()) return std::nullopt;
        if (endTag) {
            // Gumbo remembers a </body> or </html> even where it ignores it.
            if (tag == GUMBO_TAG_BODY || tag == GUMBO_TAG_HTML) return std::nullopt;
            if (kind & kFormatting) --formattingBalance;
            if (tag == GUMBO_TAG_FORM) --formBalance;
            if (kind & kFollowed) {
                const auto match = std::find(open.rbegin(), open.rend(), tag);
                if (match != open.rend()) open.erase(std::prev(match.base()), open.end());
            }
            at = text.find('<', i);
            continue;
        }
        if (kind & kLeavesState) return std::nullopt;
        if (kind & kFormatting) ++formattingBalance;
        if (tag == GUMBO_TAG_FORM) ++formBalance;
        if (kind & kFollowed) open.push_back(tag);
        if (kind & kRawText) {
            std::size_t end = text.find("</", i);
            while (end != std::string_view::npos && !isEndTagOf(text, end, tag)) {
                end = text.find("</", end + 2);
            }
            if (end == std::string_view::npos) return std::nullopt;
            i = end;
        }
        at = text.find('<', i);
    }
    if (formattingBalance != 0 || formBalance != 0) return std::nullopt;
    return open;
}

// The mode gumbo reads a page in, from its doctype alone (a short parse of just that).
bool quirksOf(std::string_view text) {
    const std::string_view head = text.substr(0, 4096);
    const std::string lower = lowerAscii(head);
    const std::size_t doctype = lower.find("<!doctype");
    const std::size_t end = doctype == std::string::npos ? doctype : lower.find('>', doctype);
    if (end == std::string::npos) return true;
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput* out = gumbo_parse_with_options(&options, text.data(), end + 1);
    const bool quirks = out->document->v.document.doc_type_quirks_mode == GUMBO_DOCTYPE_QUIRKS;
    gumbo_destroy_output(&options, out);
    return quirks;
}

// Start tags that open `open` again, padded so that the text after them starts at the
// split's column modulo 8: tabs then move on to the same stops.
std::string prefixFor(bool quirks, const std::vector<GumboTag>& open, unsigned column) {
    std::string tags = "<head></head><body>";
    for (const GumboTag tag : open) tags.append("<").append(gumbo_normalized_tagname(tag)).append(">");
    const std::string doctype = quirks ? "" : "<!DOCTYPE html>";
    const std::size_t length = doctype.size() + std::string_view("<html>").size() + tags.size();
    const std::size_t pad = (column + 8 * 8 - 1 - length % 8) % 8;
    return doctype + "<html" + std::string(pad, ' ') + ">" + tags;
}

struct Half {
    std::unique_ptr<ParseArena> arena;
    GumboOutput* output = nullptr;
};

Half parseText(const GumboOptions& options, std::size_t memoryLimit,
               std::chrono::steady_clock::time_point deadline, const char* data,
               std::size_t size) {
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
                                                    const Split& split, std::size_t skipped) {
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
    if (!isHtml(closed, split.endTag) || (closed->parse_flags & kMoved)) {
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

// The column gumbo counts at `at` (lines end at LF or CR; columns count characters, a tab
// moving on to the next multiple of 8).
unsigned columnAt(std::string_view text, std::size_t at) {
    std::size_t lineStart = at;
    while (lineStart > 0 && text[lineStart - 1] != '\n' && text[lineStart - 1] != '\r') --lineStart;
    unsigned column = 1;
    for (std::size_t i = lineStart; i < at; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\t') {
            column = (column / 8 + 1) * 8;
        } else if ((c & 0xC0) != 0x80) {
            ++column;
        }
    }
    return column;
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
    GumboVector& source = from->type == GUMBO_NODE_DOCUMENT ? from->v.document.children
                                                            : from->v.element.children;
    GumboVector& target =
        to->type == GUMBO_NODE_DOCUMENT ? to->v.document.children : to->v.element.children;
    if (first >= source.length) return;
    const std::size_t added = source.length - first;
    auto** data = static_cast<void**>(arena.allocateAfterParse(sizeof(void*) * (target.length + added)));
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
    to->parse_flags = static_cast<GumboParseFlags>(
        (to->parse_flags & ~GUMBO_INSERTION_IMPLICIT_END_TAG) |
        (from->parse_flags & GUMBO_INSERTION_IMPLICIT_END_TAG));
}

}  // namespace

bool parseInHalves(ParsedHtml& parsed, const GumboOptions& options, std::size_t memoryLimit,
                   std::chrono::steady_clock::time_point deadline, double at) {
    const std::string& text = parsed.m_text;
    const std::size_t skipped = parsed.m_skipped;
    const std::size_t wanted =
        skipped + static_cast<std::size_t>(double(text.size() - skipped) * std::clamp(at, 0.0, 1.0));
    const auto split = findSplit(text, wanted);
    if (!split) return false;
    const std::string_view rest = std::string_view(text).substr(split->at);
    // Markup that changes state kept outside the second half's own tree.
    if (containsNoCase(rest, "<body") || containsNoCase(rest, "<html") ||
        containsNoCase(rest, "<frameset")) {
        return false;
    }
    const auto guess = guessOpen(std::string_view(text).substr(skipped, split->at - skipped));
    if (!guess) return false;
    // The first half's doctype sets the mode; the second is given the same.
    const bool quirks = quirksOf(std::string_view(text).substr(skipped));

    const unsigned column = columnAt(std::string_view(text).substr(skipped), split->at - skipped);
    // The second half behind start tags that open `open`, its positions and source spans
    // moved over to the page text.
    auto parseSecond = [&](const std::vector<GumboTag>& open, bool inQuirks) {
        std::string buffer = prefixFor(inQuirks, open, column);
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
    Half first = parseText(options, memoryLimit, deadline, text.data() + skipped,
                           split->at - skipped);
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
        // The quick reading was wrong; the first half now tells.
        second = parseSecond(open, firstQuirks);
        if (!second.output) return false;
    }

    // The second half must have opened the chain again and put everything after it.
    GumboNode* html = second.output->root;
    const auto inHtml = childrenOf(html);
    if (inHtml.size() < 2 || !isHtml(inHtml[0], GUMBO_TAG_HEAD) ||
        !childrenOf(inHtml[0]).empty() || !isHtml(inHtml[1], GUMBO_TAG_BODY)) {
        return false;
    }
    std::vector<GumboNode*> rebuilt{const_cast<GumboNode*>(inHtml[1])};
    for (std::size_t i = 1; i < chain->size(); ++i) {
        GumboNode* next = firstChild(rebuilt.back());
        if (!next || !isElement(next) || next->v.element.tag != (*chain)[i]->v.element.tag ||
            next->v.element.tag_namespace != GUMBO_NAMESPACE_HTML || (next->parse_flags & kMoved)) {
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
