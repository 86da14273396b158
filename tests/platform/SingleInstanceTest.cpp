#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>

#include "app/platform/SingleInstance.h"

namespace {
// Each test gets a runtime folder of its own, so no program of the user's interferes.
class SingleInstanceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        qputenv("DISPLAY", ":7");
        qunsetenv("WAYLAND_DISPLAY");
    }
    QTemporaryDir m_runtime;
};

// A socket file bound by a program that ended without removing it.
void LeaveStaleSocket(const QString& path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), name.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}
}  // namespace

TEST_F(SingleInstanceTest, ASecondStartHandsItsFilesToTheRunningOne) {
    SingleInstance running(nullptr);
    QStringList received;
    int handed = 0;
    QObject::connect(&running, &SingleInstance::filesReceived, [&](const QStringList& paths) {
        received = paths;
        ++handed;
    });
    ASSERT_TRUE(running.Listen());

    SingleInstance later(nullptr);
    EXPECT_FALSE(later.Listen()) << "two programs listen on one display";
    // Names with spaces, a newline, a percent sign and non-ASCII letters arrive whole; a relative
    // name, which means nothing to another process, is dropped.
    const QStringList paths = {"/home/u/site plan.plt", "/tmp/two\nlines.plt", "/tmp/100%.plt",
                               "/tmp/Grundstück.plt", "relative.plt"};
    ASSERT_TRUE(later.SendToRunning(paths));
    EXPECT_EQ(handed, 1);
    EXPECT_EQ(received, paths.mid(0, 4));

    EXPECT_TRUE(later.SendToRunning({"/tmp/again.plt"}));
    EXPECT_EQ(received, QStringList{"/tmp/again.plt"});
}

TEST_F(SingleInstanceTest, AStaleSocketIsReplaced) {
    SingleInstance first(nullptr);
    EXPECT_FALSE(first.SendToRunning({"/tmp/a.plt"})) << "nobody runs";
    LeaveStaleSocket(first.SocketPath());
    ASSERT_TRUE(QFileInfo::exists(first.SocketPath()));
    EXPECT_FALSE(first.SendToRunning({"/tmp/a.plt"})) << "a dead program's socket";

    ASSERT_TRUE(first.Listen());
    QStringList received;
    QObject::connect(&first, &SingleInstance::filesReceived,
                     [&](const QStringList& paths) { received = paths; });
    SingleInstance second(nullptr);
    EXPECT_TRUE(second.SendToRunning({"/tmp/a.plt"}));
    EXPECT_EQ(received, QStringList{"/tmp/a.plt"});
}

// The socket is the user's, in the runtime folder, one per display: the screen number of an X
// display does not make another display.
TEST_F(SingleInstanceTest, OneSocketPerUserAndDisplay) {
    const QString own = SingleInstance(nullptr).SocketPath();
    EXPECT_EQ(QFileInfo(own).path(), m_runtime.path());
    EXPECT_TRUE(own.contains(QString::number(getuid())));
    qputenv("DISPLAY", ":7.0");
    EXPECT_EQ(SingleInstance(nullptr).SocketPath(), own);
    qputenv("DISPLAY", ":8");
    EXPECT_NE(SingleInstance(nullptr).SocketPath(), own);
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    const QString wayland = SingleInstance(nullptr).SocketPath();
    EXPECT_NE(wayland, own);
    EXPECT_EQ(QFileInfo(wayland).path(), m_runtime.path());
}
