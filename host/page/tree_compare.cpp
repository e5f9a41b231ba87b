// Node-by-node comparison of two gumbo trees, iterative over any depth.
#include "host/page/tree_compare.h"

#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "host/page/gumbo_tree.h"

namespace host::page {
namespace {

// One entry of a child list as a DOM serialization sees it: a run of text nodes is one.
struct Item {
    const GumboNode* node = nullptr;
    std::string_view text;
    std::string joined;
};

std::vector<Item> itemsOf(std::span<const GumboNode* const> list) {
    std::vector<Item> items;
    items.reserve(list.size());
    for (std::size_t i = 0; i < list.size();) {
        Item item;
        item.node = list[i];
        if (!isTextLike(list[i])) {
            items.push_back(std::move(item));
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < list.size() && isTextLike(list[j])) ++j;
        if (j == i + 1) {
            item.text = list[i]->v.text.text;
        } else {
            for (std::size_t k = i; k < j; ++k) item.joined += list[k]->v.text.text;
            item.text = item.joined;
        }
        items.push_back(std::move(item));
        i = j;
    }
    // A moved std::string may hand its buffer to the new object: re-point the views.
    for (Item& item : items) {
        if (!item.joined.empty()) item.text = item.joined;
    }
    return items;
}

bool hasAdjacentText(std::span<const GumboNode* const> list) {
    for (std::size_t i = 1; i < list.size(); ++i) {
        if (isTextLike(list[i]) && isTextLike(list[i - 1])) return true;
    }
    return false;
}

bool sameElementHead(const GumboNode* a, const GumboNode* b) {
    const GumboElement& x = a->v.element;
    const GumboElement& y = b->v.element;
    if (a->type != b->type || x.tag != y.tag || x.tag_namespace != y.tag_namespace) return false;
    if (x.tag == GUMBO_TAG_UNKNOWN && lowerName(a) != lowerName(b)) return false;
    if (x.attributes.length != y.attributes.length) return false;
    for (unsigned i = 0; i < x.attributes.length; ++i) {
        const auto* p = static_cast<const GumboAttribute*>(x.attributes.data[i]);
        const auto* q = static_cast<const GumboAttribute*>(y.attributes.data[i]);
        if (p->attr_namespace != q->attr_namespace || std::strcmp(p->name, q->name) != 0 ||
            std::strcmp(p->value, q->value) != 0) {
            return false;
        }
    }
    return true;
}

bool sameLeaf(const Item& a, const Item& b) {
    if (isTextLike(a.node) != isTextLike(b.node)) return false;
    if (isTextLike(a.node)) return a.text == b.text;
    if (a.node->type != b.node->type) return false;
    return std::strcmp(a.node->v.text.text, b.node->v.text.text) == 0;
}

bool sameDoctype(const GumboNode* a, const GumboNode* b) {
    const GumboDocument& x = a->v.document;
    const GumboDocument& y = b->v.document;
    return x.has_doctype == y.has_doctype && std::strcmp(x.name, y.name) == 0 &&
           std::strcmp(x.public_identifier, y.public_identifier) == 0 &&
           std::strcmp(x.system_identifier, y.system_identifier) == 0 &&
           x.doc_type_quirks_mode == y.doc_type_quirks_mode;
}

}  // namespace

namespace {

using Pending = std::vector<std::pair<const GumboNode*, const GumboNode*>>;

// Compares two child lists item by item; element pairs still to descend into go to pending.
bool sameList(std::span<const GumboNode* const> listA, std::span<const GumboNode* const> listB,
              Pending& pending) {
    if (!hasAdjacentText(listA) && !hasAdjacentText(listB)) {
        // The common case, without building item lists.
        if (listA.size() != listB.size()) return false;
        for (std::size_t i = 0; i < listA.size(); ++i) {
            const GumboNode* x = listA[i];
            const GumboNode* y = listB[i];
            if (isElement(x) != isElement(y)) return false;
            if (!isElement(x)) {
                if (isTextLike(x) != isTextLike(y) || (!isTextLike(x) && x->type != y->type) ||
                    std::strcmp(x->v.text.text, y->v.text.text) != 0) {
                    return false;
                }
                continue;
            }
            if (!sameElementHead(x, y)) return false;
            pending.emplace_back(x, y);
        }
        return true;
    }
    const std::vector<Item> a = itemsOf(listA);
    const std::vector<Item> b = itemsOf(listB);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const bool elementA = isElement(a[i].node);
        if (elementA != isElement(b[i].node)) return false;
        if (!elementA) {
            if (!sameLeaf(a[i], b[i])) return false;
            continue;
        }
        if (!sameElementHead(a[i].node, b[i].node)) return false;
        pending.emplace_back(a[i].node, b[i].node);
    }
    return true;
}

}  // namespace

std::span<const GumboNode* const> ExpectedTree::childrenOf(const GumboNode* node) const {
    if (node == parent) return children;
    return page::childrenOf(node);
}

bool sameNodes(std::span<const GumboNode* const> actual, std::span<const GumboNode* const> wanted,
               const ExpectedTree& expected) {
    Pending pending;
    if (!sameList(actual, wanted, pending)) return false;
    while (!pending.empty()) {
        auto [a, b] = pending.back();
        pending.pop_back();
        if (!sameList(page::childrenOf(a), expected.childrenOf(b), pending)) return false;
    }
    return true;
}

bool sameTree(const GumboNode* actualDocument, const ExpectedTree& expected) {
    if (!sameDoctype(actualDocument, expected.document)) return false;
    return sameNodes(page::childrenOf(actualDocument), expected.childrenOf(expected.document),
                     expected);
}

}  // namespace host::page
