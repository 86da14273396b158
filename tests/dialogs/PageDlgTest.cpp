#include <gtest/gtest.h>

#include <QRadioButton>

#include "app/dialogs/CPageDlg.h"
#include "dialogs/DialogTestKit.h"

TEST(PageDlg, ShowsTheModeAndReturnsTheChoiceOnOkOnly) {
    struct Case {
        int mode;
        const char* shown;
        const char* clicked;
        const char* button;
        int after;
    } cases[] = {{0, "Print at 1:1 scale", "Fit to page", "OK", 1},
                 {1, "Fit to page", "Print at 1:1 scale", "OK", 0},
                 {0, "Print at 1:1 scale", "Fit to page", "Cancel", 0},
                 {1, "Fit to page", "Fit to page", "OK", 1}};
    for (const Case& c : cases) {
        CPageDlg dlg;
        dlg.m_printMode = c.mode;
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), "Page Setup");
        EXPECT_TRUE(Named<QRadioButton>(dlg, c.shown)->isChecked()) << c.mode;
        Click(dlg, c.clicked);
        Click(dlg, c.button);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.m_printMode, c.after) << c.mode << ' ' << c.clicked << ' ' << c.button;
    }
}
