#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "plot/SafeFile.h"

// A buffered binary stream over a file or memory, loading or storing, little-endian whatever
// the host's byte order. A store goes through SafeFile: the target is replaced only in Commit,
// so a failed or interrupted save never destroys the file it was meant to replace, and a
// protected target is refused. File errors are thrown as FileError.
class Archive {
  public:
    static constexpr std::size_t kBufferSize = 4096;

    static Archive OpenForLoad(const std::string& path, std::size_t bufferSize = kBufferSize);
    static Archive FromMemory(const void* data, std::size_t size);
    static Archive CreateForStore(const std::string& path, std::size_t bufferSize = kBufferSize);
    static Archive ToMemory();

    Archive(Archive&& other) noexcept;
    Archive& operator=(Archive&&) = delete;
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    ~Archive();  // an uncommitted store leaves the target as it was

    bool IsLoading() const { return m_loading; }
    bool IsFileStore() const { return !m_loading && !m_memoryStore; }
    bool IsStoring() const { return !m_loading; }
    const std::string& Path() const { return m_path; }
    // Loading: the offset in the input of the next byte Read returns.
    std::uint64_t Position() const {
        return m_consumed + static_cast<std::uint64_t>(m_cur - m_start);
    }
    // Loading: the input is a regular file of length 0 (a pipe, say, is never known empty).
    bool IsEmptyFile() const;
    // Loading: the input's length when it is a regular file, else 0.
    std::uint64_t FileSize() const;

    // Loading: the bytes already buffered after the read position, for decoding records in
    // place; Skip then consumes what was decoded. Never refills, so it may return fewer bytes
    // than a record has (even none): Read serves those.
    const std::uint8_t* Buffered(std::size_t& available) const {
        available = static_cast<std::size_t>(m_limit - m_cur);
        return m_cur;
    }
    void Skip(std::size_t n) { m_cur += n; }

    // Reads up to n bytes; fewer only at the end of the input.
    std::size_t Read(void* dst, std::size_t n) {
        if (static_cast<std::size_t>(m_limit - m_cur) >= n) {
            std::memcpy(dst, m_cur, n);
            m_cur += n;
            return n;
        }
        return ReadSlow(static_cast<std::uint8_t*>(dst), n);
    }

    void Write(const void* src, std::size_t n) {
        if (static_cast<std::size_t>(m_limit - m_cur) >= n) {
            std::memcpy(m_cur, src, n);
            m_cur += n;
            return;
        }
        WriteSlow(static_cast<const std::uint8_t*>(src), n);
    }
    // Storing: the buffer's room for n bytes at the write position, for encoding a record in
    // place (Advance then consumes it); null when the buffer lacks the room, and Write serves.
    std::uint8_t* Room(std::size_t n) {
        return static_cast<std::size_t>(m_limit - m_cur) >= n ? m_cur : nullptr;
    }
    void Advance(std::size_t n) { m_cur += n; }
    void WriteInt16(std::int16_t value) {
        std::uint8_t bytes[2];
        EncodeInt16(bytes, value);
        Write(bytes, 2);
    }
    void WriteFloat(float value) {
        std::uint8_t bytes[4];
        EncodeFloat(bytes, value);
        Write(bytes, 4);
    }
    void WriteByte(std::uint8_t value) { Write(&value, 1); }

    // Storing: writes out the buffer and puts the complete file in place of the target.
    void Commit();
    // A memory store's bytes, complete up to the last Write.
    const std::string& Memory();

    // The file's byte order is little-endian: on such a host the codecs are plain copies.
    static std::int16_t DecodeInt16(const std::uint8_t* p) {
        return static_cast<std::int16_t>(Load<std::uint16_t>(p));
    }
    static float DecodeFloat(const std::uint8_t* p) {
        const std::uint32_t u = Load<std::uint32_t>(p);
        float f;
        std::memcpy(&f, &u, 4);
        return f;
    }
    static void EncodeInt16(std::uint8_t* p, std::int16_t value) {
        Store(p, static_cast<std::uint16_t>(value));
    }
    static void EncodeFloat(std::uint8_t* p, float value) {
        std::uint32_t u;
        std::memcpy(&u, &value, 4);
        Store(p, u);
    }

  private:
    template <class U>
    static U Load(const std::uint8_t* p) {
        U u;
        std::memcpy(&u, p, sizeof u);
        if constexpr (kBigEndianHost) u = Swap(u);
        return u;
    }
    template <class U>
    static void Store(std::uint8_t* p, U u) {
        if constexpr (kBigEndianHost) u = Swap(u);
        std::memcpy(p, &u, sizeof u);
    }
    template <class U>
    static U Swap(U u) {
        U r = 0;
        for (std::size_t i = 0; i < sizeof u; ++i)
            r = static_cast<U>((r << 8) | ((u >> (8 * i)) & 0xFF));
        return r;
    }
    static constexpr bool kBigEndianHost = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;

    Archive(bool loading, std::string path, int fd, std::size_t bufferSize);

    std::size_t ReadSlow(std::uint8_t* dst, std::size_t n);
    void WriteSlow(const std::uint8_t* src, std::size_t n);
    void Flush();
    void Discard() noexcept;

    bool m_loading;
    std::string m_path;               // target of a store, source of a load; empty for memory
    int m_fd;                         // a file load's input; -1 otherwise
    std::unique_ptr<SafeFile> m_out;  // a file store's output until Commit
    bool m_memoryStore = false;
    std::vector<std::uint8_t> m_buffer;
    std::uint8_t* m_start = nullptr;  // loading: where the bytes at m_consumed begin
    std::uint8_t* m_cur = nullptr;
    std::uint8_t* m_limit = nullptr;
    std::uint64_t m_consumed = 0;
    std::string m_memory;
};
