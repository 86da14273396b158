#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// A file written so that nothing of the user's is lost whatever happens on the way: the new
// content goes to a file of its own and replaces the target only in Commit, once it is complete
// and on disk. Every save of the program (plot files, DXF exports, pictures, configuration
// files) goes through it.
//
// - The content is written unnamed (O_TMPFILE) in the target's folder and linked into place in
//   Commit, so a crash, kill or file-size limit leaves no temporary behind. Where the file
//   system cannot make unnamed files, a hidden temporary beside the target is used instead and
//   removed on every signal that can be caught (and by the destructor).
// - A symbolic link as target, or in the path to it, is followed: its final target is replaced,
//   still atomically, and the link stays a link. In a world-writable sticky folder such as /tmp
//   a link is followed, and an existing file written over, only when it belongs to the writer
//   or to the folder's owner, whatever the kernel's own protection is set to: another user's
//   link there must not turn a save onto a file of their choosing. Folders are walked one by
//   one and held open, so a link swapped in after a check is never followed.
// - An existing target that is not a regular file, or whose mode grants no write bit to anyone,
//   is refused before anything is written (FileError with cause AccessDenied or BadPath), even
//   for a user such as root whom the system would let through: its owner protected it.
// - The new file gets the old one's permission bits, never set-user-ID, set-group-ID or sticky,
//   and its owner and group where the writer may set them; a new target gets the usual ones
//   (0666 less the umask). Hard links of a replaced file are split, as with any atomic save.
// Failures throw FileError naming the path as given.
class DiskFlusher;

class SafeFile {
  public:
    // The shared-folder rule for a link to follow or a file to write over, owned by owner, in a
    // folder of folderMode owned by folderOwner, for a writer of effective user id writer.
    static bool SharedFolderAllows(unsigned folderMode, unsigned folderOwner, unsigned owner,
                                   unsigned writer);

    static SafeFile Create(const std::string& path);

    SafeFile(SafeFile&& other) noexcept;
    SafeFile& operator=(SafeFile&&) = delete;
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;
    ~SafeFile();  // without Commit, the new content is dropped and the target left as it was

    int Fd() const { return m_fd; }
    const std::string& Path() const { return m_path; }

    // Writes all n bytes; throws FileError.
    void Write(const void* data, std::size_t n);
    // Makes the content durable and puts it in place of the target. The object is done after.
    void Commit();

    // Removes the named temporaries of this process, for a process about to end without
    // unwinding (as from a terminate handler). Async-signal-safe.
    static void RemoveTemporaries() noexcept;

    // Tests: make the following Creates use a named temporary, as where O_TMPFILE is missing.
    static void ForceNamedTemporary(bool force);

  private:
    SafeFile(std::string path, int dir, std::string folder, std::string name);
    void Discard() noexcept;
    void StartWriteback();
    void StopFlusher() noexcept;

    std::string m_path;  // as the caller gave it, for messages
    // The regular file to replace, m_path with symbolic links followed: its folder, held open so
    // that no link swapped in later is followed, and its name there.
    std::string m_folder;  // the folder's path, for the signal handler
    std::string m_name;
    std::string m_temp;  // the named temporary in the folder, when one is used
    int m_dir = -1;
    int m_fd = -1;
    std::uint64_t m_written = 0;             // bytes written so far
    std::uint64_t m_writebackFrom = 0;       // where the disk has not yet been asked to start
    std::unique_ptr<DiskFlusher> m_flusher;  // from the first stretch of a large file on
};
