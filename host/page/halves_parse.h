// A large page parsed as two halves at once, on two threads, and joined into one tree.
//
// The text is split just before a start tag that follows an element's own end tag and
// white space. There the parser's state is fully described by the elements still open (when
// nothing before has left other state behind: formatting elements to reopen, a form, a
// template, moved nodes), so the second half parsed behind start tags for those elements
// gives the nodes that parsing the whole page gives. The first half's tree proves that state
// afterwards; where it does not, or the second half comes out otherwise than expected, the
// page is parsed whole instead.
#pragma once

#include <gumbo.h>

#include <chrono>
#include <cstddef>

#include "host/page/parsed_html.h"

namespace host::page {

// Parses `parsed.text()` (a whole page) into `parsed` in two halves, the split near `at`
// of the way through. False, with `parsed` left without a parse, when the page does not
// allow a sound split or a half ran over its limits.
bool parseInHalves(ParsedHtml& parsed, const GumboOptions& options, std::size_t memoryLimit,
                   std::chrono::steady_clock::time_point deadline, double at);

}  // namespace host::page
