#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "app/platform/PrivateFolder.h"

// Only the user's own folder with mode 0700, not a link, holds the socket; so is the fallback.
TEST(PrivateFolder, OnlyTheUsersOwnClosedFolderPasses) {
    QTemporaryDir root;
    const std::string tmp = QFile::encodeName(root.path()).toStdString(), own = tmp + "/own";
    const uid_t me = getuid();
    ::mkdir(own.c_str(), 0700);
    ::mkdir((tmp + "/group").c_str(), 0750);
    ::symlink(own.c_str(), (tmp + "/link").c_str());
    for (const char* p : {"/group", "/link", "/own/none"})
        EXPECT_FALSE(IsPrivateFolder(tmp + p, me));
    EXPECT_FALSE(IsPrivateFolder(own, me + 1)) << "another user's";
    EXPECT_EQ(PrivateSocketFolder(own.c_str(), tmp, me), own);
    EXPECT_EQ(PrivateSocketFolder((tmp + "/group").c_str(), tmp, me), "") << "no other is taken";
    const std::string fallback = tmp + "/korvane-" + std::to_string(me);
    EXPECT_EQ(PrivateSocketFolder("", tmp, me), fallback);
    EXPECT_EQ(PrivateSocketFolder(nullptr, tmp, me + 1), "") << "made first by someone else";
    ::chmod(fallback.c_str(), 0701);
    EXPECT_EQ(PrivateSocketFolder(nullptr, tmp, me), "");
}
