// Markup that gumbo reads differently from current browsers.
#pragma once

#include <gumbo.h>

#include <optional>
#include <string>
#include <vector>

#include "host/page/parsed_html.h"

namespace host::page {

// What in the page a current browser parses into another tree than gumbo does, described
// for the author. Browsers now keep markup other than options inside <select>
// (gumbo drops it), treat <search> as a block and end an open <p> at <dialog> (gumbo reads
// both as unknown inline elements) and no longer expand <isindex> into a form. Edits in such a page cannot be checked against the
// tree a browser builds.
// Fed every element in document order; keeps the first finding.
class DivergenceScan {
public:
    explicit DivergenceScan(const ParsedHtml& page) : m_page(page) {}
    void visit(const GumboNode* element);
    // Comments too: browsers read "<?name" as a processing instruction, which the end of
    // the page drops where gumbo keeps a comment.
    void visitComment(const GumboNode* comment);
    const std::optional<std::string>& finding() const { return m_finding; }

private:
    std::optional<std::string> check(const GumboNode* element) const;

    const ParsedHtml& m_page;
    std::optional<std::string> m_finding;
};

}  // namespace host::page
