// Edit > Find, Find Next (F3) and Find Previous (Shift+F3) on the active view.
#include <QAction>
#include <QMdiArea>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>

#include "app/dialogs/CFindDlg.h"
#include "app/frame/ChildFrame.h"
#include "app/frame/FrameHost.h"
#include "app/frame/MainFrame.h"
#include "app/view/KorvaneView.h"

void CMainFrame::CreateFindCommands() {
    QAction* find = MakeCommand(QStringLiteral("&Find...\tCtrl+F"),
                                QStringLiteral("Find text in the drawing\nFind"));
    find->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    QAction* next = MakeCommand(QStringLiteral("Find &Next\tF3"),
                                QStringLiteral("Find the next occurrence of the text\nFind Next"));
    next->setShortcut(QKeySequence(Qt::Key_F3));
    QAction* previous =
        MakeCommand(QStringLiteral("Find Pre&vious\tShift+F3"),
                    QStringLiteral("Find the previous occurrence of the text\nFind Previous"));
    previous->setShortcut(QKeySequence(QStringLiteral("Shift+F3")));

    connect(find, &QAction::triggered, this, [this, next, previous] {
        if (!m_findDialog) {
            m_findDialog = new CFindDlg(this);
            m_findDialog->onFind = [this](bool forward) { FindAgain(forward); };
            // F3 and Shift+F3 work in the dialog as in the view.
            m_findDialog->addAction(next);
            m_findDialog->addAction(previous);
        }
        m_findDialog->show();
        m_findDialog->raise();
        m_findDialog->activateWindow();
    });
    connect(next, &QAction::triggered, this, [this] { FindAgain(true); });
    connect(previous, &QAction::triggered, this, [this] { FindAgain(false); });
}

void CMainFrame::FindAgain(bool forward) {
    // While the dialog is the active window the workspace may name no active window: the
    // current one is the view the user last worked in.
    CKorvaneView* view = m_app.ActiveView();
    if (auto* frame = qobject_cast<CChildFrame*>(m_mdiArea->currentSubWindow()); !view && frame) {
        view = frame->View();
    }
    if (!view) return;
    // Nothing asked yet: the dialog asks what to find.
    if (!m_findDialog || m_findDialog->Text().isEmpty()) {
        Command(QStringLiteral("Find"))->trigger();
        return;
    }
    const QString result = view->FindText(m_findDialog->Text(), m_findDialog->MatchCase(), forward);
    if (!result.isEmpty()) statusBar()->showMessage(result);
    // The dialog steps aside from the match it would hide: below it, or above when no room.
    const std::optional<QRect> mark = view->MarkOnScreen();
    if (mark && m_findDialog->isVisible()) {
        const QRect box = m_findDialog->frameGeometry();
        if (box.intersects(mark->adjusted(-8, -8, 8, 8))) {
            const QRect screen = m_findDialog->screen()->availableGeometry();
            const int below = mark->bottom() + 24;
            const int y =
                below + box.height() <= screen.bottom() ? below : mark->top() - 24 - box.height();
            m_findDialog->move(box.left(), std::max(screen.top(), y));
        }
    }
    UpdateCommands();
}
