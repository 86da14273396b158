// View > Pens: what each pen of the DXF export holds, and the pens a document's views hide.
#include "app/document/OpenDrawing.h"
#include "app/view/KorvaneView.h"
#include "plot/KorvaneDoc.h"

const PenSummary& OpenDrawing::PenUses() {
    if (!m_penUses) m_penUses = std::make_unique<PenSummary>(SummarizePens(m_doc->Primitives()));
    return *m_penUses;
}

std::string OpenDrawing::PenLayer(int pen) {
    LoadExportSettings();
    return m_doc->GetDxfSettings().layerName[pen - 1];
}

void OpenDrawing::SetPenHidden(int pen, bool hidden) {
    if (m_hiddenPens[pen - 1] == hidden) return;
    m_hiddenPens[pen - 1] = hidden;
    for (CKorvaneView* view : m_views) {
        view->View().SetHiddenPens(m_hiddenPens);
        view->Invalidate();
    }
    emit pensChanged();
}

void OpenDrawing::DrawingChanged() {
    m_penUses.reset();
    emit pensChanged();
}
