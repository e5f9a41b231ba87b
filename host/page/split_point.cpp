// Where a page is split for parsing in halves, read from its text alone.
#include "host/page/split_point.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace host::page {
namespace {

// How far past the chosen point a split is looked for.
constexpr std::size_t kSearch = std::size_t(64) << 10;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool isAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

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

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Whether text[at] begins an end tag of `tag` ("</" and its name in any letter case).
bool isEndTagOf(std::string_view text, std::size_t at, GumboTag tag) {
    std::size_t i = at + 2;
    while (i < text.size() && std::isalnum(static_cast<unsigned char>(text[i]))) ++i;
    return i > at + 2 && tagNamed(text, at + 2, i) == tag;
}

}  // namespace

std::optional<SplitPoint> findSplit(std::string_view text, std::size_t from) {
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
        return SplitPoint{q, i + 1, at, tag};
    }
    return std::nullopt;
}

// A quick reading of the first half: the elements it leaves open, as far as followed ones
// go, or nothing when it holds markup after which splitting is not worth trying.
std::optional<std::vector<GumboTag>> guessOpenElements(std::string_view text) {
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
bool readsInQuirksMode(std::string_view text) {
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
std::string reopeningPrefix(bool quirks, const std::vector<GumboTag>& open, unsigned column) {
    std::string tags = "<head></head><body>";
    for (const GumboTag tag : open)
        tags.append("<").append(gumbo_normalized_tagname(tag)).append(">");
    const std::string doctype = quirks ? "" : "<!DOCTYPE html>";
    const std::size_t length = doctype.size() + std::string_view("<html>").size() + tags.size();
    const std::size_t pad = (column + 8 * 8 - 1 - length % 8) % 8;
    return doctype + "<html" + std::string(pad, ' ') + ">" + tags;
}

namespace {

// The bytes of the character that gumbo reads at `i`: a UTF-8 sequence, or one replacement
// character for the bytes of an invalid one up to the byte that breaks it (an invalid first
// byte alone), or for the rest of a sequence cut off by the end of the text.
std::size_t characterWidth(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0) low = 0xA0;
        if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;
    } else {
        return 1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if (i + k >= text.size()) return text.size() - i;
        const unsigned char b = byte(i + k);
        if (k == 1 ? (b < low || b > high) : (b < 0x80 || b > 0xBF)) return k;
    }
    return length;
}

}  // namespace

// The column gumbo counts at `at` (lines end at LF or CR; columns count characters as gumbo
// decodes them, a tab moving on to the next multiple of 8).
unsigned columnAt(std::string_view text, std::size_t at) {
    std::size_t lineStart = at;
    while (lineStart > 0 && text[lineStart - 1] != '\n' && text[lineStart - 1] != '\r') --lineStart;
    unsigned column = 1;
    for (std::size_t i = lineStart; i < at; i += characterWidth(text, i)) {
        column = text[i] == '\t' ? (column / 8 + 1) * 8 : column + 1;
    }
    return column;
}

}  // namespace host::page
