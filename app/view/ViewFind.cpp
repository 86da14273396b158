// Edit > Find in one view: the search of the drawing's text, the zoom to a match and its mark.
#include <algorithm>
#include <utility>

#include "app/document/OpenDrawing.h"
#include "app/view/KorvaneView.h"
#include "plot/KorvaneDoc.h"
#include "widgets/Prompts.h"

namespace {
// The text as bytes of the drawing's Latin-1; false when it holds a character no drawing can.
bool ToDrawingBytes(const QString& text, std::string& bytes) {
    bytes.clear();
    for (const QChar c : text) {
        if (c.unicode() > 0xFF) return false;
        bytes.push_back(static_cast<char>(c.unicode()));
    }
    return true;
}
}  // namespace

QString CKorvaneView::FindText(const QString& text, bool matchCase, bool forward) {
    const PrimitiveList& primitives = m_document.Doc().Primitives();
    std::string needle;
    const bool drawable = ToDrawingBytes(text, needle);
    const unsigned long hidden = m_view->HiddenPens().to_ulong();
    if (!m_find.valid || m_find.text != needle || m_find.matchCase != matchCase ||
        m_find.records != primitives.size() || m_find.hidden != hidden) {
        m_find = FindResults();
        if (drawable) {
            BeginWaitCursor();
            // Texts of hidden pens are not there to be found.
            m_find.matches =
                ::FindText(primitives, needle, matchCase, static_cast<std::uint8_t>(hidden));
            EndWaitCursor();
        }
        m_find.text = needle;
        m_find.matchCase = matchCase;
        m_find.records = primitives.size();
        m_find.hidden = hidden;
        m_find.valid = true;
    }
    const int count = static_cast<int>(m_find.matches.size());
    // The first paint's fit would undo the zoom: it comes first.
    if (!m_view->State().IsFitted()) m_paint->FinishPainting();
    if (count == 0) {
        m_prompts.Information(QStringLiteral("Cannot find \"%1\".").arg(text));
        return QString();
    }
    int& at = m_find.current;
    at = at < 0 ? (forward ? 0 : count - 1) : (at + (forward ? 1 : count - 1)) % count;
    const TextMatch& match = m_find.matches[static_cast<std::size_t>(at)];
    // A match beyond any view (a hostile file's) is counted but not zoomed to.
    const bool shown = m_view->State().ZoomToBox(match.left * RESOLUTION, match.bottom * RESOLUTION,
                                                 match.right * RESOLUTION, match.top * RESOLUTION,
                                                 ClientWidth(), ClientHeight());
    Changed(shown);
    m_mark = match;
    viewport()->update();
    return QStringLiteral("Match %1 of %2").arg(at + 1).arg(count);
}

std::optional<QRect> CKorvaneView::MarkOnScreen() const {
    const std::optional<QRectF> rect = m_mark ? MarkRect(*m_mark) : std::nullopt;
    if (!rect) return std::nullopt;
    const QRect client = rect->toAlignedRect();
    return QRect(viewport()->mapToGlobal(client.topLeft()), client.size());
}

std::optional<QRectF> CKorvaneView::MarkRect(const TextMatch& match) const {
    // Client pixels to plot units is a scale and a shift on each axis: inverted from two points.
    const ViewState& state = m_view->State();
    const int w = ClientWidth(), h = ClientHeight();
    double x0, y0, x1, y1;
    state.ClientToPlot(0, 0, w, h, x0, y0);
    state.ClientToPlot(1, 1, w, h, x1, y1);
    const double sx = x1 - x0, sy = y1 - y0;
    if (sx == 0 || sy == 0) return std::nullopt;
    double left = (match.left * RESOLUTION - x0) / sx, right = (match.right * RESOLUTION - x0) / sx;
    double top = (match.top * RESOLUTION - y0) / sy, bottom = (match.bottom * RESOLUTION - y0) / sy;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    // Only what lies near the client is drawn, cut to it: far or not finite, nothing is marked.
    const double margin = 16;
    if (!(right >= -margin && left <= w + margin && bottom >= -margin && top <= h + margin)) {
        return std::nullopt;
    }
    left = std::max(left, -margin);
    top = std::max(top, -margin);
    right = std::min(right, w + margin);
    bottom = std::min(bottom, h + margin);
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}
