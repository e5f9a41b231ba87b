// The source text of one open page, as the page's HTML document reads and edits it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace host {

// The editor owns the text (and its undo history); the document object reads it and
// changes it only through this seam. Text is UTF-8 whatever the file's own encoding.
class PageText {
public:
    virtual ~PageText() = default;

    virtual std::string text() const = 0;
    // Replaces `length` bytes at byte `offset` with `replacement`, as one undo step.
    virtual void replace(std::size_t offset, std::size_t length, std::string_view replacement) = 0;
    // Changes whenever the text changes, by this seam or by the author typing; lets the
    // document keep one parse until the text moves on.
    virtual std::uint64_t revision() const = 0;
};

}  // namespace host
