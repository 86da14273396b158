#pragma once

#include <cstdint>
#include <string>

// Which file a name stands for at one moment: an editor's atomic save or a checkout that
// recreates the file gives another identity even where the size and time look alike.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = -1;  // -1: no file
    std::int64_t mtimeNs = 0;

    bool Exists() const { return size >= 0; }
    bool operator==(const FileIdentity& o) const {
        return device == o.device && inode == o.inode && size == o.size && mtimeNs == o.mtimeNs;
    }
    bool operator!=(const FileIdentity& o) const { return !(*this == o); }
};

// The identity of what path names now (links followed); none when nothing is there.
FileIdentity IdentityOf(const std::string& path);

// A file opened for reading only when it is a regular file, so that a FIFO, socket or device is
// refused without blocking on it or reading it: stat first, open with O_NONBLOCK, fstat the file
// opened. The file stays open while the object lives.
class RegularFile {
  public:
    enum class Status { kOpen, kNotRegular, kFailed };

    explicit RegularFile(const std::string& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    Status GetStatus() const { return m_status; }
    // errno of a failed stat or open.
    int Error() const { return m_error; }
    // A name that opens the very file checked while this object lives, for readers that take a
    // name: nothing put at the path since the check is read. The path itself without /proc.
    const std::string& ReadPath() const { return m_readPath; }
    // The identity of the file opened.
    const FileIdentity& Identity() const { return m_identity; }

  private:
    Status m_status = Status::kFailed;
    int m_error = 0;
    int m_fd = -1;
    std::string m_readPath;
    FileIdentity m_identity;
};
