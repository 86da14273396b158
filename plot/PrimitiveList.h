#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "plot/Archive.h"
#include "plot/Prim.h"

// The drawing's primitives in file order. Every record has a slot of 12 bytes. A line record, by
// far the most common kind, lives in its slot alone, byte for byte as the file holds it, and is
// expanded into a Ligne when it is read; so runs of lines go between file and list as plain
// copies (AppendLineRecords, ForEachRun). The other kinds live in blocks of an arena (no
// allocation per record), their slot pointing there. The list owns them: they go with the
// list's Clear or destruction. Only the kinds that own memory of their own (OwnsMemory) are
// destroyed one by one; the others hold plain numbers, so freeing the blocks is all they need,
// and closing a drawing of millions of lines takes no time.
//
// A record read from the list is valid as long as what handed it out: the iterator until it
// moves on, the PrimRef that At returns, the call of ForEach's function. Several threads may read
// one list at once.
//
// Blocks double from 256 KB to 8 MB, so a small drawing stays small and a large one costs few
// allocations; blocks of 2 MB and more are aligned for, and offered to, transparent huge pages,
// which spares a 10-million-record load most of its page faults. The slots live in the arena too.
class PrimitiveList {
  public:
    PrimitiveList() = default;
    PrimitiveList(const PrimitiveList&) = delete;
    PrimitiveList& operator=(const PrimitiveList&) = delete;
    ~PrimitiveList() { Clear(); }

    template <class T, class... Args>
    void Append(Args&&... args) {
        static_assert(alignof(T) <= 8, "arena alignment");
        if constexpr (std::is_same<T, Ligne>::value) {
            AppendLine(std::forward<Args>(args)...);
        } else {
            AppendObject<T>(std::forward<Args>(args)...);
        }
    }

    // Appends n line records as the file holds them, kRecordSize bytes each, every one starting
    // with the line code (the caller checked).
    void AppendLineRecords(const std::uint8_t* records, std::size_t n);

