// Where the tree departs from the order of the text, found in the walk over the page that
// every parse gets anyway, so that an edit need not walk the whole tree again.
#pragma once

#include <gumbo.h>

#include <cstddef>
#include <vector>

#include "host/page/parsed_html.h"

namespace host::page {

// What the walk found: the nodes that start in the text before some node ahead of them in
// the tree (moved by the parser, or made up at an earlier position), sorted by address.
// Among all other nodes the start offsets only grow in document order.
struct SourceOrder {
    std::vector<const GumboNode*> outOfOrder;
    bool linksChecked = true;  // every node's parent and index lead back to it
};

// Fed every node (template contents too) in document order.
class SourceOrderScan {
public:
    explicit SourceOrderScan(const ParsedHtml& page) : m_page(page) {}
    void visit(const GumboNode* node);
    SourceOrder take();

private:
    const ParsedHtml& m_page;
    std::size_t m_latest = 0;
    SourceOrder m_order;
};

// Where a node starts in the text as the parser reports it (not checked against the text).
std::size_t reportedStart(const ParsedHtml& page, const GumboNode* node);

// Every node outside `element` (and not `element` itself) whose reported start lies in
// [from, to), in no particular order.
std::vector<const GumboNode*> nodesStartingWithin(const ParsedHtml& page, const SourceOrder& order,
                                                  const GumboNode* element, std::size_t from,
                                                  std::size_t to);

}  // namespace host::page
