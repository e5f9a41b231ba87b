// The character encoding a page declares in a <meta> element, found the way browsers find
// it before they parse the page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace host {

struct DeclaredCharset {
    // The encoding's name as browsers know it ("windows-1250", "ISO-8859-2", "UTF-8").
    std::string_view name;
    // False for an encoding browsers know but the editor cannot convert; the page is then
    // refused rather than shown in another encoding.
    bool convertible = true;
    std::string label;  // as the page wrote it, in lower case
};

// The encoding that the labels browsers know give `label` (case and surrounding white
// space ignored), or nothing for a label they ignore.
std::optional<DeclaredCharset> encodingForLabel(std::string_view label);

// The encoding named by the first <meta charset> or <meta http-equiv="Content-Type">
// within the first 1024 bytes, skipping comments and labels browsers ignore. A declared
// UTF-16 reads as UTF-8 here, as browsers read it: bytes without a byte order mark are not
// UTF-16.
std::optional<DeclaredCharset> declaredCharset(std::string_view bytes);

}  // namespace host
