#include <gtest/gtest.h>

#include <QLabel>

#include "app/dialogs/CStatusDlg.h"
#include "dialogs/DialogTestKit.h"

TEST(StatusDlg, ShowsTheSizeInInchesAndTheCount) {
    struct Case {
        float maxX, maxY;  // resolution units
        int count;
        const char *x, *y, *n;
    } cases[] = {{3300, 2550, 1234, "11.00", "8.50", "1234"},
                 {0, 0, 0, "0.00", "0.00", "0"},
                 {100, 1e7f, 5, "0.33", "33333.33", "5"},
                 {1501.5f, 3013.5f, 1, "5.00", "10.04", "1"}};  // 5.01, 10.05 in float
    for (const Case& c : cases) {
        CStatusDlg dlg(c.maxX, c.maxY, 300, c.count);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), "Drawing Status");
        // A screen reader hears each caption with its figure.
        EXPECT_EQ(Named<QLabel>(dlg, QStringLiteral("Drawing size X: ") + c.x)->text(), c.x);
        EXPECT_EQ(Named<QLabel>(dlg, QStringLiteral("Drawing size Y: ") + c.y)->text(), c.y);
        EXPECT_EQ(
            Named<QLabel>(dlg, QStringLiteral("Number of drawing primitives: ") + c.n)->text(),
            c.n);
        Click(dlg, "OK");
        EXPECT_FALSE(dlg.isVisible());
    }
}
