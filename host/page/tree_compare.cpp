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

// A pair of elements still to descend into; `trimEnd` when white space at the very end of
// their content is not compared (the content before an appended division).
struct Pair {
    const GumboNode* actual;
    const GumboNode* wanted;
    bool trimEnd;
};
using Pending = std::vector<Pair>;

bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t\n\f\r") == std::string_view::npos;
}

std::string_view trimmedEnd(std::string_view text) {
    const std::size_t last = text.find_last_not_of(" \t\n\f\r");
    return text.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

bool blankText(const Item& item) { return isTextLike(item.node) && isBlank(item.text); }

// Elements whose white space shows or is data: it is always compared.
bool keepsWhiteSpace(const GumboNode* e) {
    return e->v.element.tag_namespace != GUMBO_NAMESPACE_HTML || readsTextLiterally(e) ||
           isHtml(e, GUMBO_TAG_PRE) || isHtml(e, GUMBO_TAG_LISTING);
}

// The items of both lists that are compared, as indexes; the index (in those lists) of the
// item whose trailing white space is not compared, or npos.
struct Alignment {
    std::vector<std::size_t> a;
    std::vector<std::size_t> b;
    std::size_t trimAt = std::string::npos;
    std::size_t trimLast = std::string::npos;  // the body's last item, after the division
};

Alignment align(const std::vector<Item>& a, const std::vector<Item>& b,
                const GumboNode* division, bool trimEnd) {
    Alignment m;
    auto all = [](std::size_t n) {
        std::vector<std::size_t> v(n);
        for (std::size_t i = 0; i < n; ++i) v[i] = i;
        return v;
    };
    m.a = all(a.size());
    m.b = all(b.size());
    std::size_t d = 0;
    while (division && d < b.size() && b[d].node != division) ++d;
    if (division && d < b.size()) {
        // White-space text on either side of the division, in both lists.
        if (d + 1 < b.size() && blankText(b[d + 1])) m.b.erase(m.b.begin() + d + 1);
        if (d > 0 && blankText(b[d - 1])) m.b.erase(m.b.begin() + --d);
        if (d < a.size() && blankText(a[d])) m.a.erase(m.a.begin() + d);
        if (d + 1 < m.a.size() && blankText(a[m.a[d + 1]])) m.a.erase(m.a.begin() + d + 1);
        if (d > 0) m.trimAt = d - 1;
        // A snippet that ends the division early may leave elements open after it: the white
        // space after </body> then ends the body's content after the division.
        while (m.b.size() > d + 1 && blankText(b[m.b.back()])) m.b.pop_back();
        while (m.a.size() > d + 1 && blankText(a[m.a.back()])) m.a.pop_back();
        if (m.b.size() > d + 1) m.trimLast = m.b.size() - 1;
    } else if (trimEnd) {
        if (!m.a.empty() && blankText(a[m.a.back()])) m.a.pop_back();
        if (!m.b.empty() && blankText(b[m.b.back()])) m.b.pop_back();
        if (!m.b.empty()) m.trimAt = m.b.size() - 1;
    }
    return m;
}

// Compares two child lists item by item; element pairs still to descend into go to pending.
bool sameList(std::span<const GumboNode* const> listA, std::span<const GumboNode* const> listB,
              const ExpectedTree& expected, bool trimEnd, Pending& pending) {
    const auto& kids = expected.children;
    const GumboNode* division =
        expected.division && !kids.empty() && listB.data() >= kids.data() &&
                listB.data() < kids.data() + kids.size()
            ? expected.division
            : nullptr;
    if (!division && !trimEnd && !hasAdjacentText(listA) && !hasAdjacentText(listB)) {
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
            pending.push_back({x, y, false});
        }
        return true;
    }
    const std::vector<Item> a = itemsOf(listA);
    const std::vector<Item> b = itemsOf(listB);
    const Alignment m = align(a, b, division, trimEnd);
    if (m.a.size() != m.b.size()) return false;
    for (std::size_t i = 0; i < m.a.size(); ++i) {
        const Item& x = a[m.a[i]];
        const Item& y = b[m.b[i]];
        const bool elementA = isElement(x.node);
        if (elementA != isElement(y.node)) return false;
        const bool trim = i == m.trimAt || i == m.trimLast;
        if (!elementA) {
            if (trim && isTextLike(x.node) && isTextLike(y.node)) {
                if (trimmedEnd(x.text) != trimmedEnd(y.text)) return false;
            } else if (!sameLeaf(x, y)) {
                return false;
            }
            continue;
        }
        if (!sameElementHead(x.node, y.node)) return false;
        pending.push_back({x.node, y.node, trim && !keepsWhiteSpace(x.node)});
    }
    return true;
}

}  // namespace

std::span<const GumboNode* const> ExpectedTree::childrenOf(const GumboNode* node) const {
    if (node == parent) return children;
    return page::childrenOf(node);
}

bool sameNodes(std::span<const GumboNode* const> actual, std::span<const GumboNode* const> wanted,
               const ExpectedTree& expected, bool trimEnd) {
    Pending pending;
    if (!sameList(actual, wanted, expected, trimEnd, pending)) return false;
    while (!pending.empty()) {
        const Pair p = pending.back();
        pending.pop_back();
        if (!sameList(page::childrenOf(p.actual), expected.childrenOf(p.wanted), expected,
                      p.trimEnd, pending)) {
            return false;
        }
    }
    return true;
}

bool endNotCompared(std::span<const GumboNode* const> list, std::size_t index,
                    const ExpectedTree& expected, bool trimEnd) {
    const GumboNode* node = list[index];
    if (!isElement(node) || keepsWhiteSpace(node)) return false;
    const auto blankAt = [&](std::size_t i) {
        return isTextLike(list[i]) && isBlank(list[i]->v.text.text);
    };
    std::size_t next = index + 1;
    while (next < list.size() && blankAt(next)) ++next;
    if (expected.division && next < list.size() && list[next] == expected.division) return true;
    return trimEnd && next == list.size();
}

bool sameTree(const GumboNode* actualDocument, const ExpectedTree& expected) {
    if (!sameDoctype(actualDocument, expected.document)) return false;
    return sameNodes(page::childrenOf(actualDocument), expected.childrenOf(expected.document),
                     expected);
}

}  // namespace host::page
