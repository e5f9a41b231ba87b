// Gumbo on a private arena.
#include "host/page/parse_arena.h"

#include <algorithm>
#include <cstdlib>
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

ParseArena::~ParseArena() {
    for (char* block : m_blocks) std::free(block);
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
    // Zeroed: gumbo leaves some fields unwritten on some paths (and fresh pages from the
    // system cost nothing to zero).
    auto* block = static_cast<char*>(std::calloc(1, bytes));
    if (!block) return nullptr;
    m_blocks.push_back(block);
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
