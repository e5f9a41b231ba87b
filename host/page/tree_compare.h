// Whether a parsed page is exactly the tree expected after an edit.
#pragma once

#include <gumbo.h>

#include <span>
#include <vector>

namespace host::page {

// The expected tree: `document` as parsed, except that `parent` has `children` instead of
// its own (nodes of the page or of a parsed snippet).
struct ExpectedTree {
    const GumboNode* document = nullptr;
    const GumboNode* parent = nullptr;
    std::vector<const GumboNode*> children;
    // An element appended to the body: the line breaks around it fall where its text is
    // written, not where a DOM operation puts them. In the list that holds it, white-space
    // text next to it, and white space at the very end of the content before it (which the
    // white space after </body> joins in a browser), are not compared.
    const GumboNode* division = nullptr;

    std::span<const GumboNode* const> childrenOf(const GumboNode* node) const;
};

// Compares node by node what a DOM holds: kinds, names, namespaces, attributes in order and
// text, with adjacent text nodes taken together as a serialization writes them; around
// `expected.division` as said above.
bool sameTree(const GumboNode* actualDocument, const ExpectedTree& expected);
// The same for two lists of nodes and everything below them; `trimEnd` when white space at
// the very end of the lists (and down their last elements) is not compared.
bool sameNodes(std::span<const GumboNode* const> actual, std::span<const GumboNode* const> wanted,
               const ExpectedTree& expected, bool trimEnd = false);
// Whether white space at the very end of `wanted`'s content is not compared when `wanted`
// stands at `index` in `list` (a list of the expected tree, `trimEnd` as above): it is the
// last item before the division, or the last of a list whose end is not compared.
bool endNotCompared(std::span<const GumboNode* const> list, std::size_t index,
                    const ExpectedTree& expected, bool trimEnd);

}  // namespace host::page
