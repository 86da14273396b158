#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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

// The chooser as a user meets it: a type picked in the list, a name typed without extension,
// or the offered name kept, whose extension follows the picked type.
TEST(QtPrompts, ANameWithoutExtensionTakesThePickedType) {
    const QStringList filters = {QStringLiteral("Korvane Files (*.plt)"),
                                 QStringLiteral("AutoCAD DXF Files (*.dxf)"),
                                 QStringLiteral("All Files (*.*)")};
    struct Case {
        int downPresses;  // in the type list, from the first type
        QString typed;    // empty: the offered name is kept
        QString expectedName;
        int expectedFilter;
    };
    const Case cases[] = {
        {0, "plan", "plan.plt", 1}, {1, "plan", "plan.dxf", 2}, {1, "plan.txt", "plan.txt", 2},
        {2, "plan", "plan.plt", 3}, {1, "", "Korvane1.dxf", 2}, {0, "", "Korvane1.plt", 1},
    };
    QTemporaryDir dir;
    QWidget window;
    QtPrompts prompts(&window);
    for (const Case& c : cases) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; i < c.downPresses; ++i) QTest::keyClick(types, Qt::Key_Down);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!c.typed.isEmpty()) name->setText(c.typed);
            QTest::keyClick(name, Qt::Key_Return);
        });
        QString path = dir.filePath("Korvane1.plt");
        int filter = 1;
        ASSERT_TRUE(prompts.ChooseFile("Export to file...", "plt", filters, path, true, filter));
        EXPECT_EQ(QFileInfo(path).fileName().toStdString(), c.expectedName.toStdString());
        EXPECT_EQ(filter, c.expectedFilter);
    }
}
