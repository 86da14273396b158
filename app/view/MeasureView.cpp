// View > Measure in a view: mouse and keys to the Qt-free measurement, and its points and
// segments drawn over the drawing's image, never into it.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/document/OpenDrawing.h"
#include "app/view/KorvaneView.h"
#include "render/PlotContext.h"
#include "render/PrimDraw.h"
#include "world/PaperToWorld.h"

void CKorvaneView::OnMeasure() {
    if (Measuring()) {
        m_view->State().LeaveMeasure();
        Changed(false);
        return;
    }
    // Indexed once per drawing, and not measured at all when the user cancels that.
    std::shared_ptr<const VertexIndex> index = m_document.SnapIndex(this);
    if (!index) return;
    if (ZoomWindowActive()) EndZoomWindow(false);
    m_measure.Clear();
    m_measure.SetIndex(std::move(index));
    m_view->State().SetMeasure();
    setFocus(Qt::OtherFocusReason);  // Backspace and Escape reach the view
    Changed(false);
}

void CKorvaneView::MeasureHover() {
    const std::optional<PaperToWorld>& world = m_document.World();
    m_measure.SetWorld(world ? std::optional<PlanWorld>(PlanOf(*world)) : std::nullopt);
    if (m_pointerInside) {
        // While a middle drag pans, the picture moves with the pointer.
        const QPoint at = m_panning ? m_pointer - m_panOffset : m_pointer;
        m_measure.Hover(m_view->State(), ClientWidth(), ClientHeight(), at.x(), at.y(), !m_snapOff);
    } else {
        m_measure.Leave();
    }
    MeasureUpdated();
}

void CKorvaneView::MeasureUpdated() {
    viewport()->update();
    emit measureChanged();
}

bool CKorvaneView::MeasurePress(QMouseEvent* event) {
    if (!Measuring()) return false;
    if (event->button() == Qt::RightButton) {
        m_measure.End();
        MeasureUpdated();
        return true;
    }
    if (event->button() != Qt::LeftButton) return false;
    // Records inserted since the index was built are indexed first.
    if (std::shared_ptr<const VertexIndex> index = m_document.SnapIndex(this)) {
        m_measure.SetIndex(std::move(index));
    }
    m_pointer = event->position().toPoint();
    m_pointerInside = true;
    m_snapOff = event->modifiers() & Qt::ShiftModifier;
    MeasureHover();
    m_measure.Click();
    MeasureUpdated();
    return true;
}

bool CKorvaneView::MeasureKey(QKeyEvent* event) {
    if (!Measuring()) return false;
    if (event->type() == QEvent::KeyRelease && event->key() != Qt::Key_Shift) return false;
    switch (event->key()) {
        case Qt::Key_Backspace:
            m_measure.RemoveLast();
            MeasureUpdated();
            return true;
        case Qt::Key_Escape:
            m_measure.End();
            MeasureUpdated();
            return true;
        case Qt::Key_Shift:
            // The mark follows Shift at once, without a move.
            m_snapOff = event->type() == QEvent::KeyPress;
            MeasureHover();
            return true;
        default:
            return false;
    }
}

void CKorvaneView::PaintMeasure(QPainter& painter) {
    if (!Measuring()) return;
    const QSizeF size = viewport()->size();
    auto client = [&](const PlanPoint& p) {
        double x, y;
        m_view->State().PlotToClient(p.x * RESOLUTION, p.y * RESOLUTION, ClientWidth(),
                                     ClientHeight(), x, y);
        return QPointF(x + m_panOffset.x(), y + m_panOffset.y());
    };
    painter.setRenderHint(QPainter::Antialiasing);
    // A dark line on a white halo stands out from every pen colour and from the paper.
    const QPen halo(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QPen line(QColor(kMeasureColor), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const std::vector<PlanPoint> path = m_measure.Path();
    const QRectF shown = QRectF(QPointF(), size).adjusted(-10, -10, 10, 10);
    for (const QPen& pen : {halo, line}) {
        painter.setPen(pen);
        for (std::size_t i = 1; i < path.size(); ++i) {
            const QPointF a = client(path[i - 1]), b = client(path[i]);
            double x0 = a.x(), y0 = a.y(), x1 = b.x(), y1 = b.y();
            // Clipped first: far outside the window a coordinate is more than a painter takes.
            if (!ClipLine(x0, y0, x1, y1, shown.left(), shown.right(), shown.top(),
                          shown.bottom())) {
                continue;
            }
            painter.drawLine(QPointF(x0, y0), QPointF(x1, y1));
        }
        for (const PlanPoint& p : m_measure.Points()) {
            const QPointF c = client(p);
            if (shown.contains(c)) painter.drawRect(QRectF(c - QPointF(3, 3), QSizeF(6, 6)));
        }
        // The vertex a click would snap to.
        if (m_measure.Target() && m_measure.Snapped()) {
            const QPointF c = client(*m_measure.Target());
            const double r = MeasureSession::kSnapPixels;
            if (shown.contains(c)) painter.drawEllipse(c, r, r);
        }
    }
}
