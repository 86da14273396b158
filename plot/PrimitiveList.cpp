#include "plot/PrimitiveList.h"

void PrimitiveList::NewBlock(std::size_t atLeast) {
    std::size_t size = atLeast > kBlockSize ? atLeast : kBlockSize;
    m_blocks.emplace_back(new char[size]);
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
    m_blockCur = m_blockEnd = nullptr;
    m_count = 0;
}
