// Edit > Insert: the records of another plot file appended to the drawing.
#include <QFileInfo>

#include "app/document/OpenDrawing.h"
#include "app/view/KorvaneView.h"
#include "plot/KorvaneDoc.h"
#include "widgets/Prompts.h"

bool OpenDrawing::Insert(CKorvaneView* issuingView) {
    QString path = m_path.isEmpty() ? QString() : QFileInfo(m_path).absolutePath();
    if (!m_prompts.ChooseFileToOpen(QStringLiteral("Open File"), QStringLiteral("plt"),
                                    {QStringLiteral("Files (*.plt)")}, path)) {
        return false;
    }
    // The issuing view's paint under way ends first, so the measuring paint sees the whole
    // merged drawing from its start.
    if (issuingView) issuingView->FinishPainting();
    m_pendingMessages.clear();
    // Read into a drawing of its own while the views go on painting this one; appended here.
    CKorvaneDoc incoming(*this);
    const bool complete = ReadChecked(
        path, incoming, [&incoming](const std::string& name) { incoming.InsertFile(name); },
        nullptr);
    if (incoming.WasReadStopped()) return false;  // cancelled: the drawing stays as it was
    // A damaged file or a read error part-way: the message, and what was read is merged.
    for (const QString& message : m_pendingMessages) m_prompts.Warning(message);
    m_pendingMessages.clear();
    if (incoming.Primitives().empty() && !complete) return false;
    for (CKorvaneView* view : m_views) view->DropPaint();  // they read the records meanwhile
    m_doc->TakeInserted(incoming);
    SetModifiedFlag(true);
    DrawingChanged();
    for (CKorvaneView* view : m_views) {
        // The issuing view measures the merged drawing and fits it, whatever it showed; the
        // others show it where they look.
        if (view == issuingView) view->View().State().SetFitted(false);
        view->Invalidate();
    }
    return complete;
}
