#include "view/FirstView.h"

#include "plot/KorvaneDoc.h"
#include "plot/NumberText.h"
#include "render/CountingSurface.h"
#include "render/TraceSurface.h"

namespace {
// "end DRAWN MAXX MAXY\n" ("%d %.3f %.3f").
std::string EndLine(const PlotView& view) {
    char number[kMaxFixed];
    std::string line = "end " + std::string(number, FormatInt(number, view.GetDrawnCount(), 0));
    for (float extent : {view.Context().GetMaxX(), view.Context().GetMaxY()}) {
        line += ' ';
        line.append(number, FormatFixed(number, static_cast<double>(extent), 0, 3));
    }
    return line + '\n';
}
}  // namespace

FirstView::FirstView(const CKorvaneDoc& doc, int width, int height, const std::string& face,
                     int lineWidth)
    : m_doc(doc), m_host(width, height) {
    m_view.Context().SetFaceName(face);
    m_view.SetLineWidth(lineWidth);
    CountingSurface first;  // the first paint only measures
    m_view.OnDraw(first, m_host, m_doc.Primitives());
}

void FirstView::Paint(DrawSurface& dc) {
    m_view.OnDraw(dc, m_host, m_doc.Primitives());
}

void FirstView::Trace(const std::function<void(const std::string&)>& sink) {
    TraceSurface surface;
    surface.StreamTo(sink);
    Paint(surface);
    surface.EndStream();
    sink(EndLine(m_view));
}

std::string FirstView::Trace() {
    std::string text;
    Trace([&](const std::string& piece) { text += piece; });
    return text;
}
