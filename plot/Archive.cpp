#include "plot/Archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "plot/FileError.h"

namespace {
[[noreturn]] void Fail(const std::string& path, int err) {
    throw FileError(FileError::CauseOf(err), path, std::strerror(err));
}

std::string TempPathFor(const std::string& path) {
    std::size_t slash = path.rfind('/');
    std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    return dir + "." + base + ".XXXXXX";
}
}  // namespace

Archive::Archive(bool loading, std::string path, int fd, std::size_t bufferSize)
    : m_loading(loading), m_path(std::move(path)), m_fd(fd), m_buffer(bufferSize ? bufferSize : 1) {
    if (m_loading) {
        m_cur = m_limit = m_buffer.data();
    } else {
        m_cur = m_buffer.data();
        m_limit = m_cur + m_buffer.size();
    }
}

Archive::Archive(Archive&& other) noexcept
    : m_loading(other.m_loading),
      m_path(std::move(other.m_path)),
      m_tempPath(std::move(other.m_tempPath)),
      m_fd(other.m_fd),
      m_memoryStore(other.m_memoryStore),
      m_memory(std::move(other.m_memory)) {
    // Pointers may point into the other's buffer or into caller memory.
    const std::uint8_t* base = other.m_buffer.data();
    bool inBuffer = other.m_cur >= base && other.m_cur <= base + other.m_buffer.size();
    std::ptrdiff_t cur = other.m_cur - base, limit = other.m_limit - base;
    m_buffer = std::move(other.m_buffer);
    if (inBuffer) {
        m_cur = m_buffer.data() + cur;
        m_limit = m_buffer.data() + limit;
    } else {
        m_cur = other.m_cur;
        m_limit = other.m_limit;
    }
    other.m_fd = -1;
    other.m_tempPath.clear();
    other.m_cur = other.m_limit = nullptr;
}

Archive::~Archive() {
    Discard();
}

void Archive::Discard() noexcept {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_tempPath.empty()) ::unlink(m_tempPath.c_str());
    m_tempPath.clear();
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

Archive Archive::FromMemory(const void* data, std::size_t size) {
    Archive archive(true, std::string(), -1, 1);
    // Reads are served straight from the caller's bytes.
    archive.m_cur = static_cast<std::uint8_t*>(const_cast<void*>(data));
    archive.m_limit = archive.m_cur + size;
    return archive;
}

Archive Archive::CreateForStore(const std::string& path, std::size_t bufferSize) {
    std::string temp = TempPathFor(path);
    int fd = ::mkstemp(temp.data());
    if (fd < 0) Fail(path, errno);
    // The new file gets the old one's permissions, or the usual ones for a new file.
    struct stat st;
    mode_t mode;
    if (::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    Archive archive(false, path, fd, bufferSize);
    archive.m_tempPath = temp;
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
            m_cur = m_buffer.data();
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
        const std::uint8_t* p = m_buffer.data();
        while (used > 0) {
            ssize_t w = ::write(m_fd, p, used);
            if (w < 0) {
                if (errno == EINTR) continue;
                Fail(m_path, errno);
            }
            p += w;
            used -= static_cast<std::size_t>(w);
            m_stored += static_cast<std::uint64_t>(w);
        }
        StartWriteback();
    }
    m_cur = m_buffer.data();
}

void Archive::StartWriteback() {
    // The disk starts on what is written while the rest is still being encoded, so the fsync of
    // Commit waits only for the last stretch. Only a hint: errors surface in the fsync.
    constexpr std::uint64_t kStretch = 8 * 1024 * 1024;
    if (m_stored - m_writebackFrom < kStretch) return;
    ::sync_file_range(m_fd, static_cast<off_t>(m_writebackFrom),
                      static_cast<off_t>(m_stored - m_writebackFrom), SYNC_FILE_RANGE_WRITE);
    m_writebackFrom = m_stored;
}

void Archive::WriteSlow(const std::uint8_t* src, std::size_t n) {
    if (m_loading || (m_fd < 0 && !m_memoryStore)) Fail(m_path, EBADF);
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
    if (m_fd < 0) Fail(m_path, EBADF);
    Flush();
    if (::fsync(m_fd) != 0 && errno != EINVAL) Fail(m_path, errno);
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) Fail(m_path, errno);
    if (::rename(m_tempPath.c_str(), m_path.c_str()) != 0) Fail(m_path, errno);
    m_tempPath.clear();
}
