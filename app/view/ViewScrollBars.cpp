// The view's scroll bars: their actions, wheel and release as the view state's scroll calls, and
// their range and thumbs kept in step with where the view looks.
#include <QScrollBar>
#include <QWheelEvent>
#include <cstdlib>

#include "app/view/KorvaneView.h"

void CKorvaneView::SendScroll(ScrollBar bar, int code, int position) {
    // A key is a whole scroll action: the step and its end.
    m_view->State().Scroll(bar, code, position);
    Changed(m_view->State().Scroll(bar, SB_ENDSCROLL).result == ScrollResult::Repaint);
}

void CKorvaneView::ScrollAction(ScrollBar bar, int action) {
    QScrollBar* sb = bar == ScrollBar::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    int code = -1;
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            code = SB_LINELEFT;  // also line up: the arrow at the top
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            code = SB_LINERIGHT;
            break;
        case QAbstractSlider::SliderPageStepSub:
            code = SB_PAGELEFT;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            code = SB_PAGERIGHT;
            break;
        case QAbstractSlider::SliderMove:
            code = SB_THUMBTRACK;
            m_thumbMoved = true;
            break;
        case QAbstractSlider::SliderToMinimum:
            code = SB_TOP;
            break;
        case QAbstractSlider::SliderToMaximum:
            code = SB_BOTTOM;
            break;
        default:
            return;
    }
    m_view->State().Scroll(bar, code);
    // The thumb shows where the view now is, not where the bar would move it; a dragged thumb
    // follows the mouse.
    if (code != SB_THUMBTRACK) {
        UpdateScrollBars();
        sb->setSliderPosition(sb->value());
    }
    emit stateChanged();
    ReportCursor();
}

bool CKorvaneView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != horizontalScrollBar() && watched != verticalScrollBar()) {
        return QAbstractScrollArea::eventFilter(watched, event);
    }
    auto* sb = static_cast<QScrollBar*>(watched);
    const ScrollBar bar =
        watched == horizontalScrollBar() ? ScrollBar::Horizontal : ScrollBar::Vertical;
    if (event->type() == QEvent::Wheel) {
        // Each notch over a bar is one line step of the drawing, up or left for a notch up.
        const QPoint delta = static_cast<QWheelEvent*>(event)->angleDelta();
        m_barWheelDelta += delta.y() != 0 ? delta.y() : delta.x();
        const int notches = m_barWheelDelta / 120;
        m_barWheelDelta -= notches * 120;
        for (int i = 0; i < std::abs(notches); ++i) {
            SendScroll(bar, notches > 0
                                ? (bar == ScrollBar::Horizontal ? SB_LINELEFT : SB_LINEUP)
                                : (bar == ScrollBar::Horizontal ? SB_LINERIGHT : SB_LINEDOWN));
        }
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        // The end of a scroll action: a dragged thumb first sets the position, taken whole.
        if (sb->isSliderDown() && m_thumbMoved) {
            m_view->State().Scroll(bar, SB_THUMBPOSITION,
                                   m_view->State().ScrollPosition(bar, sb->sliderPosition(),
                                                                  ClientWidth(), ClientHeight()));
        }
        m_thumbMoved = false;
        const bool repaint =
            m_view->State().Scroll(bar, SB_ENDSCROLL).result == ScrollResult::Repaint;
        Changed(repaint);
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void CKorvaneView::UpdateScrollBars() {
    const ScrollBarSettings bars = m_view->State().ScrollBars(ClientWidth(), ClientHeight());
    const auto show = [](QScrollBar* sb, const ScrollBarShown& shown) {
        if (sb->isSliderDown()) return;  // the thumb being dragged stays with the mouse
        const QSignalBlocker block(sb);
        sb->setRange(0, shown.maximum);
        sb->setPageStep(shown.pageStep);
        sb->setValue(shown.value);
    };
    show(horizontalScrollBar(), bars.horizontal);
    show(verticalScrollBar(), bars.vertical);
}
