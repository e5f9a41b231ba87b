// Why an edit is refused, in the author's terms: the construct that stands in the way, where
// it starts, that the page was not changed, and what to do.
#pragma once

#include <gumbo.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "host/page/edit_plan.h"
#include "host/page/parsed_html.h"

namespace host::page {

// `elements`: the page's elements in document order. `inserted`: the new HTML's top-level
// nodes. `how`: "inside", "before" or "after".
std::string refusal(const ParsedHtml& page, const std::vector<const GumboNode*>& elements,
                    const GumboNode* element, const char* how, const EditPlan& plan,
                    const std::vector<const GumboNode*>& inserted);

}  // namespace host::page
