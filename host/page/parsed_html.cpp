// Gumbo parses on a private arena, given up with an error when they cost too much.
#include "host/page/parsed_html.h"

#include <csetjmp>
#include <cstdlib>
#include <limits>
#include <new>
#include <vector>

#include "host/page/page_errors.h"

namespace host::page {

// Gumbo allocates many small blocks and frees them all at the end; a bump arena does that
// faster and lets a parse be dropped without walking its tree (gumbo's own destroy recurses
// once per nesting level, which a deep page turns into a stack overflow).
class ParsedHtml::Arena {
public:
    Arena(std::size_t memoryLimit, std::chrono::steady_clock::time_point deadline)
        : m_memoryLimit(memoryLimit), m_deadline(deadline) {}
    ~Arena() {
        for (char* block : m_blocks) std::free(block);
    }

    void* allocate(std::size_t size) {
        size = (size + kAlign - 1) & ~(kAlign - 1);
        if (size > m_left) newBlock(size);
        void* p = m_next;
        m_next += size;
        m_left -= size;
        if ((++m_calls & 0xFFF) == 0 && std::chrono::steady_clock::now() > m_deadline) {
            giveUp(Overrun::time);
        }
        return p;
    }

    enum class Overrun { none, time, memory, outOfMemory };
    std::jmp_buf escape;
    Overrun overrun = Overrun::none;

private:
    static constexpr std::size_t kAlign = alignof(std::max_align_t);
    static constexpr std::size_t kBlock = std::size_t(4) << 20;

    void newBlock(std::size_t size) {
        const std::size_t bytes = size > kBlock ? size : kBlock;
        if (m_reserved + bytes > m_memoryLimit) giveUp(Overrun::memory);
        auto* block = static_cast<char*>(std::malloc(bytes));
        if (!block) giveUp(Overrun::outOfMemory);
        m_blocks.push_back(block);
        m_reserved += bytes;
        m_next = block;
        m_left = bytes;
    }

    // Leaves the parser through the jump set up around it. Only C frames of gumbo and this
    // frame (nothing with a destructor) lie between; the arena owns all the parser's memory.
    [[noreturn]] void giveUp(Overrun why) {
        overrun = why;
        std::longjmp(escape, 1);
    }

    std::vector<char*> m_blocks;
    char* m_next = nullptr;
    std::size_t m_left = 0;
    std::size_t m_reserved = 0;
    std::size_t m_calls = 0;
    std::size_t m_memoryLimit;
    std::chrono::steady_clock::time_point m_deadline;
};

namespace {

void* arenaAllocate(void* arena, std::size_t size) {
    return static_cast<ParsedHtml::Arena*>(arena)->allocate(size);
}
void arenaFree(void*, void*) {}

// Kept free of objects with destructors: the arena may jump back into it.
GumboOutput* runParser(const GumboOptions* options, const char* data, std::size_t size,
                       std::jmp_buf* escape) {
    if (setjmp(*escape) != 0) return nullptr;
    return gumbo_parse_with_options(options, data, size);
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

std::unique_ptr<ParsedHtml> ParsedHtml::parse(std::string text, const ParseLimits& limits,
                                              FragmentContext fragment) {
    // Gumbo keeps offsets in 32 bits.
    if (text.size() >= std::numeric_limits<unsigned int>::max()) {
        fail(com::errc::overflow,
             "The page is too large to edit: " + std::to_string(text.size()) +
                 " bytes (the limit is 4 GB).",
             kDocumentSource);
    }
    std::unique_ptr<ParsedHtml> parsed(new ParsedHtml);
    parsed->m_text = std::move(text);
    const std::string& t = parsed->m_text;
    if (fragment.tag == GUMBO_TAG_LAST && std::string_view(t).starts_with(kByteOrderMark)) {
        parsed->m_skipped = kByteOrderMark.size();
    }
    const double megabytes = double(t.size()) / (1 << 20);
    const auto deadline = std::chrono::steady_clock::now() + limits.baseTime +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              limits.timePerMegabyte * megabytes);
    parsed->m_arena = std::make_unique<Arena>(
        limits.baseMemory + limits.memoryPerSourceByte * t.size(), deadline);

    GumboOptions options = kGumboDefaultOptions;
    options.allocator = arenaAllocate;
    options.deallocator = arenaFree;
    options.userdata = parsed->m_arena.get();
    options.max_errors = 0;  // parse errors are not used; recording them costs memory
    options.fragment_context = fragment.tag;
    options.fragment_namespace = fragment.ns;
    parsed->m_output = runParser(&options, t.data() + parsed->m_skipped,
                                 t.size() - parsed->m_skipped, &parsed->m_arena->escape);
    if (!parsed->m_output) {
        switch (parsed->m_arena->overrun) {
            case Arena::Overrun::outOfMemory: throw std::bad_alloc();
            case Arena::Overrun::memory:
                fail(com::errc::overflow,
                     "The page is too complex to edit: reading it needs more memory than "
                     "allowed (it may be nested too deeply).",
                     kDocumentSource);
            default:
                fail(com::errc::overflow,
                     "The page is too complex to edit: reading it takes longer than allowed "
                     "(it may be nested too deeply).",
                     kDocumentSource);
        }
    }
    return parsed;
}

ParsedHtml::~ParsedHtml() = default;

std::size_t ParsedHtml::offsetOf(const char* p) const {
    const char* begin = m_text.data();
    if (!p || p < begin || p > begin + m_text.size()) return std::string::npos;
    return static_cast<std::size_t>(p - begin);
}

}  // namespace host::page
