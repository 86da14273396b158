#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "plot/Prim.h"

// The drawing's primitives in file order. The list owns them: they live in blocks of an arena
// (no allocation per record) and go with the list's Clear or destruction. Pointers stay valid
// while primitives are appended. Only the kinds that own memory of their own (OwnsMemory) are
// destroyed one by one; the others hold plain numbers, so freeing the blocks is all they need,
// and closing a drawing of millions of lines takes no time.
//
// Blocks double from 256 KB to 8 MB, so a small drawing stays small and a large one costs few
// allocations; blocks of 2 MB and more are aligned for, and offered to, transparent huge pages,
// which spares a 10-million-record load most of its page faults. The index of primitives lives
// in the arena too.
class PrimitiveList {
  public:
    PrimitiveList() = default;
    PrimitiveList(const PrimitiveList&) = delete;
    PrimitiveList& operator=(const PrimitiveList&) = delete;
    ~PrimitiveList() { Clear(); }

    template <class T, class... Args>
    T& Append(Args&&... args) {
        static_assert(alignof(T) <= 8, "arena alignment");
        // Room first, then the primitive, so a failed allocation leaks nothing.
        if ((m_count & (kChunkSize - 1)) == 0) NewChunk();
        if constexpr (OwnsMemory<T>::value) {
            if (m_owners.size() == m_owners.capacity()) m_owners.reserve(2 * m_owners.size() + 16);
        }
        void* place = Allocate(sizeof(T));
        T* prim = new (place) T(std::forward<Args>(args)...);
        if constexpr (OwnsMemory<T>::value) m_owners.push_back(prim);
        m_chunks[m_count >> kChunkShift][m_count & (kChunkSize - 1)] = prim;
        ++m_count;
        return *prim;
    }

    // Gives the kernel back the untouched rest of the block being filled, which a huge page
    // brought in whole. Appending later simply touches it again. For the end of a load.
    void ReleaseUnusedTail();

    // Moves every primitive of other to the end of this, leaving other empty: an Insert read
    // into a list of its own off the window's thread joins the drawing on it without copying.
    // All or nothing: a failed allocation leaves both lists as they were.
    void AppendAll(PrimitiveList& other);

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
    // The kinds whose destructor frees something: a new kind with a member that owns memory
    // belongs here.
    template <class T>
    struct OwnsMemory : std::is_same<T, Symbole> {};

    static constexpr std::size_t kFirstBlock = 256 * 1024;
    static constexpr std::size_t kLargestBlock = 8 * 1024 * 1024;
    static constexpr std::size_t kChunkShift = 12;
    static constexpr std::size_t kChunkSize = std::size_t(1) << kChunkShift;

    void* Allocate(std::size_t size) {
        size = (size + 7) & ~std::size_t(7);
        if (static_cast<std::size_t>(m_blockEnd - m_blockCur) < size) NewBlock(size);
        void* p = m_blockCur;
        m_blockCur += size;
        return p;
    }
    void NewChunk() {
        if ((m_count >> kChunkShift) < m_chunks.size()) return;
        if (m_chunks.size() == m_chunks.capacity()) m_chunks.reserve(2 * m_chunks.size() + 16);
        m_chunks.push_back(static_cast<Prim**>(Allocate(kChunkSize * sizeof(Prim*))));
    }
    void NewBlock(std::size_t atLeast);

    struct FreeBlock {
        std::size_t alignment;
        void operator()(char* block) const;
    };
    std::vector<std::unique_ptr<char, FreeBlock>> m_blocks;
    std::size_t m_nextBlock = kFirstBlock;
    char* m_blockCur = nullptr;
    char* m_blockEnd = nullptr;
    std::vector<Prim**> m_chunks;  // kChunkSize pointers each, in the arena
    std::vector<Prim*> m_owners;   // the primitives of the kinds that own memory
    std::size_t m_count = 0;
};

// A drawing's records as background work reads them: shared read-only, so the window may go on
// painting them, and a document closed or reloaded meanwhile lets go of its own share only.
using SharedRecords = std::shared_ptr<const PrimitiveList>;
