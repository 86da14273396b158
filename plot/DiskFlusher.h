#pragma once

#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <thread>

// Empties the disk's own cache of what is written so far, on a thread of its own, while the rest
// is still being made: writing back to the disk's controller is not enough for the fsync of
// Commit, which would then wait for the disk to store all of a large file at once. Durability
// rests on that fsync alone: these are only a head start, their errors surface there.
class DiskFlusher {
  public:
    explicit DiskFlusher(int fd) : m_fd(fd), m_thread([this] { Run(); }) {}
    ~DiskFlusher() {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_stop = true;
        }
        m_wake.notify_one();
        m_thread.join();  // before the file is closed: the thread must not sync another one
    }
    DiskFlusher(const DiskFlusher&) = delete;
    DiskFlusher& operator=(const DiskFlusher&) = delete;

    void Request() {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_pending = true;
        }
        m_wake.notify_one();
    }

  private:
    void Run() {
        std::unique_lock<std::mutex> lock(m_lock);
        for (;;) {
            m_wake.wait(lock, [this] { return m_pending || m_stop; });
            if (m_stop) return;  // what is left is Commit's
            m_pending = false;
            lock.unlock();
            ::fdatasync(m_fd);
            lock.lock();
        }
    }

    const int m_fd;
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_pending = false;
    bool m_stop = false;
    std::thread m_thread;  // last: started once the rest is ready
};
