// The page text seam over a string in memory, for pages edited without a window: the site
// update, the command line, and the checks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/page/page_text.h"

namespace host {

class MemoryPageText : public PageText {
public:
    explicit MemoryPageText(std::string text) : m_text(std::move(text)) {}

    std::string text() const override { return m_text; }
    void replace(std::size_t offset, std::size_t length, std::string_view replacement) override {
        m_text.replace(offset, length, replacement);
        ++m_revision;
    }
    std::uint64_t revision() const override { return m_revision; }
    const std::string& current() const { return m_text; }

protected:
    // A change that does not go through the document, as an author's typing is.
    void changeOutside(std::size_t offset, std::string_view text) {
        m_text.insert(offset, text);
        ++m_revision;
    }

private:
    std::string m_text;
    std::uint64_t m_revision = 1;
};

}  // namespace host
