// Edit > Insert: the records of another plot file appended to the drawing.
#include <QFileInfo>

#include "app/KorvaneView.h"
#include "app/PlotDocument.h"
#include "app/Prompts.h"
#include "plot/KorvaneDoc.h"

bool PlotDocument::Insert(CKorvaneView* issuingView) {
    QString path = m_path.isEmpty() ? QString() : QFileInfo(m_path).absolutePath();
    if (!m_prompts.ChooseFileToOpen(QStringLiteral("Open File"), QStringLiteral("plt"),
                                    {QStringLiteral("Files (*.plt)")}, path)) {
        return false;
    }
    m_pendingMessages.clear();
    if (!ReadChecked(
            path, [this](const std::string& name) { m_doc->InsertFile(name); }, nullptr)) {
        return false;
    }
    // A damaged file: the reader's message, and what was read stays merged.
    for (const QString& message : m_pendingMessages) m_prompts.Warning(message);
    m_pendingMessages.clear();
    SetModifiedFlag(true);
    for (CKorvaneView* view : m_views) {
        if (view == issuingView) {
            view->OnNormalView();
        } else {
            view->Invalidate();
        }
    }
    return true;
}
