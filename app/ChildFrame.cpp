#include "app/ChildFrame.h"

#include <QCloseEvent>
#include <QIcon>

#include "app/KorvaneView.h"
#include "app/PlotDocument.h"

CChildFrame::CChildFrame(CKorvaneView* view) : m_view(view) {
    setWidget(view);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/korvane.svg")));
}

void CChildFrame::CloseWithoutPrompt() {
    m_prompted = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    PlotDocument& document = m_view->GetDocument();
    if (!m_prompted && document.Views().size() == 1 && !document.SaveModified()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
}
