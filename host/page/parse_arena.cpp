// Gumbo on a private arena.
#include "host/page/parse_arena.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <new>
#include <optional>
#include <vector>

namespace host::page {
namespace {

// Blocks of finished parses, kept for the next ones on the same thread: a fresh block costs
// a page fault and the kernel's zeroing of every page touched (on huge pages, 2 MB at a
// time), which took a quarter of a 1 MB insertion's time; a kept one is zeroed only as far as
// it was written. Each thread has its own, given back to the system when the thread ends;
// a parse made on one thread and dropped on another leaves its blocks to the second.
class KeptBlocks {
public:
    struct Entry {
        char* data;
        std::size_t size;
        std::size_t used;
    };
    KeptBlocks() = default;
    KeptBlocks(const KeptBlocks&) = delete;
    KeptBlocks& operator=(const KeptBlocks&) = delete;
    ~KeptBlocks() { setLimit(0); }

    // A kept block of at least `bytes` and at most twice that, or nothing: a small page's
    // parse takes no more memory than it would from the system.
    std::optional<Entry> take(std::size_t bytes) {
        auto best = m_entries.end();
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->size >= bytes && it->size / 2 <= bytes &&
                (best == m_entries.end() || it->size < best->size)) {
                best = it;
            }
        }
        if (best == m_entries.end()) return std::nullopt;
        const Entry entry = *best;
        m_entries.erase(best);
        m_bytes -= entry.size;
        return entry;
    }
    // Keeps the block while the limit allows; else gives it back to the system.
    void give(const Entry& entry) {
        if (m_bytes + entry.size <= limit()) {
            try {
                m_entries.push_back(entry);
                m_bytes += entry.size;
                return;
            } catch (const std::bad_alloc&) {
            }
        }
        munmap(entry.data, entry.size);
    }
    void setLimit(std::size_t bytes) {
        while (m_bytes > bytes) {
            munmap(m_entries.back().data, m_entries.back().size);
            m_bytes -= m_entries.back().size;
            m_entries.pop_back();
        }
    }
    static std::atomic<std::size_t>& limit() {
        static std::atomic<std::size_t> bytes{ParseArena::kKeptBytes};
        return bytes;
    }

private:
    std::vector<Entry> m_entries;
    std::size_t m_bytes = 0;
};

KeptBlocks& keptBlocks() {
    thread_local KeptBlocks kept;
    return kept;
}

void* arenaAllocate(void* arena, std::size_t size) {
    return static_cast<ParseArena*>(arena)->allocate(size);
}
void arenaFree(void*, void*) {}

// Kept free of objects with destructors: the arena may jump back into it.
GumboOutput* runParser(const GumboOptions* options, const char* data, std::size_t size,
                       std::jmp_buf* escape) {
    if (setjmp(*escape) != 0) return nullptr;
    return gumbo_parse_with_options(options, data, size);
}

}  // namespace

std::chrono::nanoseconds ParseArena::threadCpuTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

ParseArena::~ParseArena() {
    if (!m_blocks.empty()) m_blocks.back().used = m_blocks.back().size - m_left;
    for (const Block& block : m_blocks) keptBlocks().give({block.data, block.size, block.used});
}

void ParseArena::setKeptBytesLimit(std::size_t bytes) {
    KeptBlocks::limit() = bytes;
    keptBlocks().setLimit(bytes);
}

GumboOutput* ParseArena::run(GumboOptions options, const char* data, std::size_t size) {
    if (m_blocks.empty()) {
        m_blockSize = std::clamp(std::min(size, kBlock / kBlockPerPageByte) * kBlockPerPageByte,
                                 kSmallestBlock, kBlock);
    }
    options.allocator = arenaAllocate;
    options.deallocator = arenaFree;
    options.userdata = this;
    return runParser(&options, data, size, &m_escape);
}

void ParseArena::newBlock(std::size_t size) {
    const std::size_t bytes = std::max(size, m_blockSize);
    if (m_reserved + bytes > m_memoryLimit) giveUp(Overrun::memory);
    if (!addBlock(bytes)) giveUp(Overrun::outOfMemory);
}

char* ParseArena::addBlock(std::size_t bytes) {
    // The memory must be zeroed: gumbo leaves some fields unwritten on some paths.
    if (!m_blocks.empty()) m_blocks.back().used = m_blocks.back().size - m_left;
    if (const auto kept = keptBlocks().take(bytes)) {
        std::memset(kept->data, 0, kept->used);
        return useBlock(kept->data, kept->size);
    }
    // Fresh pages from the system, zeroed by it; large blocks on huge pages where the system
    // allows, which spares a parse most of its page faults.
    constexpr std::size_t kHugePage = std::size_t(2) << 20;
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    bytes = (bytes + page - 1) / page * page;
    const bool huge = bytes >= kHugePage;
    const std::size_t mapped = bytes + (huge ? kHugePage : 0);
    void* map = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) return nullptr;
    auto* block = static_cast<char*>(map);
    if (huge) {
        // Aligned to a huge page, the rest given back.
        const auto at = reinterpret_cast<std::uintptr_t>(map);
        block = static_cast<char*>(map) + ((kHugePage - at % kHugePage) % kHugePage);
        if (block != map) munmap(map, static_cast<std::size_t>(block - static_cast<char*>(map)));
        char* tail = block + bytes;
        const std::size_t tailSize = static_cast<std::size_t>(static_cast<char*>(map) + mapped - tail);
        if (tailSize) munmap(tail, tailSize);
        madvise(block, bytes, MADV_HUGEPAGE);
    }
    return useBlock(block, bytes);
}

char* ParseArena::useBlock(char* block, std::size_t bytes) {
    m_blocks.push_back({block, bytes});
    m_reserved += bytes;
    m_next = block;
    m_left = bytes;
    m_blockSize = std::min(m_blockSize * 2, kBlock);
    return block;
}

void* ParseArena::allocateAfterParse(std::size_t size) {
    size = (size + kAlign - 1) & ~(kAlign - 1);
    if (size > m_left && !addBlock(std::max(size, m_blockSize))) throw std::bad_alloc();
    void* p = m_next;
    m_next += size;
    m_left -= size;
    return p;
}

void ParseArena::giveUp(Overrun why) {
    m_overrun = why;
    std::longjmp(m_escape, 1);
}

}  // namespace host::page
