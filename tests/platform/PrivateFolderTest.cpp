#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "app/platform/PrivateFolder.h"
#include "app/platform/SingleInstance.h"

namespace {
std::string Make(const QTemporaryDir& root, const char* name, mode_t mode) {
    const std::string path = QFile::encodeName(root.filePath(name)).toStdString();
    EXPECT_EQ(::mkdir(path.c_str(), 0700), 0);
    EXPECT_EQ(::chmod(path.c_str(), mode), 0);
    return path;
}
}  // namespace

// Only a real folder of the user's with mode 0700 may hold the socket: anything another user
// could have made first, or could enter, is refused.
TEST(PrivateFolder, OnlyTheUsersOwnClosedFolderPasses) {
    QTemporaryDir root;
    const uid_t me = getuid();
    const std::string good = Make(root, "good", 0700);
    const std::string link = good + "-link";
    ASSERT_EQ(::symlink(good.c_str(), link.c_str()), 0);
    const std::string file = QFile::encodeName(root.filePath("file")).toStdString();
    QFile(root.filePath("file")).open(QIODevice::WriteOnly);
    ::chmod(file.c_str(), 0700);
    const struct {
        std::string folder;
        uid_t owner;
        bool expected;
    } cases[] = {
        {good, me, true},
        {good, me + 1, false},  // another user's
        {Make(root, "group", 0750), me, false},
        {Make(root, "others", 0701), me, false},
        {Make(root, "open", 0777), me, false},
        {Make(root, "noexec", 0600), me, false},
        {link, me, false},
        {file, me, false},
        {good + "/missing", me, false},
        {"relative", me, false},
        {"", me, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPrivateFolder(c.folder, c.owner), c.expected) << c.folder;
}

// XDG_RUNTIME_DIR is checked like any folder and never swapped for another; without it the
// fallback in the temporary folder is made private, and one made first by someone else, or left
// open, gives no socket at all.
TEST(PrivateFolder, TheSocketFolderIsCheckedWhereverItComesFrom) {
    QTemporaryDir root;
    const uid_t me = getuid();
    const std::string tmp = QFile::encodeName(root.path()).toStdString();
    const std::string fallback = tmp + "/korvane-" + std::to_string(me);
    const std::string runtime = Make(root, "runtime", 0700);
    EXPECT_EQ(PrivateSocketFolder(runtime.c_str(), tmp, me), runtime);
    EXPECT_EQ(PrivateSocketFolder(Make(root, "shared", 0755).c_str(), tmp, me), "");
    EXPECT_EQ(PrivateSocketFolder(runtime.c_str(), tmp, me + 1), "");

    EXPECT_EQ(PrivateSocketFolder(nullptr, tmp, me), fallback);
    struct stat st;
    ASSERT_EQ(::lstat(fallback.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(PrivateSocketFolder("", tmp, me), fallback);
    EXPECT_EQ(PrivateSocketFolder(nullptr, tmp, me + 1), "") << "another user's fallback";
    ::chmod(fallback.c_str(), 0777);
    EXPECT_EQ(PrivateSocketFolder(nullptr, tmp, me), "");
    ::rmdir(fallback.c_str());
    ASSERT_EQ(::symlink(runtime.c_str(), fallback.c_str()), 0);
    EXPECT_EQ(PrivateSocketFolder(nullptr, tmp, me), "");
}

// Without a private folder the program neither hands over nor listens: it runs on its own.
TEST(PrivateFolder, WithoutOneThereIsNoSocket) {
    QTemporaryDir root;
    const std::string open = Make(root, "open", 0777);
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(open));
    SingleInstance instance(nullptr);
    EXPECT_EQ(instance.SocketPath(), "");
    EXPECT_FALSE(instance.SendToRunning({"/tmp/a.plt"}));
    EXPECT_FALSE(instance.Listen());
    EXPECT_TRUE(QDir(root.filePath("open")).isEmpty());
    qunsetenv("XDG_RUNTIME_DIR");
}
