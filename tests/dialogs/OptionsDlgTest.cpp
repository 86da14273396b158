#include <gtest/gtest.h>

#include "app/ScriptedPrompts.h"
#include "app/dialogs/COptionsDlg.h"
#include "dialogs/DialogTestKit.h"

namespace {
const QString kField = QStringLiteral("Zoom / Pan increment factor");
}

TEST(OptionsDlg, ShowsTheCurrentStepAndIsLabelled) {
    ScriptedPrompts prompts;
    COptionsDlg dlg(prompts);
    dlg.m_increment = 10;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Options");
    QLineEdit* edit = Named<QLineEdit>(dlg, kField);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "10");
    EXPECT_NE(Named<QAbstractButton>(dlg, "OK"), nullptr);
    EXPECT_NE(Named<QAbstractButton>(dlg, "Cancel"), nullptr);
}

TEST(OptionsDlg, RefusesStepsOutside1To99WithTheirMessages) {
    struct Case {
        const char* typed;
        const char* message;  // nullptr: accepted
    } cases[] = {{"0", "Please enter an integer between 1 and 99."},
                 {"100", "Please enter an integer between 1 and 99."},
                 {"ten", "Please enter a positive integer."},
                 {"-3", "Please enter a positive integer."},
                 {"4294967296", "Please enter a positive integer."},
                 {"4294967295", "Please enter an integer between 1 and 99."},
                 {"1", nullptr},
                 {"99", nullptr}};
    for (const Case& c : cases) {
        ScriptedPrompts prompts;
        COptionsDlg dlg(prompts);
        dlg.m_increment = 10;
        dlg.show();
        QLineEdit* edit = Named<QLineEdit>(dlg, kField);
        Type(edit, c.typed);
        Click(dlg, "OK");
        if (c.message) {
            EXPECT_EQ(prompts.m_shown, QStringList{QStringLiteral("warning: ") + c.message})
                << c.typed;
            EXPECT_TRUE(dlg.isVisible()) << c.typed;
            EXPECT_EQ(dlg.m_increment, 10u) << c.typed;
            EXPECT_EQ(dlg.focusWidget(), edit) << c.typed;
            EXPECT_EQ(edit->selectedText(), c.typed) << c.typed;
        } else {
            EXPECT_TRUE(prompts.m_shown.isEmpty()) << c.typed;
            EXPECT_EQ(dlg.result(), QDialog::Accepted) << c.typed;
            EXPECT_EQ(dlg.m_increment, std::stoul(c.typed)) << c.typed;
        }
    }
}

TEST(OptionsDlg, CancelKeepsTheStep) {
    ScriptedPrompts prompts;
    COptionsDlg dlg(prompts);
    dlg.m_increment = 25;
    dlg.show();
    Type(Named<QLineEdit>(dlg, kField), "5");
    Click(dlg, "Cancel");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dlg.m_increment, 25u);
}
