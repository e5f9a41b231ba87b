// Counting the elements with a given id by reading tags only, without building a tree.
#pragma once

#include <optional>
#include <string_view>

namespace host::site {

// How many elements of the page (bytes in an ASCII-compatible encoding) have `id` (ASCII)
// as their id, read from the start tags alone; nothing when tags alone cannot tell. It
// answers only where the answer is the page document's for certain: every occurrence of the
// id's bytes in the page is the whole value of the first `id` attribute of a start tag, in
// markup (not a comment, script or other raw text), and nothing in the page lets the tree
// builder drop, clone or hide such an element (templates, foreign content, select, frameset,
// formatting and table-part elements, forms, ...). A scan of many pages uses it to leave
// most of them unparsed.
std::optional<int> countIdTags(std::string_view page, std::string_view id);

}  // namespace host::site
