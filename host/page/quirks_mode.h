// Whether a page's doctype puts browsers into quirks mode.
#pragma once

#include <optional>
#include <string_view>

namespace host::page {

// Where the doctype's name is written and whether its identifiers call for quirks mode by
// the current HTML rules. Gumbo applies no identifier rule (it leaves legacy doctypes such
// as HTML 4.0 Transitional in standards mode), and quirks mode changes the tree: a <table>
// then stays inside an open <p>.
struct LegacyDoctype {
    std::size_t nameAt = 0;  // offset of the doctype name's last character
};
// Nothing when the page has no doctype first, or one that gumbo already reads right.
std::optional<LegacyDoctype> legacyQuirksDoctype(std::string_view text);

}  // namespace host::page
