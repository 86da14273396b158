#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "plot/Prim.h"

// The drawing's primitives in file order. The list owns them: they live in blocks of an arena
// (no allocation per record) and are destroyed, each through its virtual destructor, by Clear
// or the list's own destruction. Pointers stay valid while primitives are appended.
class PrimitiveList {
  public:
    PrimitiveList() = default;
    PrimitiveList(const PrimitiveList&) = delete;
    PrimitiveList& operator=(const PrimitiveList&) = delete;
    ~PrimitiveList() { Clear(); }

    template <class T, class... Args>
    T& Append(Args&&... args) {
        static_assert(alignof(T) <= 8, "arena alignment");
        ReserveSlot();  // before constructing, so a failed allocation leaks nothing
        void* place = Allocate(sizeof(T));
        T* prim = new (place) T(std::forward<Args>(args)...);
        m_chunks[m_count >> kChunkShift][m_count & (kChunkSize - 1)] = prim;
        ++m_count;
        return *prim;
    }

    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    void Clear();

    class const_iterator {
      public:
        const_iterator(const PrimitiveList* list, std::size_t index)
            : m_list(list), m_index(index) {}
        const Prim& operator*() const { return *m_list->At(m_index); }
        const Prim* operator->() const { return m_list->At(m_index); }
        const_iterator& operator++() {
            ++m_index;
            return *this;
        }
        bool operator!=(const const_iterator& o) const { return m_index != o.m_index; }
        bool operator==(const const_iterator& o) const { return m_index == o.m_index; }

      private:
        const PrimitiveList* m_list;
        std::size_t m_index;
    };
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, m_count); }

    const Prim* At(std::size_t index) const {
        return m_chunks[index >> kChunkShift][index & (kChunkSize - 1)];
    }

    // Walks the primitives in order; fn returns false to stop early.
    template <class Fn>
    void ForEach(Fn&& fn) const {
        std::size_t left = m_count;
        for (const auto& chunk : m_chunks) {
            std::size_t n = left < kChunkSize ? left : kChunkSize;
            for (std::size_t i = 0; i < n; ++i) {
                if (!fn(*chunk[i])) return;
            }
            left -= n;
        }
    }

  private:
    static constexpr std::size_t kBlockSize = 256 * 1024;
    static constexpr std::size_t kChunkShift = 12;
    static constexpr std::size_t kChunkSize = std::size_t(1) << kChunkShift;

    void* Allocate(std::size_t size) {
        size = (size + 7) & ~std::size_t(7);
        if (static_cast<std::size_t>(m_blockEnd - m_blockCur) < size) NewBlock(size);
        void* p = m_blockCur;
        m_blockCur += size;
        return p;
    }
    void ReserveSlot() {
        if ((m_count >> kChunkShift) == m_chunks.size())
            m_chunks.emplace_back(new Prim*[kChunkSize]);
    }
    void NewBlock(std::size_t atLeast);

    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_blockCur = nullptr;
    char* m_blockEnd = nullptr;
    std::vector<std::unique_ptr<Prim*[]>> m_chunks;
    std::size_t m_count = 0;
};
