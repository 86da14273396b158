#include "plot/SafeFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <random>
#include <utility>
#include <vector>

#include "plot/DiskFlusher.h"
#include "plot/FileError.h"

namespace {
[[noreturn]] void Fail(const std::string& path, int err, const char* detail = nullptr) {
    throw FileError(FileError::CauseOf(err), path, detail ? detail : std::strerror(err));
}

std::atomic<bool> g_forceNamed{false};

// Named temporaries alive in this process, for the signal handler to remove. Fixed storage, so
// the handler touches nothing but these bytes and unlink(). Saves of different documents run on
// several threads at once: the lock keeps them from taking one slot or reading a name being
// written; the handler takes no lock and trusts only slots marked used (lock-free atomics).
constexpr int kSlots = 16;
char g_tempNames[kSlots][4096];
std::atomic<bool> g_tempUsed[kSlots];
std::mutex g_tempLock;
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler reads the slots");

const int kCleanupSignals[] = {SIGHUP,  SIGINT,  SIGQUIT, SIGTERM, SIGXFSZ, SIGPIPE, SIGALRM,
                               SIGUSR1, SIGUSR2, SIGABRT, SIGSEGV, SIGBUS,  SIGFPE,  SIGILL};

void RemoveTemporariesAndDie(int sig) {
    SafeFile::RemoveTemporaries();
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}

// Installs the handler where a signal would otherwise end the process without a word; a signal
// the program ignores or handles itself is left alone.
void InstallCleanupHandlers() {
    static std::atomic<bool> installed{false};
    if (installed.exchange(true)) return;
    for (int sig : kCleanupSignals) {
        struct sigaction old;
        if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) continue;
        struct sigaction sa;
        std::memset(&sa, 0, sizeof sa);
        sa.sa_handler = RemoveTemporariesAndDie;
        sigfillset(&sa.sa_mask);
        ::sigaction(sig, &sa, nullptr);
    }
}

int RegisterTemporary(const std::string& name) {
    if (name.size() >= sizeof g_tempNames[0]) return -1;
    std::lock_guard<std::mutex> lock(g_tempLock);
    for (int i = 0; i < kSlots; ++i) {
        if (g_tempUsed[i].load(std::memory_order_relaxed)) continue;
        std::memcpy(g_tempNames[i], name.c_str(), name.size() + 1);
        g_tempUsed[i].store(true, std::memory_order_release);
        return i;
    }
    return -1;
}

void UnregisterTemporary(const std::string& name) {
    std::lock_guard<std::mutex> lock(g_tempLock);
    for (int i = 0; i < kSlots; ++i) {
        if (g_tempUsed[i].load(std::memory_order_relaxed) && name == g_tempNames[i]) {
            g_tempUsed[i].store(false, std::memory_order_release);
        }
    }
}

// A hidden name for a file beside the one called base. Saves and exports may run on several
// threads at once, so each thread draws from a generator of its own: a shared one would be a
// data race, and a lock for a name nobody waits on buys nothing.
std::string HiddenNameFor(const std::string& base) {
    thread_local std::mt19937_64 rng{std::random_device{}()};
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%012llx",
                  static_cast<unsigned long long>(rng() & 0xFFFFFFFFFFFFull));
    return "." + base + suffix;
}

// The shared-folder rule for the entry owned by owner in the open folder dir; throws when it
// forbids.
void CheckSharedFolder(const std::string& path, int dir, uid_t owner, const char* refusal) {
    struct stat folder;
    if (::fstat(dir, &folder) != 0) Fail(path, errno);
    if (!SafeFile::SharedFolderAllows(folder.st_mode, folder.st_uid, owner, ::geteuid())) {
        Fail(path, EACCES, refusal);
    }
}

// A file descriptor closed with its owner.
class Fd {
  public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return m_fd; }
    void Reset(int fd) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = fd;
    }
    int Release() { return std::exchange(m_fd, -1); }

  private:
    int m_fd;
};

// Where a write to path lands: its folder, held open, and the name in it. Every symbolic link on
// the way is followed, even to a target that does not exist yet, each one checked by the
// shared-folder rule; each folder is opened without following links, so nothing swapped in
// after a check is followed. Too many links fail as the system would (ELOOP).
struct Landing {
    int dir;
    std::string folder;  // the folder's path, for the signal handler
    std::string name;
};

