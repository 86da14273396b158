#include "plot/PrimitiveList.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <new>

void PrimitiveList::FreeBlock::operator()(char* block) const {
    ::operator delete(block, std::align_val_t(alignment));
}

void PrimitiveList::NewBlock(std::size_t atLeast) {
    std::size_t size = m_nextBlock;
    while (size < atLeast) size *= 2;
    if (m_nextBlock < kLargestBlock) m_nextBlock *= 2;
    if (m_blocks.size() == m_blocks.capacity()) m_blocks.reserve(2 * m_blocks.size() + 16);
    const bool huge = size >= kHugePage;
    const std::size_t alignment = huge ? kHugePage : alignof(std::max_align_t);
    auto* block = static_cast<char*>(::operator new(size, std::align_val_t(alignment)));
    // Only advice: a kernel without huge pages, or with them switched off, ignores it.
    if (huge) ::madvise(block, size, MADV_HUGEPAGE);
    m_blocks.emplace_back(block, FreeBlock{alignment});
    m_blockCur = m_blocks.back().get();
    m_blockEnd = m_blockCur + size;
}

void PrimitiveList::ReleaseUnusedTail() {
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto from = (reinterpret_cast<std::uintptr_t>(m_blockCur) + page - 1) & ~(page - 1);
    const auto to = reinterpret_cast<std::uintptr_t>(m_blockEnd);
    // Only the huge blocks are whole pages of their own; the small ones share malloc's pages.
    if (m_blocks.empty() || m_blocks.back().get_deleter().alignment != kHugePage || from >= to) {
        return;
    }
    ::madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
}

void PrimitiveList::AppendLineRecords(const std::uint8_t* records, std::size_t n) {
    while (n > 0) {
        const std::size_t at = m_count & (kChunkSize - 1);
        if (at == 0) NewChunk();
        const std::size_t take = n < kChunkSize - at ? n : kChunkSize - at;
        std::memcpy(&m_chunks[m_count >> kChunkShift][at], records, take * sizeof(Slot));
        records += take * sizeof(Slot);
        m_count += take;
        n -= take;
    }
}

void PrimitiveList::AppendAll(PrimitiveList& other) {
    if (other.m_count == 0) return;
    // Every allocation first (spare chunks are harmless); then nothing can fail.
    const std::size_t chunks = (m_count + other.m_count + kChunkSize - 1) >> kChunkShift;
    if (m_chunks.capacity() < chunks) m_chunks.reserve(chunks);
    while (m_chunks.size() < chunks) {
        m_chunks.push_back(static_cast<Slot*>(Allocate(kChunkSize * sizeof(Slot))));
    }
    m_owners.reserve(m_owners.size() + other.m_owners.size());
    m_blocks.reserve(m_blocks.size() + other.m_blocks.size());
    for (std::size_t i = 0; i < other.m_count; ++i, ++m_count) {
        m_chunks[m_count >> kChunkShift][m_count & (kChunkSize - 1)] =
            other.m_chunks[i >> kChunkShift][i & (kChunkSize - 1)];
    }
    m_owners.insert(m_owners.end(), other.m_owners.begin(), other.m_owners.end());
    // In front: the last block stays the one being filled (ReleaseUnusedTail).
    m_blocks.insert(m_blocks.begin(), std::make_move_iterator(other.m_blocks.begin()),
                    std::make_move_iterator(other.m_blocks.end()));
    other.m_blocks.clear();
    other.m_chunks.clear();
    other.m_owners.clear();
    other.m_count = 0;
    other.m_blockCur = other.m_blockEnd = nullptr;
    other.m_nextBlock = kFirstBlock;
}

void PrimitiveList::Clear() {
    for (Prim* prim : m_owners) prim->~Prim();
    m_owners.clear();
    m_chunks.clear();
    m_blocks.clear();
    m_nextBlock = kFirstBlock;
    m_blockCur = m_blockEnd = nullptr;
    m_count = 0;
}
