#include "plot/PrimitiveList.h"

#include <sys/mman.h>

#include <cstdlib>

namespace {
constexpr std::size_t kHugePage = 2 * 1024 * 1024;
}  // namespace

void PrimitiveList::FreeBlock::operator()(char* block) const {
    std::free(block);
}

void PrimitiveList::NewBlock(std::size_t atLeast) {
    std::size_t size = m_nextBlock;
    while (size < atLeast) size *= 2;
    if (m_nextBlock < kLargestBlock) m_nextBlock *= 2;
    if (m_blocks.size() == m_blocks.capacity()) m_blocks.reserve(2 * m_blocks.size() + 16);
    const bool huge = size >= kHugePage;
    void* block = huge ? std::aligned_alloc(kHugePage, size) : std::malloc(size);
    if (!block) throw std::bad_alloc();
    // Only advice: a kernel without huge pages, or with them switched off, ignores it.
    if (huge) ::madvise(block, size, MADV_HUGEPAGE);
    m_blocks.emplace_back(static_cast<char*>(block));
    m_blockCur = m_blocks.back().get();
    m_blockEnd = m_blockCur + size;
}

void PrimitiveList::Clear() {
    ForEach([](const Prim& prim) {
        prim.~Prim();
        return true;
    });
    m_chunks.clear();
    m_blocks.clear();
    m_nextBlock = kFirstBlock;
    m_blockCur = m_blockEnd = nullptr;
    m_count = 0;
}
