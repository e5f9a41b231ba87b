// Where in the text an edit goes and which nodes it puts where in the tree.
#pragma once

#include <gumbo.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/page/body_end.h"
#include "host/page/parsed_html.h"
#include "host/page/source_order.h"

namespace host {
enum class AdjacentPosition;
}

namespace host::page {

struct EditPlan {
    std::size_t from = 0;  // the text [from, to) is replaced
    std::size_t to = 0;
    std::string prefix;                    // end tags to write before the new text
    // Appending to the body: the new text goes on a line of its own (see body_end.h).
    std::optional<BodyEnd> bodyEnd;
    const GumboNode* context = nullptr;    // the element the new HTML is parsed into
    const GumboNode* parent = nullptr;     // the element whose children change
    std::vector<const GumboNode*> before;  // its children that stay before the new nodes
    std::vector<const GumboNode*> after;   // and after them
    std::size_t firstShifted = 0;          // index of the first old child after the new nodes

    // The text to write for `html`: after `lead`, the prefix and `extra` (more end tags),
    // laid out on its own line when `ownLine` and the edit appends to the body.
    std::string text(std::string_view html, bool ownLine, std::string_view extra = {},
                     std::string_view lead = {}) const;
};

// For innerHTML (no position) or insertAdjacentHTML at `where` on `element`. Fails with a
// com::Error naming the element when its text offers no trustworthy place for the edit.
EditPlan planEdit(const ParsedHtml& page, const SourceOrder& order, const GumboNode* element,
                  std::optional<AdjacentPosition> where, const char* source);

}  // namespace host::page
