#include "app/platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {
FileIdentity FromStat(const struct stat& st) {
    FileIdentity id;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = st.st_size;
    id.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return id;
}
}  // namespace

FileIdentity IdentityOf(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return {};
    return FromStat(st);
}

RegularFile::RegularFile(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        m_error = errno;
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        m_status = Status::kNotRegular;
        return;
    }
    // Something swapped in after the stat must not block the open either.
    m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (m_fd < 0) {
        m_error = errno;
        return;
    }
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_status = Status::kNotRegular;
        return;
    }
    m_status = Status::kOpen;
    m_identity = FromStat(st);
    const std::string own = "/proc/self/fd/" + std::to_string(m_fd);
    m_readPath = ::access(own.c_str(), R_OK) == 0 ? own : path;
}

RegularFile::~RegularFile() {
    if (m_fd >= 0) ::close(m_fd);
}
