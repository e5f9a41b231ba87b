// Gumbo on a private arena.
#include "host/page/parse_arena.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <new>

namespace host::page {
namespace {

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
    for (const Block& block : m_blocks) munmap(block.data, block.size);
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
    // Fresh pages from the system, zeroed (gumbo leaves some fields unwritten on some paths);
    // large blocks on huge pages where the system allows, which spares a parse most of its
    // page faults (about a tenth of its time).
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
