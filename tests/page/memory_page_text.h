// A page text held in memory that records its replacements, for tests and the tools.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/page/page_text.h"

namespace host::testing {

class MemoryPageText : public PageText {
public:
    struct Replacement {
        std::size_t offset;
        std::size_t length;
        std::string text;
    };

    explicit MemoryPageText(std::string text) : m_text(std::move(text)) {}

    std::string text() const override {
        ++m_reads;
        return m_text;
    }
    void replace(std::size_t offset, std::size_t length, std::string_view replacement) override {
        m_text.replace(offset, length, replacement);
        m_replacements.push_back({offset, length, std::string(replacement)});
        ++m_revision;
    }
    std::uint64_t revision() const override { return m_revision; }

    // The author typing: changes the text without going through the document.
    void type(std::size_t offset, std::string_view text) {
        m_text.insert(offset, text);
        ++m_revision;
    }
    const std::string& current() const { return m_text; }
    const std::vector<Replacement>& replacements() const { return m_replacements; }
    // How often the document read the whole text (it does so to parse it).
    int reads() const { return m_reads; }

private:
    std::string m_text;
    std::uint64_t m_revision = 1;
    std::vector<Replacement> m_replacements;
    mutable int m_reads = 0;
};

}  // namespace host::testing