Landing Resolve(const std::string& path) {
    if (path.empty()) Fail(path, ENOENT);
    if (path.back() == '/') Fail(path, EISDIR);  // names a folder, as the system would take it
    std::vector<std::string> pending;            // components still to walk, the next one last
    auto push = [&pending](const std::string& text) {
        std::size_t end = text.size();
        while (end > 0) {
            const std::size_t slash = text.rfind('/', end - 1);
            const std::size_t begin = slash == std::string::npos ? 0 : slash + 1;
            if (end > begin) pending.push_back(text.substr(begin, end - begin));
            if (slash == std::string::npos) break;
            end = slash;
        }
    };
    auto start = [&path](const std::string& from, std::string& folder, Fd& dir) {
        dir.Reset(::open(from[0] == '/' ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (dir.Get() < 0) Fail(path, errno);
        folder = from[0] == '/' ? "" : ".";
    };
    push(path);
    Fd dir(-1);
    std::string folder;
    start(path, folder, dir);
    int hops = 0;
    while (!pending.empty()) {
        const std::string name = pending.back();
        pending.pop_back();
        if (name == "." && !pending.empty()) continue;
        struct stat st;
        if (::fstatat(dir.Get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISLNK(st.st_mode)) {
            if (++hops > 40) Fail(path, ELOOP);
            CheckSharedFolder(path, dir.Get(), st.st_uid,
                              "refusing to follow a link another user owns");
            std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1,
                             '\0');
            const ssize_t n = ::readlinkat(dir.Get(), name.c_str(), link.data(), link.size());
            if (n <= 0) Fail(path, n < 0 ? errno : ENOENT);
            link.resize(static_cast<std::size_t>(n));
            if (link[0] == '/') start(link, folder, dir);
            push(link);
            continue;
        }
        if (pending.empty()) return {dir.Release(), folder.empty() ? "/" : folder, name};
        // A folder on the way; ".." of a folder reached without links is its real parent.
        const int next =
            ::openat(dir.Get(), name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) Fail(path, errno);
        dir.Reset(next);
        folder += "/" + name;
    }
    Fail(path, EISDIR);  // nothing but the starting folder
}

mode_t UsualMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Runs f with every catchable signal held back, so no handler can run between its steps.
template <class F>
int WithSignalsBlocked(F f) {
    sigset_t all, old;
    sigfillset(&all);
    ::pthread_sigmask(SIG_BLOCK, &all, &old);
    const int result = f();
    const int err = errno;
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
    errno = err;
    return result;
}
}  // namespace

void SafeFile::RemoveTemporaries() noexcept {
    for (int i = 0; i < kSlots; ++i) {
        if (g_tempUsed[i].load(std::memory_order_acquire)) ::unlink(g_tempNames[i]);
    }
}

void SafeFile::ForceNamedTemporary(bool force) {
    g_forceNamed = force;
}

bool SafeFile::SharedFolderAllows(unsigned folderMode, unsigned folderOwner, unsigned owner,
                                  unsigned writer) {
    const bool shared = (folderMode & S_ISVTX) && (folderMode & S_IWOTH);
    return !shared || owner == writer || owner == folderOwner;
}

SafeFile SafeFile::Create(const std::string& path) {
    Landing landing = Resolve(path);
    SafeFile file(path, landing.dir, landing.folder, landing.name);
    mode_t mode = UsualMode();
    struct stat st;
    bool replacing = false;
    if (::fstatat(file.m_dir, file.m_name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(st.st_mode)) Fail(path, EISDIR);
        if (!S_ISREG(st.st_mode)) Fail(path, EACCES, "not a regular file");
        // Root may write anything; the mode bits still say what the owner wants.
        if ((st.st_mode & 0222) == 0) Fail(path, EACCES, "the file is read-only");
        CheckSharedFolder(path, file.m_dir, st.st_uid,
                          "refusing to write over a file another user owns in a shared folder");
        // Never a set-user-ID or set-group-ID program made by a save, nor a sticky file.
        mode = st.st_mode & 0777;
        replacing = true;
    } else if (errno != ENOENT) {
        Fail(path, errno);
    }

    if (!g_forceNamed) {
        file.m_fd = ::openat(file.m_dir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (file.m_fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            Fail(path, errno);
        }
    }
    if (file.m_fd < 0) {
        InstallCleanupHandlers();
        for (int attempt = 0; attempt < 100 && file.m_fd < 0; ++attempt) {
            std::string temp = HiddenNameFor(file.m_name);
            // Registered before it exists, so no signal can come between creation and record.
            if (RegisterTemporary(file.m_folder + "/" + temp) < 0) Fail(path, EMFILE);
            file.m_fd =
                ::openat(file.m_dir, temp.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
            if (file.m_fd >= 0) {
                file.m_temp = temp;
            } else {
                const int err = errno;
                UnregisterTemporary(file.m_folder + "/" + temp);
                if (err != EEXIST) Fail(path, err);
            }
        }
        if (file.m_fd < 0) Fail(path, EEXIST);
    }
    // The replaced file's owner and group where the writer may set them (root may; others at
    // most a group of their own), then the permissions, whatever the umask made of them: a
    // change of owner would clear bits set before it.
    if (replacing && ::fchown(file.m_fd, st.st_uid, st.st_gid) != 0) {
        (void)::fchown(file.m_fd, static_cast<uid_t>(-1), st.st_gid);
    }
    ::fchmod(file.m_fd, mode);
    return file;
}

SafeFile::SafeFile(std::string path, int dir, std::string folder, std::string name)
    : m_path(std::move(path)), m_folder(std::move(folder)), m_name(std::move(name)), m_dir(dir) {}

SafeFile::SafeFile(SafeFile&& other) noexcept
    : m_path(std::move(other.m_path)),
      m_folder(std::move(other.m_folder)),
      m_name(std::move(other.m_name)),
      m_temp(std::move(other.m_temp)),
      m_dir(other.m_dir),
      m_fd(other.m_fd),
      m_written(other.m_written),
      m_writebackFrom(other.m_writebackFrom),
      m_flusher(std::move(other.m_flusher)) {
    other.m_dir = -1;
    other.m_fd = -1;
    other.m_temp.clear();
}

SafeFile::~SafeFile() {
    Discard();
}

void SafeFile::StopFlusher() noexcept {
    m_flusher.reset();
}

void SafeFile::Discard() noexcept {
    StopFlusher();
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_temp.empty()) {
        ::unlinkat(m_dir, m_temp.c_str(), 0);
        UnregisterTemporary(m_folder + "/" + m_temp);
        m_temp.clear();
    }
    if (m_dir >= 0) ::close(m_dir);
    m_dir = -1;
}

void SafeFile::Write(const void* data, std::size_t n) {
    if (m_fd < 0) Fail(m_path, EBADF);
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
        const ssize_t w = ::write(m_fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            Fail(m_path, errno);
        }
        p += w;
        n -= static_cast<std::size_t>(w);
        m_written += static_cast<std::uint64_t>(w);
    }
    StartWriteback();
}

void SafeFile::StartWriteback() {
    // The disk starts on each stretch written while the rest is still being made, so the fsync
    // of Commit waits only for the last one. Only a hint: errors surface in the fsync.
    constexpr std::uint64_t kStretch = 8 * 1024 * 1024;
    if (m_written - m_writebackFrom < kStretch) return;
    ::sync_file_range(m_fd, static_cast<off_t>(m_writebackFrom),
                      static_cast<off_t>(m_written - m_writebackFrom), SYNC_FILE_RANGE_WRITE);
    m_writebackFrom = m_written;
    if (!m_flusher) {
        try {
            m_flusher = std::make_unique<DiskFlusher>(m_fd);
        } catch (const std::exception&) {
            return;  // no thread to be had: Commit's fsync does it all
        }
    }
    m_flusher->Request();
}

void SafeFile::Commit() {
    if (m_fd < 0) Fail(m_path, EBADF);
    StopFlusher();
    if (::fsync(m_fd) != 0 && errno != EINVAL) Fail(m_path, errno);
    if (m_temp.empty()) {
        // Unnamed: give it a hidden name for the instant of the rename. With signals held
        // back, nothing but a kill can come between the two, and then only for that instant.
        char self[64];
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", m_fd);
        int err = 0;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string name = HiddenNameFor(m_name);
            const int r = WithSignalsBlocked([&] {
                int linked = ::linkat(AT_FDCWD, self, m_dir, name.c_str(), AT_SYMLINK_FOLLOW);
                if (linked != 0 && errno == ENOENT) {  // no /proc: a privileged link instead
                    linked = ::linkat(m_fd, "", m_dir, name.c_str(), AT_EMPTY_PATH);
                }
                if (linked != 0) return -1;
                if (::renameat(m_dir, name.c_str(), m_dir, m_name.c_str()) != 0) {
                    const int e = errno;
                    ::unlinkat(m_dir, name.c_str(), 0);
                    errno = e;
                    return -2;
                }
                return 0;
            });
            if (r == 0) {
                err = 0;
                break;
            }
            err = errno;
            if (r == -2 || err != EEXIST) break;
        }
        const int fd = m_fd;
        m_fd = -1;
        ::close(fd);
        if (err) Fail(m_path, err);
        return;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) Fail(m_path, errno);
    if (::renameat(m_dir, m_temp.c_str(), m_dir, m_name.c_str()) != 0) Fail(m_path, errno);
    UnregisterTemporary(m_folder + "/" + m_temp);
    m_temp.clear();
}
