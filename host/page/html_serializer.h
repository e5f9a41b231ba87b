// Writes parsed nodes back as HTML text that parses to the same nodes.
#pragma once

#include <gumbo.h>

#include <span>
#include <string>

namespace host::page {

// HTML fragment serialization, as a browser's innerHTML getter writes it: attribute values
// in double quotes, text escaped, no end tags for void elements. `parent` is the element the
// nodes sit in (it decides whether text is raw, as in a script), or nullptr.
std::string serializeNodes(std::span<const GumboNode* const> nodes, const GumboNode* parent);

}  // namespace host::page
