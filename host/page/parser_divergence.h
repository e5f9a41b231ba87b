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
// (gumbo drops it), treat <search> and <dialog> as blocks that end an open <p> and close
// what is open inside them at their end tags (gumbo reads both as unknown inline elements),
// and read <isindex> as an unknown element (gumbo expands it into a form, or drops it inside
// one). Edits in such a page cannot be checked against the tree a browser builds.
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
    struct Finding {
        std::string what;
        std::size_t at = std::string::npos;  // where it is; npos: the element's start tag
    };
    std::optional<Finding> check(const GumboNode* element) const;

    const ParsedHtml& m_page;
    std::optional<std::string> m_finding;
};

}  // namespace host::page
