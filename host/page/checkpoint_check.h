// Checks an edit by parsing only the page from a checkpoint before it, when that is sound.
#pragma once

#include <gumbo.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "host/page/parsed_html.h"
#include "host/page/tree_compare.h"

namespace host::page {

// A start tag in the page where the parser's state is one that a few start tags rebuild:
// only the element's ancestors are open (ordinary containers such as div, p, table, td), and
// nothing before it left state behind that would shape what follows (formatting elements to
// reopen, a form still registered, templates, foster-parented or moved nodes).
struct Checkpoint {
    const GumboNode* anchor = nullptr;        // the element whose start tag is there
    std::vector<const GumboNode*> ancestors;  // body first, the anchor's parent last
    std::size_t offset = 0;
};

// The last offset up to which nothing in the page leaves parser state behind; fed every
// element in document order.
class StateScan {
public:
    explicit StateScan(const ParsedHtml& page) : m_page(page), m_clean(page.text().size()) {}
    void visit(const GumboNode* element);
    std::size_t cleanUntil() const { return m_clean; }
    // Whether the parser moved any element away from where its tag stands in the text
    // (foster parenting, misnested formatting elements).
    bool movedElements() const { return m_moved; }

private:
    const ParsedHtml& m_page;
    std::size_t m_clean;
    std::size_t m_latestStart = 0;
    bool m_moved = false;
};

// A checkpoint at or before `from` for an edit that puts nodes into `expected.parent` at
// child index `firstShifted`, or nothing when none is sound.
std::optional<Checkpoint> findCheckpoint(const ParsedHtml& page, std::size_t cleanUntil,
                                         const ExpectedTree& expected, std::size_t firstShifted,
                                         std::size_t from);

// Whether the page with [from, to) replaced by `replacement` parses to the expected tree,
// judged from the checkpoint on; nothing when this check cannot decide (the caller then
// parses the whole page).
std::optional<bool> sameTreeFromCheckpoint(const ParsedHtml& page, const Checkpoint& checkpoint,
                                           const ExpectedTree& expected, std::size_t from,
                                           std::size_t to, const std::string& replacement,
                                           const ParseLimits& limits);

}  // namespace host::page
