// One gumbo parse of a page or snippet, with its own memory and a cost limit.
#pragma once

#include <gumbo.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace host::page {

class ParseArena;

// What one parse may cost before it is given up with an error. Gumbo needs time that grows
// with the square of the nesting depth, so a hostile page could otherwise hang the editor.
// The time is the parsing thread's CPU time: a loaded machine that keeps the parse waiting
// does not make an ordinary page "too complex".
struct ParseLimits {
    std::chrono::milliseconds baseTime{10000};
    std::chrono::milliseconds timePerMegabyte{500};
    std::size_t baseMemory = std::size_t(512) << 20;
    std::size_t memoryPerSourceByte = 64;
};

// For fragments: the tag (and namespace) of the element the fragment is parsed into.
struct FragmentContext {
    GumboTag tag = GUMBO_TAG_LAST;
    GumboNamespaceEnum ns = GUMBO_NAMESPACE_HTML;
};

class ParsedHtml {
public:
    // Parses `text` (a copy is kept: the tree points into it). Throws com::Error when the
    // text is too large for the parser or the parse runs over its limits.
    static std::unique_ptr<ParsedHtml> parse(std::string text, const ParseLimits& limits,
                                             FragmentContext fragment = {});
    ~ParsedHtml();
    ParsedHtml(const ParsedHtml&) = delete;
    ParsedHtml& operator=(const ParsedHtml&) = delete;

    const std::string& text() const { return m_text; }
    const GumboNode* document() const { return m_output->document; }
    const GumboNode* root() const { return m_output->root; }
    // Byte offset of a source position reported by gumbo (a leading byte-order mark is not
    // given to the parser, as a browser drops it while decoding).
    std::size_t offsetOf(const GumboSourcePosition& p) const { return p.offset + m_skipped; }
    // Byte offset of a pointer into the text, or npos when it points elsewhere.
    std::size_t offsetOf(const char* p) const;
    bool quirks() const {
        return document()->v.document.doc_type_quirks_mode == GUMBO_DOCTYPE_QUIRKS;
    }

private:
    ParsedHtml() = default;
    void repairFormEnds();

    std::string m_text;
    std::size_t m_skipped = 0;
    std::unique_ptr<ParseArena> m_arena;
    GumboOutput* m_output = nullptr;
};

}  // namespace host::page
