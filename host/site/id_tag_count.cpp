// A reading of the page's tags after the HTML tokenizer's main states: data, tags with their
// attributes, comments and the elements whose text is read raw.
#include "host/site/id_tag_count.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/text/ascii.h"

namespace host::site {
namespace {

using platform::text::asciiLowered;
using platform::text::isAsciiAlpha;
using platform::text::isAsciiSpace;

template <std::size_t N>
bool oneOf(const std::string& name, const std::array<std::string_view, N>& names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Start tags after which tags alone no longer tell what the tree holds.
constexpr std::array<std::string_view, 9> kGiveUp{
    "template", "svg", "math", "noscript", "plaintext", "frameset", "isindex", "image", "xmp"};
// Elements whose text is read up to their own end tag.
constexpr std::array<std::string_view, 7> kRawText{"script", "style",    "textarea", "title",
                                                   "iframe", "noembed", "noframes"};
// Elements with the id that the tree builder may ignore, merge, move into clones or reopen.
constexpr std::array<std::string_view, 28> kUnsure{
    "html", "head", "body",  "form",  "caption", "col",  "colgroup", "tbody", "thead", "tfoot",
    "tr",   "td",   "th",    "frame", "a",       "b",    "big",      "code",  "em",    "font",
    "i",    "nobr", "s",     "small", "strike",  "strong", "tt",     "u"};

class TagReader {
public:
    TagReader(std::string_view page, std::string_view id) : m_page(page), m_id(id) {}

    std::optional<int> count() {
        int found = 0;
        while (m_at < m_page.size()) {
            const std::size_t lt = m_page.find('<', m_at);
            if (lt == std::string_view::npos) break;
            m_at = lt + 1;
            if (startsWith("!--")) {
                skipComment();
            } else if (startsWith("!") || startsWith("?")) {
                if (startsWith("![CDATA[")) return std::nullopt;
                skipPast('>');  // doctype or bogus comment
            } else if (startsWith("/")) {
                ++m_at;
                if (m_at < m_page.size() && isAsciiAlpha(m_page[m_at])) {
                    const Tag tag = readTag();
                    if (tag.name == "select") m_inSelect = false;
                } else if (m_at < m_page.size() && m_page[m_at] != '>') {
                    skipPast('>');  // bogus comment
                }
            } else if (m_at < m_page.size() && isAsciiAlpha(m_page[m_at])) {
                const Tag tag = readTag();
                if (!tag.complete) break;  // the page ends inside it: the tag is dropped
                if (oneOf(tag.name, kGiveUp)) return std::nullopt;
                if (tag.idMatches) {
                    if (m_inSelect || oneOf(tag.name, kUnsure)) return std::nullopt;
                    ++found;
                }
                if (tag.name == "select") m_inSelect = true;
                if (oneOf(tag.name, kRawText) && !skipRawText(tag.name)) return std::nullopt;
            }
        }
        // Every occurrence of the id must be one of the attributes counted.
        int occurrences = 0;
        for (std::size_t at = m_page.find(m_id); at != std::string_view::npos;
             at = m_page.find(m_id, at + 1))
            ++occurrences;
        if (occurrences != found) return std::nullopt;
        return found;
    }

private:
    struct Tag {
        std::string name;
        bool idMatches = false;
        bool complete = false;
    };

    bool startsWith(std::string_view s) const { return m_page.substr(m_at).starts_with(s); }
    void skipPast(char c) {
        const std::size_t at = m_page.find(c, m_at);
        m_at = at == std::string_view::npos ? m_page.size() : at + 1;
    }
    void skipComment() {
        m_at += 3;
        // "<!-->" and "<!--->" end at once.
        if (startsWith(">")) return void(++m_at);
        if (startsWith("->")) return void(m_at += 2);
        for (std::size_t at = m_page.find("--", m_at); at != std::string_view::npos;
             at = m_page.find("--", at + 1)) {
            const std::string_view rest = m_page.substr(at + 2);
            if (rest.starts_with(">")) return void(m_at = at + 3);
            if (rest.starts_with("!>")) return void(m_at = at + 4);
        }
        m_at = m_page.size();
    }
    // After "<name": the name and the attributes up to '>'.
    Tag readTag() {
        Tag tag;
        const std::size_t nameStart = m_at;
        while (m_at < m_page.size() && !isAsciiSpace(m_page[m_at]) && m_page[m_at] != '/' &&
               m_page[m_at] != '>')
            ++m_at;
        tag.name = asciiLowered(m_page.substr(nameStart, m_at - nameStart));
        bool sawId = false;
        while (m_at < m_page.size()) {
            const char c = m_page[m_at];
            if (c == '>') {
                ++m_at;
                tag.complete = true;
                return tag;
            }
            if (isAsciiSpace(c) || c == '/') {
                ++m_at;
                continue;
            }
            // An attribute name: up to space, '/', '>' or an '=' that is not its first char.
            const std::size_t attrStart = m_at++;
            while (m_at < m_page.size() && !isAsciiSpace(m_page[m_at]) && m_page[m_at] != '/' &&
                   m_page[m_at] != '>' && m_page[m_at] != '=')
                ++m_at;
            const std::string name = asciiLowered(m_page.substr(attrStart, m_at - attrStart));
            while (m_at < m_page.size() && isAsciiSpace(m_page[m_at])) ++m_at;
            std::string_view value;
            if (m_at < m_page.size() && m_page[m_at] == '=') {
                ++m_at;
                while (m_at < m_page.size() && isAsciiSpace(m_page[m_at])) ++m_at;
                if (m_at >= m_page.size()) break;
                const char quote = m_page[m_at];
                if (quote == '"' || quote == '\'') {
                    const std::size_t end = m_page.find(quote, m_at + 1);
                    if (end == std::string_view::npos) break;
                    value = m_page.substr(m_at + 1, end - m_at - 1);
                    m_at = end + 1;
                } else {
                    const std::size_t start = m_at;
                    while (m_at < m_page.size() && !isAsciiSpace(m_page[m_at]) && m_page[m_at] != '>')
                        ++m_at;
                    value = m_page.substr(start, m_at - start);
                }
            }
            // Only the first id counts, and only a value that is the id as written.
            if (name == "id" && !sawId) {
                sawId = true;
                tag.idMatches = value == m_id;
            }
        }
        m_at = m_page.size();
        return tag;
    }
    // Skips to the element's own end tag; false when the text is not plain enough to tell.
    bool skipRawText(const std::string& name) {
        const std::string close = "</" + name;
        for (std::size_t at = m_at; at < m_page.size(); ++at) {
            at = m_page.find("</", at);
            if (at == std::string_view::npos) break;
            if (asciiLowered(m_page.substr(at, close.size())) != close) continue;
            const std::size_t after = at + close.size();
            if (after < m_page.size() && !isAsciiSpace(m_page[after]) && m_page[after] != '/' &&
                m_page[after] != '>')
                continue;
            // Script text that opens a comment may hide its end tag from the tokenizer.
            if (name == "script" && m_page.substr(m_at, at - m_at).find("<!--") !=
                                        std::string_view::npos)
                return false;
            m_at = at + 2;
            readTag();
            return true;
        }
        return false;
    }

    std::string_view m_page;
    std::string_view m_id;
    std::size_t m_at = 0;
    bool m_inSelect = false;
};

}  // namespace

std::optional<int> countIdTags(std::string_view page, std::string_view id) {
    if (id.empty() || page.find('\0') != std::string_view::npos) return std::nullopt;
    for (char c : id) {
        // Only plain ASCII ids compare as bytes in every ASCII-compatible encoding, and
        // none that could be part of markup.
        if (static_cast<unsigned char>(c) >= 0x80 || isAsciiSpace(c) || c == '<' || c == '>' ||
            c == '&' || c == '"' || c == '\'' || c == '=')
            return std::nullopt;
    }
    return TagReader(page, id).count();
}

}  // namespace host::site
