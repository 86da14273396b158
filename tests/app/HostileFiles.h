#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QString>
#include <atomic>
#include <chrono>
#include <thread>

// A FIFO that notes whether anybody opened it for reading: it opens the writing end whenever a
// reader waits, which ends that reader's wait, so a test of a refusal fails instead of hanging.
class WatchedFifo {
  public:
    explicit WatchedFifo(const QString& path) : m_path(QFile::encodeName(path)) {
        ::mkfifo(m_path.constData(), 0600);
        m_watch = std::thread([this] {
            while (!m_stop) {
                const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    m_opened = true;
                    ::close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    }
    ~WatchedFifo() {
        m_stop = true;
        m_watch.join();
    }
    bool Opened() const { return m_opened; }

  private:
    QByteArray m_path;
    std::atomic<bool> m_stop{false}, m_opened{false};
    std::thread m_watch;
};