    // A hint before reading an input of this many bytes: a large one is stored in huge pages
    // from its first record on, sparing it the small blocks' page faults (costly each).
    void ExpectInput(std::uint64_t bytes) {
        if (bytes >= kHugePage && m_nextBlock < kHugePage) m_nextBlock = kHugePage;
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

    // Room for a line record expanded from its slot.
    struct LineRoom {
        alignas(Ligne) unsigned char bytes[sizeof(Ligne)];
    };

    class const_iterator {
      public:
        const_iterator(const PrimitiveList* list, std::size_t index)
            : m_list(list), m_index(index) {}
        const Prim& operator*() const { return m_list->Expand(m_index, m_room); }
        const Prim* operator->() const { return &**this; }
        const_iterator& operator++() {
            ++m_index;
            return *this;
        }
        bool operator!=(const const_iterator& o) const { return m_index != o.m_index; }
        bool operator==(const const_iterator& o) const { return m_index == o.m_index; }

      private:
        const PrimitiveList* m_list;
        std::size_t m_index;
        mutable LineRoom m_room;
    };
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, m_count); }

    // One record, held for as long as the PrimRef lives.
    class PrimRef {
      public:
        PrimRef(const PrimitiveList& list, std::size_t index)
            : m_prim(&list.Expand(index, m_room)) {}
        PrimRef(const PrimRef&) = delete;
        PrimRef& operator=(const PrimRef&) = delete;
        const Prim& operator*() const { return *m_prim; }
        const Prim* operator->() const { return m_prim; }

      private:
        LineRoom m_room;
        const Prim* m_prim;
    };
    PrimRef At(std::size_t index) const { return PrimRef(*this, index); }

    // Walks the primitives in order; fn returns false to stop early.
    template <class Fn>
    void ForEach(Fn&& fn) const {
        std::size_t left = m_count;
        for (const Slot* chunk : m_chunks) {
            std::size_t n = left < kChunkSize ? left : kChunkSize;
            for (std::size_t i = 0; i < n; ++i) {
                const Slot& slot = chunk[i];
                if (IsLine(slot)) {
                    const Ligne line = ExpandLine(slot);
                    if (!fn(static_cast<const Prim&>(line))) return;
                } else if (!fn(*ObjectOf(slot))) {
                    return;
                }
            }
            left -= n;
        }
    }

    // Walks the primitives in order from the one at index from, a run of line records at a time:
    // lines(records, n) gets n of them as the file holds them, other(prim) each record of
    // another kind.
    template <class Lines, class Other>
    void ForEachRun(std::size_t from, Lines&& lines, Other&& other) const {
        while (from < m_count) {
            const Slot* chunk = m_chunks[from >> kChunkShift];
            const std::size_t end = std::min(m_count, (from | (kChunkSize - 1)) + 1);
            std::size_t i = from & (kChunkSize - 1);
            const std::size_t n = i + (end - from);
            while (i < n) {
                std::size_t last = i;
                while (last < n && IsLine(chunk[last])) ++last;
                if (last > i) lines(chunk[i].bytes, last - i);
                if (last < n) other(*ObjectOf(chunk[last++]));
                i = last;
            }
            from = end;
        }
    }

  private:
    // The kinds whose destructor frees something: a new kind with a member that owns memory
    // belongs here.
    template <class T>
    struct OwnsMemory : std::is_same<T, Symbole> {};

    static constexpr std::size_t kFirstBlock = 256 * 1024;
    static constexpr std::size_t kHugePage = 2 * 1024 * 1024;
    static constexpr std::size_t kLargestBlock = 8 * 1024 * 1024;
    // 16,384 slots (192 KB): a run of lines is saved with a write of its own, being larger than
    // the file's buffer, instead of being copied through it.
    static constexpr std::size_t kChunkShift = 14;
    static constexpr std::size_t kChunkSize = std::size_t(1) << kChunkShift;

    // A record's place in the list: a line record as the file holds it (code, x, y, pen code,
    // little-endian), or a code no record has followed by the address of a record of another
    // kind in the arena.
    struct Slot {
        std::uint8_t bytes[Ligne::kRecordSize];
    };
    static_assert(sizeof(Slot) == 12, "a line record in 12 bytes");
    static constexpr std::int16_t kObjectSlot = 0;

    static bool IsLine(const Slot& slot) {
        return Archive::DecodeInt16(slot.bytes) == PrimCode::kLigne;
    }
    Slot& NewSlot() {
        if ((m_count & (kChunkSize - 1)) == 0) NewChunk();
        return m_chunks[m_count >> kChunkShift][m_count & (kChunkSize - 1)];
    }
    void AppendLine(std::int16_t code, float x, float y, std::int16_t penCode) {
        // Every line record the reader makes has the line code; another is kept whole.
        if (code != PrimCode::kLigne) return AppendObject<Ligne>(code, x, y, penCode);
        Slot& slot = NewSlot();
        Archive::EncodeInt16(slot.bytes, code);
        Archive::EncodeFloat(slot.bytes + 2, x);
        Archive::EncodeFloat(slot.bytes + 6, y);
        Archive::EncodeInt16(slot.bytes + 10, penCode);
        ++m_count;
    }
    template <class T, class... Args>
    void AppendObject(Args&&... args) {
        // Room first, then the primitive, so a failed allocation leaks nothing.
        Slot& slot = NewSlot();
        if constexpr (OwnsMemory<T>::value) {
            if (m_owners.size() == m_owners.capacity()) m_owners.reserve(2 * m_owners.size() + 16);
        }
        void* place = Allocate(sizeof(T));
        T* object = new (place) T(std::forward<Args>(args)...);
        if constexpr (OwnsMemory<T>::value) m_owners.push_back(object);
        const Prim* prim = object;
        Archive::EncodeInt16(slot.bytes, kObjectSlot);
        std::memcpy(slot.bytes + 2, &prim, sizeof prim);
        ++m_count;
    }

    static Ligne ExpandLine(const Slot& slot) {
        return Ligne(PrimCode::kLigne, Archive::DecodeFloat(slot.bytes + 2),
                     Archive::DecodeFloat(slot.bytes + 6), Archive::DecodeInt16(slot.bytes + 10));
    }
    static const Prim* ObjectOf(const Slot& slot) {
        const Prim* prim;
        std::memcpy(&prim, slot.bytes + 2, sizeof prim);
        return prim;
    }
    const Prim& Expand(std::size_t index, LineRoom& room) const {
        const Slot& slot = m_chunks[index >> kChunkShift][index & (kChunkSize - 1)];
        if (!IsLine(slot)) return *ObjectOf(slot);
        return *new (room.bytes) Ligne(ExpandLine(slot));
    }

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
        m_chunks.push_back(static_cast<Slot*>(Allocate(kChunkSize * sizeof(Slot))));
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
    std::vector<Slot*> m_chunks;  // kChunkSize slots each, in the arena
    std::vector<Prim*> m_owners;  // the primitives of the kinds that own memory
    std::size_t m_count = 0;
};

// A drawing's records as background work reads them: shared read-only, so the window may go on
// painting them, and a document closed or reloaded meanwhile lets go of its own share only.
using SharedRecords = std::shared_ptr<const PrimitiveList>;
