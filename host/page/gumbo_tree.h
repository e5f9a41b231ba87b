// Small read helpers over gumbo's tree: children, names, positions in the tree.
#pragma once

#include <gumbo.h>

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace host::page {

inline bool isElement(const GumboNode* n) {
    return n->type == GUMBO_NODE_ELEMENT || n->type == GUMBO_NODE_TEMPLATE;
}
inline bool isTextLike(const GumboNode* n) {
    return n->type == GUMBO_NODE_TEXT || n->type == GUMBO_NODE_WHITESPACE;
}
inline bool isHtml(const GumboNode* n, GumboTag tag) {
    return isElement(n) && n->v.element.tag == tag &&
           n->v.element.tag_namespace == GUMBO_NAMESPACE_HTML;
}

// Elements whose text a serializer writes unescaped (script, style, ...).
bool writesTextRaw(const GumboNode* element);
// Elements whose text the tokenizer reads up to their own end tag, so that it may hold
// anything that looks like markup (the above, and textarea and title).
bool readsTextLiterally(const GumboNode* element);

// Formatting elements, which the parser reopens after misnested markup (HTML namespace).
bool isFormatting(const GumboNode* element);

// Elements that never have content (HTML namespace).
bool isVoid(const GumboNode* element);

std::span<const GumboNode* const> childrenOf(const GumboNode* n);

// The element's local name in lower case (unknown tags by their written name).
std::string lowerName(const GumboNode* element);
// The name as a serializer writes it (SVG names in their mixed case).
std::string serializedName(const GumboNode* element);
// The value of an attribute (by lower-case name), or nullptr.
const char* attributeValue(const GumboNode* element, const char* name);

// Source text as the tokenizer hands it on as characters, for plain text only: line breaks
// become LF. Nothing for text with character references, NUL or markup.
std::optional<std::string> decodePlainText(std::string_view source);

// Position of a node: the child index at each level below the document node.
using TreePath = std::vector<std::size_t>;
TreePath pathOf(const GumboNode* node);
const GumboNode* nodeAt(const GumboNode* document, const TreePath& path);

// Every element of the document in document order. Template contents are not in the
// document, as in a browser: lookups do not find what a <template> holds.
std::vector<const GumboNode*> elementsInOrder(const GumboNode* document);
// Calls visit(element) for each of them, in the same order, without building the list.
template <class Visit>
void forEachElement(const GumboNode* document, Visit&& visit) {
    std::vector<const GumboNode*> pending{document};
    pending.reserve(256);
    while (!pending.empty()) {
        const GumboNode* n = pending.back();
        pending.pop_back();
        if (isElement(n)) visit(n);
        if (n->type == GUMBO_NODE_TEMPLATE) continue;
        auto kids = childrenOf(n);
        for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
            if (isElement(*it)) pending.push_back(*it);
        }
    }
}

}  // namespace host::page
