#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <functional>
#include <memory>

#include "app/ScriptedPrompts.h"
#include "app/dialogs/CDxfParms.h"
#include "app/dialogs/COptionsDlg.h"
#include "app/dialogs/CPageDlg.h"
#include "app/dialogs/CStatusDlg.h"
#include "fontdlg/CFasterFontDlg.h"

// What a screen reader hears of every dialog: each field and button has a name, and each text
// on show is in the name of the control that shows it.
TEST(Dialogs, EveryControlReadsAsItShows) {
    QAccessible::setActive(true);
    ScriptedPrompts prompts;
    const std::function<std::unique_ptr<QDialog>()> makers[] = {
        [&] { return std::make_unique<COptionsDlg>(prompts); },
        [&] { return std::make_unique<CDxfParms>(prompts); },
        [] { return std::make_unique<CStatusDlg>(3300.0f, 2550.0f, 300, 1234); },
        [] { return std::make_unique<CPageDlg>(); },
        [] { return std::make_unique<CFasterFontDlg>("Velmaro", 2); }};
    for (const auto& make : makers) {
        const std::unique_ptr<QDialog> dialog = make();
        dialog->show();
        SCOPED_TRACE(dialog->windowTitle().toStdString());
        for (QWidget* w : dialog->findChildren<QWidget*>()) {
            const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
            if (auto* label = qobject_cast<QLabel*>(w)) {
                const QString shown = QString(label->text()).remove(QLatin1Char('&'));
                EXPECT_TRUE(name.contains(shown)) << name.toStdString();
            } else if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                       qobject_cast<QComboBox*>(w)) {
                if (w->isVisibleTo(dialog.get())) {
                    EXPECT_FALSE(name.isEmpty()) << w->metaObject()->className();
                }
            }
        }
    }
}
