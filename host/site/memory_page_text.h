// The page text seam over a string in memory, for pages edited without a window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/page/page_text.h"

namespace host::site {

class MemoryPageText final : public PageText {
public:
    explicit MemoryPageText(std::string text) : m_text(std::move(text)) {}

    std::string text() const override { return m_text; }
    void replace(std::size_t offset, std::size_t length, std::string_view replacement) override {
        m_text.replace(offset, length, replacement);
        ++m_revision;
    }
    std::uint64_t revision() const override { return m_revision; }

private:
    std::string m_text;
    std::uint64_t m_revision = 1;
};

}  // namespace host::site
