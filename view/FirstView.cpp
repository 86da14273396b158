#include "view/FirstView.h"

#include <cstdio>

#include "plot/KorvaneDoc.h"
#include "render/CountingSurface.h"
#include "render/TraceSurface.h"

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

void FirstView::Trace(const std::function<void(const std::string&)>& sink) {
    TraceSurface surface;
    surface.StreamTo(sink);
    Paint(surface);
    surface.EndStream();
    char end[128];
    std::snprintf(end, sizeof end, "end %d %.3f %.3f\n", m_view.m_drawnCount,
                  static_cast<double>(m_view.m_context.GetMaxX()),
                  static_cast<double>(m_view.m_context.GetMaxY()));
    sink(end);
}

std::string FirstView::Trace() {
    std::string text;
    Trace([&](const std::string& piece) { text += piece; });
    return text;
}
