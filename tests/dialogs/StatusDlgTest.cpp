#include <gtest/gtest.h>

#include <QLabel>

#include "app/dialogs/CStatusDlg.h"
#include "dialogs/DialogTestKit.h"

TEST(StatusDlg, ShowsTheSizeInInchesAndTheCountToEyesAndScreenReaders) {
    struct Case {
        float maxX, maxY;  // resolution units
        int count;
        const char *x, *y, *n;
    } cases[] = {{3300, 2550, 1234, "11.00", "8.50", "1234"},
                 {0, 0, 0, "0.00", "0.00", "0"},
                 {100, 1e7f, 5, "0.33", "33333.33", "5"},
                 // a division in float rounds these up, to 5.01 and 10.05
                 {1501.5f, 3013.5f, 1, "5.00", "10.04", "1"}};
    for (const Case& c : cases) {
        CStatusDlg dlg(c.maxX, c.maxY, 300, c.count);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), "Drawing Status");
        const QString x = QStringLiteral("Drawing size X: ") + c.x;
        const QString y = QStringLiteral("Drawing size Y: ") + c.y;
        const QString n = QStringLiteral("Number of drawing primitives: ") + c.n;
        ASSERT_NE(Named<QLabel>(dlg, x), nullptr) << x.toStdString();
        ASSERT_NE(Named<QLabel>(dlg, y), nullptr) << y.toStdString();
        EXPECT_EQ(Named<QLabel>(dlg, y)->text(), c.y);
        ASSERT_NE(Named<QLabel>(dlg, n), nullptr) << n.toStdString();
        EXPECT_EQ(Named<QLabel>(dlg, x)->text(), c.x);
        EXPECT_EQ(Named<QLabel>(dlg, n)->text(), c.n);
        Click(dlg, "OK");
        EXPECT_FALSE(dlg.isVisible());
    }
}
