// A page text in memory that records its replacements and reads, for tests.
#pragma once

#include <string>
#include <vector>

#include "host/page/memory_page_text.h"

namespace host::testing {

class RecordingPageText : public MemoryPageText {
public:
    struct Replacement {
        std::size_t offset;
        std::size_t length;
        std::string text;
    };

    using MemoryPageText::MemoryPageText;

    std::string text() const override {
        ++m_reads;
        return MemoryPageText::text();
    }
    void replace(std::size_t offset, std::size_t length, std::string_view replacement) override {
        m_replacements.push_back({offset, length, std::string(replacement)});
        MemoryPageText::replace(offset, length, replacement);
    }
    // The author typing: changes the text without going through the document.
    void type(std::size_t offset, std::string_view text) { changeOutside(offset, text); }
    const std::vector<Replacement>& replacements() const { return m_replacements; }
    // How often the document read the whole text (it does so to parse it).
    int reads() const { return m_reads; }

private:
    std::vector<Replacement> m_replacements;
    mutable int m_reads = 0;
};

}  // namespace host::testing
