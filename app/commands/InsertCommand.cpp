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
    const std::size_t before = m_doc->Primitives().size();
    const bool complete = ReadChecked(
        path, [this](const std::string& name) { m_doc->InsertFile(name); }, nullptr);
    // A damaged file or a read error part-way: the message, and what was read stays merged.
    for (const QString& message : m_pendingMessages) m_prompts.Warning(message);
    m_pendingMessages.clear();
    if (m_doc->Primitives().size() == before && !complete) return false;
    SetModifiedFlag(true);
    for (CKorvaneView* view : m_views) {
        // The issuing view measures the merged drawing and fits it, whatever it showed; the
        // others show it where they look.
        if (view == issuingView) view->View().State().SetFitted(false);
        view->Invalidate();
    }
    return complete;
}
