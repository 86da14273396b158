#include <gtest/gtest.h>

#include <QLabel>

#include "app/dialogs/CStatusDlg.h"
#include "dialogs/DialogTestKit.h"

TEST(StatusDlg, ShowsTheSizeInInchesAndTheCount) {
    struct Case {
        double maxX, maxY;  // resolution units
        int count;
        const char *x, *y, *n;
    } cases[] = {{3300, 2550, 1234, "11.00", "8.50", "1234"},
                 {0, 0, 0, "0.00", "0.00", "0"},
                 {100, 1e7, 5, "0.33", "33333.33", "5"}};
    for (const Case& c : cases) {
        CStatusDlg dlg(c.maxX / 300, c.maxY / 300, c.count);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), "Drawing Status");
        EXPECT_EQ(Named<QLabel>(dlg, "Drawing size X")->text(), c.x);
        EXPECT_EQ(Named<QLabel>(dlg, "Drawing size Y")->text(), c.y);
        EXPECT_EQ(Named<QLabel>(dlg, "Number of drawing primitives")->text(), c.n);
        Click(dlg, "OK");
        EXPECT_FALSE(dlg.isVisible());
    }
}
