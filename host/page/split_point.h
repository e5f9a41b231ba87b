// Where a page is split for parsing in halves, and what the second half is parsed behind,
// read from the text alone (the first half's tree proves it afterwards).
#pragma once

#include <gumbo.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host::page {

struct SplitPoint {
    std::size_t endTagBegin = 0;  // the element's end tag before the split
    std::size_t endTagEnd = 0;
    std::size_t at = 0;  // where the second half begins: a start tag
    GumboTag endTag = GUMBO_TAG_UNKNOWN;
};

// The first place at or after `from` (within 64 KB) where a start tag follows the end tag of a
// block element and white space.
std::optional<SplitPoint> findSplit(std::string_view text, std::size_t from);

// A quick reading of the first half: the elements it leaves open, as far as elements that
// are rarely closed implicitly go, or nothing when it holds markup after which splitting is
// not worth trying (unclosed formatting elements or forms, templates, foreign content, ...).
std::optional<std::vector<GumboTag>> guessOpenElements(std::string_view firstHalf);

// Whether gumbo reads the page in quirks mode, from its doctype alone.
bool readsInQuirksMode(std::string_view text);

// The column gumbo counts at `at` (lines end at LF or CR; columns count characters, a tab
// moving on to the next multiple of 8).
unsigned columnAt(std::string_view text, std::size_t at);

// A document start that leaves the parser inside `open` (below the body), padded so that the
// text after it starts at `column` modulo 8: tabs then move on to the same stops.
std::string reopeningPrefix(bool quirks, const std::vector<GumboTag>& open, unsigned column);

}  // namespace host::page
