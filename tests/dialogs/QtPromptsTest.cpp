#include <gtest/gtest.h>

#include <QDir>
#include <QWidget>

#include "app/dialogs/QtPrompts.h"

TEST(QtPrompts, NamesTheFileSystemRefusesAreBad) {
    QWidget window;
    QtPrompts prompts(&window);  // builds without showing anything
    const QString tmp = QDir::tempPath();
    EXPECT_FALSE(IsBadFileName(tmp + "/drawing.plt"));
    EXPECT_FALSE(IsBadFileName(tmp + "/" + QString(255, 'a')));
    EXPECT_TRUE(IsBadFileName(tmp + "/" + QString(256, 'a')));
    // Two-byte characters count in bytes, as the file system counts them.
    EXPECT_TRUE(IsBadFileName(tmp + "/" + QString(128, QChar(0x00e9))));
    QString deep = tmp;
    for (int i = 0; i < 20; ++i) deep += "/" + QString(250, 'd');
    EXPECT_TRUE(IsBadFileName(deep + "/x.plt"));
}
