#include "app/frame/ChildFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QMenu>

#include "app/document/OpenDrawing.h"
#include "app/view/KorvaneView.h"

CChildFrame::CChildFrame(CKorvaneView* view) : m_view(view) {
    setWidget(view);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/korvane.svg")));
    // Ctrl+W is File > Close, which closes the whole document; the window menu's own Close
    // keeps Ctrl+F4.
    const QKeySequence closeKey(QStringLiteral("Ctrl+W"));
    for (QAction* action : systemMenu()->actions()) {
        QList<QKeySequence> keys = action->shortcuts();
        if (keys.removeAll(closeKey) > 0) action->setShortcuts(keys);
    }
}

void CChildFrame::CloseWithoutPrompt() {
    m_prompted = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    OpenDrawing& document = m_view->GetDocument();
    if (!m_prompted && document.Views().size() == 1 && !document.SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
