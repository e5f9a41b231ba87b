// Parses a snippet the way a browser parses it into a given element of the page.
#pragma once

#include <gumbo.h>

#include <memory>
#include <string>
#include <vector>

#include "host/page/parsed_html.h"

namespace host::page {

struct Fragment {
    std::unique_ptr<ParsedHtml> parse;
    std::vector<const GumboNode*> nodes;  // the snippet's top-level nodes, in order
};

// The nodes a browser's fragment parsing makes of `html` with `context` (an element of
// `page`) as the context element: the page's quirks mode and an enclosing form are taken
// into account, as the browser does. Contexts whose parsing is not modelled here (head,
// select, template, raw text, SVG and MathML) fail with a com::Error that names them.
Fragment parseFragment(const ParsedHtml& page, const GumboNode* context, const std::string& html,
                       const ParseLimits& limits, const char* source);

}  // namespace host::page
