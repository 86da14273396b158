#include "view/FirstView.h"

#include "plot/KorvaneDoc.h"
#include "render/CountingSurface.h"

FirstView::FirstView(const CKorvaneDoc& doc, int width, int height, const std::string& face,
                     int lineWidth)
    : m_doc(doc), m_host(width, height) {
    m_view.m_context.m_faceName = face;
    m_view.m_lineWidth = lineWidth;
    CountingSurface first;  // the first paint only measures
    m_view.OnDraw(first, m_host, m_doc.m_primitives);
}

void FirstView::Paint(DrawSurface& dc) {
    m_view.OnDraw(dc, m_host, m_doc.m_primitives);
}
