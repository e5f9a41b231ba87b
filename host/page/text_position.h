// Line and column of a byte offset in the page text, for messages to the author.
#pragma once

#include <gumbo.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace host::page {

// Line and column of a byte offset, both counted from 1, the column in characters (UTF-8
// lead bytes); an offset past the end counts as the end.
struct LineColumn {
    int line = 1;
    int column = 1;
};
LineColumn lineColumnOf(std::string_view text, std::size_t offset);

// "line 12, column 3": lines and columns counted from 1, columns in characters.
std::string lineAndColumn(std::string_view text, std::size_t offset);

class ParsedHtml;
// An element as the author finds it in the text: "the <p id="x"> at line 8, column 1".
std::string placeOf(const ParsedHtml& page, const GumboNode* element);

}  // namespace host::page
