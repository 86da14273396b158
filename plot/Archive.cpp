#include "plot/Archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "plot/FileError.h"

namespace {
[[noreturn]] void Fail(const std::string& path, int err) {
    throw FileError(FileError::CauseOf(err), path, std::strerror(err));
}
}  // namespace

Archive::Archive(bool loading, std::string path, int fd, std::size_t bufferSize)
    : m_loading(loading), m_path(std::move(path)), m_fd(fd), m_buffer(bufferSize ? bufferSize : 1) {
    if (m_loading) {
        m_start = m_cur = m_limit = m_buffer.data();
    } else {
        m_cur = m_buffer.data();
        m_limit = m_cur + m_buffer.size();
    }
}

Archive::Archive(Archive&& other) noexcept
    : m_loading(other.m_loading),
      m_path(std::move(other.m_path)),
      m_fd(other.m_fd),
      m_out(std::move(other.m_out)),
      m_memoryStore(other.m_memoryStore),
      m_consumed(other.m_consumed),
      m_memory(std::move(other.m_memory)) {
    // Pointers may point into the other's buffer or into caller memory.
    const std::uint8_t* base = other.m_buffer.data();
    bool inBuffer = other.m_cur >= base && other.m_cur <= base + other.m_buffer.size();
    std::ptrdiff_t start = other.m_start - base, cur = other.m_cur - base,
                   limit = other.m_limit - base;
    m_buffer = std::move(other.m_buffer);
    if (inBuffer) {
        m_start = other.m_start ? m_buffer.data() + start : nullptr;
        m_cur = m_buffer.data() + cur;
        m_limit = m_buffer.data() + limit;
    } else {
        m_start = other.m_start;
        m_cur = other.m_cur;
        m_limit = other.m_limit;
    }
    other.m_fd = -1;
    other.m_start = other.m_cur = other.m_limit = nullptr;
}

Archive::~Archive() {
    Discard();
}

void Archive::Discard() noexcept {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_out.reset();
}

Archive Archive::OpenForLoad(const std::string& path, std::size_t bufferSize) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail(path, errno);
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        Fail(path, EISDIR);
    }
    return Archive(true, path, fd, bufferSize);
}

bool Archive::IsEmptyFile() const {
    if (m_fd < 0) return m_limit == m_start && m_consumed == 0;
    struct stat st;
    return ::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0;
}

std::uint64_t Archive::FileSize() const {
    struct stat st;
    if (m_fd < 0 || ::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) return 0;
    return static_cast<std::uint64_t>(st.st_size);
}

Archive Archive::FromMemory(const void* data, std::size_t size) {
    Archive archive(true, std::string(), -1, 1);
    // Reads are served straight from the caller's bytes.
    archive.m_start = archive.m_cur = static_cast<std::uint8_t*>(const_cast<void*>(data));
    archive.m_limit = archive.m_cur + size;
    return archive;
}

Archive Archive::CreateForStore(const std::string& path, std::size_t bufferSize) {
    auto out = std::make_unique<SafeFile>(SafeFile::Create(path));
    Archive archive(false, path, -1, bufferSize);
    archive.m_out = std::move(out);
    return archive;
}

Archive Archive::ToMemory() {
    Archive archive(false, std::string(), -1, kBufferSize);
    archive.m_memoryStore = true;
    return archive;
}

std::size_t Archive::ReadSlow(std::uint8_t* dst, std::size_t n) {
    std::size_t got = 0;
    while (got < n) {
        std::size_t avail = static_cast<std::size_t>(m_limit - m_cur);
        if (avail == 0) {
            if (m_fd < 0) break;
            ssize_t r;
            do {
                r = ::read(m_fd, m_buffer.data(), m_buffer.size());
            } while (r < 0 && errno == EINTR);
            if (r < 0) Fail(m_path, errno);
            if (r == 0) break;
            m_consumed += static_cast<std::uint64_t>(m_limit - m_start);
            m_start = m_cur = m_buffer.data();
            m_limit = m_cur + r;
            continue;
        }
        std::size_t take = avail < n - got ? avail : n - got;
        std::memcpy(dst + got, m_cur, take);
        m_cur += take;
        got += take;
    }
    return got;
}

void Archive::Flush() {
    std::size_t used = static_cast<std::size_t>(m_cur - m_buffer.data());
    if (m_memoryStore) {
        m_memory.append(reinterpret_cast<const char*>(m_buffer.data()), used);
    } else {
        m_out->Write(m_buffer.data(), used);
    }
    m_cur = m_buffer.data();
}

void Archive::WriteSlow(const std::uint8_t* src, std::size_t n) {
    if (m_loading || (!m_out && !m_memoryStore)) Fail(m_path, EBADF);
    if (m_out && n >= m_buffer.size()) {
        // A block at least the buffer's size goes out as it is, not copied through the buffer.
        Flush();
        m_out->Write(src, n);
        return;
    }
    while (n > 0) {
        if (m_cur == m_limit) Flush();
        std::size_t room = static_cast<std::size_t>(m_limit - m_cur);
        std::size_t take = room < n ? room : n;
        std::memcpy(m_cur, src, take);
        m_cur += take;
        src += take;
        n -= take;
    }
}

const std::string& Archive::Memory() {
    if (m_memoryStore) Flush();
    return m_memory;
}

void Archive::Commit() {
    if (m_loading || m_memoryStore) return;
    if (!m_out) Fail(m_path, EBADF);
    Flush();
    m_out->Commit();
    m_out.reset();
}
