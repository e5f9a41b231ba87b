// The page's nodes against the order of the text.
#include "host/page/source_order.h"

#include <algorithm>

#include "host/page/gumbo_tree.h"

namespace host::page {
namespace {

bool isInside(const GumboNode* node, const GumboNode* ancestor) {
    for (const GumboNode* n = node->parent; n; n = n->parent) {
        if (n == ancestor) return true;
    }
    return false;
}

// The next node in document order after everything inside `node`.
const GumboNode* nextAfter(const GumboNode* node) {
    for (const GumboNode* n = node; n->parent; n = n->parent) {
        const auto siblings = childrenOf(n->parent);
        if (n->index_within_parent + 1 < siblings.size()) {
            return siblings[n->index_within_parent + 1];
        }
    }
    return nullptr;
}

const GumboNode* nextInOrder(const GumboNode* node) {
    const auto kids = childrenOf(node);
    return kids.empty() ? nextAfter(node) : kids.front();
}

}  // namespace

std::size_t reportedStart(const ParsedHtml& page, const GumboNode* node) {
    switch (node->type) {
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE:
            return page.offsetOf(node->v.element.start_pos);
        case GUMBO_NODE_DOCUMENT:
            return 0;
        default:
            return page.offsetOf(node->v.text.start_pos);
    }
}

void SourceOrderScan::visit(const GumboNode* node) {
    if (node->type == GUMBO_NODE_DOCUMENT) return;
    const auto siblings = childrenOf(node->parent);
    if (node->index_within_parent >= siblings.size() ||
        siblings[node->index_within_parent] != node) {
        m_order.linksChecked = false;
    }
    const std::size_t start = reportedStart(m_page, node);
    if (start < m_latest) {
        m_order.outOfOrder.push_back(node);
    } else {
        m_latest = start;
    }
}

SourceOrder SourceOrderScan::take() {
    std::sort(m_order.outOfOrder.begin(), m_order.outOfOrder.end());
    return std::move(m_order);
}

std::vector<const GumboNode*> nodesStartingWithin(const ParsedHtml& page, const SourceOrder& order,
                                                  const GumboNode* element, std::size_t from,
                                                  std::size_t to) {
    std::vector<const GumboNode*> found;
    const auto within = [&](const GumboNode* n) {
        const std::size_t at = reportedStart(page, n);
        return at >= from && at < to;
    };
    const auto outOfOrder = [&](const GumboNode* n) {
        return std::binary_search(order.outOfOrder.begin(), order.outOfOrder.end(), n);
    };
    if (!order.linksChecked || outOfOrder(element) || reportedStart(page, element) >= from) {
        // Nodes ahead of the element in the tree may start after it: look at every node.
        std::vector<const GumboNode*> pending{page.document()};
        while (!pending.empty()) {
            const GumboNode* n = pending.back();
            pending.pop_back();
            if (n == element) continue;
            if (n != page.document() && within(n)) found.push_back(n);
            for (const GumboNode* kid : childrenOf(n)) pending.push_back(kid);
        }
        return found;
    }
    // Nodes in order ahead of the element start no later than it does, so before `from`;
    // those after it start ever later, so the walk ends at the first one from `to` on.
    for (const GumboNode* n = nextAfter(element); n; n = nextInOrder(n)) {
        if (outOfOrder(n)) continue;
        if (reportedStart(page, n) >= to) break;
        if (within(n)) found.push_back(n);
    }
    for (const GumboNode* n : order.outOfOrder) {
        if (n != element && !isInside(n, element) && within(n)) found.push_back(n);
    }
    return found;
}

}  // namespace host::page
