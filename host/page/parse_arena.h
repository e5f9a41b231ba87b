// The memory of one gumbo parse, and the parse itself, given up when it costs too much.
#pragma once

#include <gumbo.h>

#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstddef>
#include <vector>

namespace host::page {

// Gumbo allocates many small blocks and frees them all at the end; a bump arena does that
// faster and lets a parse be dropped without walking its tree (gumbo's own destroy recurses
// once per nesting level, which a deep page turns into a stack overflow).
class ParseArena {
public:
    // The time limit counts the CPU time of the thread that makes the arena, from then on:
    // what a hostile page costs, not how long a busy machine keeps the parse waiting. Made
    // and run on the same thread.
    ParseArena(std::size_t memoryLimit, std::chrono::nanoseconds cpuTimeLimit)
        : m_memoryLimit(memoryLimit), m_cpuDeadline(threadCpuTime() + cpuTimeLimit) {
        // Room for every block the limit allows (and the smaller first ones), so that no
        // allocation of the list itself can throw through gumbo's frames.
        m_blocks.reserve(std::min(memoryLimit / kBlock + 2 + kGrowthSteps, std::size_t(1) << 16));
    }
    ~ParseArena();
    ParseArena(const ParseArena&) = delete;
    ParseArena& operator=(const ParseArena&) = delete;

    void* allocate(std::size_t size) {
        size = (size + kAlign - 1) & ~(kAlign - 1);
        if (size > m_left) newBlock(size);
        void* p = m_next;
        m_next += size;
        m_left -= size;
        if ((++m_calls & 0xFFF) == 0 && threadCpuTime() > m_cpuDeadline) {
            giveUp(Overrun::time);
        }
        return p;
    }

    // For changes to the tree after the parse: no limits apply, and running out of memory
    // throws std::bad_alloc.
    void* allocateAfterParse(std::size_t size);

    enum class Overrun { none, time, memory, outOfMemory };
    Overrun overrun() const { return m_overrun; }
    // The CPU time the calling thread has used so far.
    static std::chrono::nanoseconds threadCpuTime();
    // The memory taken from the system so far.
    std::size_t reserved() const { return m_reserved; }

    // Runs gumbo on this arena; nothing when the parse ran over its limits (see overrun()).
    GumboOutput* run(GumboOptions options, const char* data, std::size_t size);

    // How much memory of finished parses each thread keeps for its next ones (kKeptBytes
    // unless set; 0 gives the calling thread's blocks back to the system at once, and those
    // of other threads as they are next given back).
    static constexpr std::size_t kKeptBytes = std::size_t(64) << 20;
    static void setKeptBytesLimit(std::size_t bytes);

private:
    static constexpr std::size_t kAlign = alignof(std::max_align_t);
    // Blocks start near what the page's parse needs (several times its size) and double up
    // to kBlock: zeroing a large block costs more than parsing a small page in it.
    static constexpr std::size_t kBlock = std::size_t(4) << 20;
    static constexpr std::size_t kSmallestBlock = std::size_t(64) << 10;
    static constexpr std::size_t kBlockPerPageByte = 24;
    static constexpr std::size_t kGrowthSteps = 6;  // kSmallestBlock doubled up to kBlock

    void newBlock(std::size_t size);
    char* addBlock(std::size_t size);
    char* useBlock(char* block, std::size_t size);
    // Leaves the parser through the jump set up around it. Only C frames of gumbo and this
    // frame (nothing with a destructor) lie between; the arena owns all the parser's memory.
    [[noreturn]] void giveUp(Overrun why);

    std::jmp_buf m_escape;
    Overrun m_overrun = Overrun::none;
    struct Block {
        char* data;
        std::size_t size;
        std::size_t used = 0;  // written from the start, so zeroed again before reuse
    };
    std::vector<Block> m_blocks;
    char* m_next = nullptr;
    std::size_t m_left = 0;
    std::size_t m_reserved = 0;
    std::size_t m_blockSize = kBlock;  // of the next block
    std::size_t m_calls = 0;
    std::size_t m_memoryLimit;
    std::chrono::nanoseconds m_cpuDeadline;
};

}  // namespace host::page
