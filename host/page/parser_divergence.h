// Markup that gumbo reads differently from current browsers.
#pragma once

#include <gumbo.h>

#include <optional>
#include <string>
#include <vector>

#include "host/page/parsed_html.h"

namespace host::page {

// What in the page a current browser parses into another tree than gumbo does, described
// for the author, or nothing. Browsers now keep markup other than options inside <select>
// (gumbo drops it), treat <search> as a block (gumbo as an unknown inline element) and no
// longer expand <isindex> into a form. Edits in such a page cannot be checked against the
// tree a browser builds.
std::optional<std::string> readsUnlikeBrowsers(const ParsedHtml& page,
                                               const std::vector<const GumboNode*>& elements);

}  // namespace host::page
