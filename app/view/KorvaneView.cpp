#include "app/view/KorvaneView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QScrollBar>
#include <QWheelEvent>

#include "app/dialogs/COptionsDlg.h"
#include "app/dialogs/CStatusDlg.h"
#include "app/document/OpenDrawing.h"
#include "app/work/BackgroundWork.h"
#include "app/work/JobRunner.h"
#include "plot/KorvaneDoc.h"
#include "render/CountingSurface.h"
#include "res/Cursors.h"
#include "view/ViewHost.h"
#include "widgets/Prompts.h"

CKorvaneView::CKorvaneView(OpenDrawing& document, Prompts& prompts, QWidget* parent)
    : QAbstractScrollArea(parent),
      m_document(document),
      m_prompts(prompts),
      m_view(std::make_unique<PlotView>()),
      m_zoomCursor(ZoomCursor()),
      m_windowCursor(WindowCursor()) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Drawing"));
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_band = new QRubberBand(QRubberBand::Rectangle, viewport());
    m_paint = std::make_unique<PaintScheduler>(
        *viewport(), *this, [this]() -> PlotView& { return *m_view; },
        [this]() -> const PrimitiveList& { return m_document.Doc().Primitives(); });
    connect(m_paint.get(), &PaintScheduler::imageStarted, this, [this] { m_panOffset = QPoint(); });
    connect(m_paint.get(), &PaintScheduler::imageGrew, viewport(), qOverload<>(&QWidget::update));
    connect(m_paint.get(), &PaintScheduler::passEnded, this, &CKorvaneView::OnPassEnded);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { ScrollAction(ScrollBar::Horizontal, action); });
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { ScrollAction(ScrollBar::Vertical, action); });
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        // Keys reach the bars through the view, each as one whole scroll action; the bars' own
        // menu would move them without ending an action.
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setContextMenuPolicy(Qt::NoContextMenu);
        bar->installEventFilter(this);
    }
    connect(&m_document, &OpenDrawing::drawingReplaced, this, &CKorvaneView::OnDrawingReplaced);
    // New settings move the world position under a resting pointer.
    connect(&m_document, &OpenDrawing::exportSettingsChanged, this, &CKorvaneView::ReportCursor);
    UpdateScrollBars();
    m_document.AddView(this);
    Invalidate();
}

CKorvaneView::~CKorvaneView() {
    // A pass ending asks this view for a repaint: it goes while the scheduler is still here.
    m_paint->Drop();
    m_paint.reset();
    m_document.RemoveView(this);
}

int CKorvaneView::ClientWidth() const {
    return viewport()->width();
}

int CKorvaneView::ClientHeight() const {
    return viewport()->height();
}

void CKorvaneView::Invalidate() {
    m_paint->Request();
}

void CKorvaneView::OnPassEnded() {
    UpdateScrollBars();
    viewport()->update();
    emit stateChanged();
    ReportCursor();  // a first paint has just fitted the view
}

void CKorvaneView::BeginWaitCursor() {
    if (m_busy++ == 0) UpdateCursor();
}

void CKorvaneView::EndWaitCursor() {
    if (--m_busy == 0) UpdateCursor();
}

void CKorvaneView::UpdateCursor() {
    if (m_busy > 0) {
        viewport()->setCursor(Qt::BusyCursor);
    } else if (m_view->State().GetZoomMode() == ZOOM_INCREMENTAL) {
        viewport()->setCursor(m_zoomCursor);
    } else if (m_view->State().GetZoomMode() == ZOOM_WINDOW) {
        viewport()->setCursor(m_windowCursor);
    } else if (Measuring()) {
        viewport()->setCursor(Qt::CrossCursor);
    } else {
        viewport()->unsetCursor();
    }
}

QString CKorvaneView::RunOnSnapshot(const QString& what, const SnapshotWork& work) {
    PaintScheduler::Snapshot shot = m_paint->TakeSnapshot();
    const std::shared_ptr<PlotView> view = std::move(shot.view);
    const SharedRecords records = m_document.Doc().Records();
    const int passes = shot.passes, width = ClientWidth(), height = ClientHeight();
    return m_document.Background().Run(this, what, &m_document, true,
                                       [&, view, records](JobControl& control) {
                                           // A copy or print continues from the state the screen's
                                           // paints leave.
                                           for (int i = 0; i < passes; ++i) {
                                               BlindSurface nothing;
                                               FixedSizeHost host(width, height);
                                               PaintPass pass(*view, nothing, host, *records, 0);
                                               while (pass.Step(65536)) {
                                                   if (control.Cancelled()) throw JobStopped();
                                               }
                                           }
                                           work(*view, *records, control);
                                       });
}

void CKorvaneView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    if (!m_paint->Image().isNull()) painter.drawImage(m_panOffset, m_paint->Image());
    if (const std::optional<QRectF> mark = m_mark ? MarkRect(*m_mark) : std::nullopt) {
        // Over the picture, never into it: prints and copies do not show it.
        painter.setPen(QPen(QColor(0, 120, 215), 2));
        painter.setBrush(QColor(0, 120, 215, 40));
        painter.drawRect(mark->translated(m_panOffset).toAlignedRect().adjusted(-4, -4, 4, 4));
    }
    PaintMeasure(painter);
}

void CKorvaneView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();  // the thumbs show the share of the range the client now shows
    Invalidate();
}

bool CKorvaneView::viewportEvent(QEvent* event) {
    // The scroll area would turn wheel events into scrolling; the view zooms instead.
    if (event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    // Over the scroll bars the pointer is off the drawing, though still in the view.
    if (event->type() == QEvent::Leave) {
        m_pointerInside = false;
        emit cursorMoved(false, 0, 0);
        if (Measuring()) MeasureHover();
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void CKorvaneView::Changed(bool repaint) {
    if (m_mark) {
        m_mark.reset();
        viewport()->update();
    }
    if (repaint) Invalidate();
    if (!Measuring()) {
        // Another mode took the place of measuring: its points go.
        m_measure.Clear();
        m_measure.Leave();
    }
    MeasureUpdated();
    UpdateScrollBars();
    UpdateCursor();
    emit stateChanged();
    ReportCursor();
}

void CKorvaneView::ReportCursor() {
    if (Measuring()) MeasureHover();
    if (!m_pointerInside) return;
    // While a middle drag pans, the picture moves with the pointer.
    const QPoint at = m_panning ? m_pointer - m_panOffset : m_pointer;
    double x, y;
    m_view->State().ClientToPlot(at.x(), at.y(), ClientWidth(), ClientHeight(), x, y);
    emit cursorMoved(true, x / RESOLUTION, y / RESOLUTION);
}

void CKorvaneView::ZoomAboutPoint(QPoint client, bool zoomIn) {
    m_view->State().ZoomAbout(client.x(), client.y(), zoomIn, ClientWidth(), ClientHeight());
    Changed(true);
}

void CKorvaneView::ZoomAtPoint(QPoint client, bool zoomIn) {
    m_view->State().ZoomAt(client.x(), client.y(), zoomIn, ClientWidth(), ClientHeight());
    Changed(true);
}

void CKorvaneView::OnZoomIn() {
    if (!ZoomWindowActive()) ZoomAtPoint(QPoint(ClientWidth() / 2, ClientHeight() / 2), true);
}

void CKorvaneView::OnZoomOut() {
    if (!ZoomWindowActive()) ZoomAtPoint(QPoint(ClientWidth() / 2, ClientHeight() / 2), false);
}

void CKorvaneView::OnZoomedView() {
    // A second choice leaves the mode.
    if (m_view->State().GetZoomMode() == ZOOM_INCREMENTAL) {
        m_view->State().LeaveZoomedView();
    } else {
        if (ZoomWindowActive()) EndZoomWindow(false);
        m_view->State().SetZoomedView();
    }
    Changed(false);
}

void CKorvaneView::OnNormalView() {
    // Its key now reaches it during a Zoom Window too: that drag ends first.
    if (ZoomWindowActive()) EndZoomWindow(false);
    Changed(m_view->State().ZoomAll(ClientWidth(), ClientHeight()));
}

void CKorvaneView::OnZoomWindow() {
    if (ZoomWindowActive()) return;
    m_view->State().BeginZoomWindow();
    m_tracking = false;
    // Nothing is grabbed: the press inside the view starts the drag (the mouse then stays with
    // the view until the release), and Escape reaches the view through its focus.
    setFocus(Qt::OtherFocusReason);
    Changed(false);
}

void CKorvaneView::EndZoomWindow(bool accepted) {
    m_band->hide();
    const bool tracked = m_tracking;
    m_tracking = false;
    Changed(m_view->State().EndZoomWindow(accepted && tracked, m_anchor.x(), m_anchor.y(),
                                          m_last.x(), m_last.y(), ClientWidth(), ClientHeight()));
}

void CKorvaneView::OnZoomPrevious() {
    Changed(m_view->State().ZoomPrevious());
}

void CKorvaneView::OnOptions() {
    COptionsDlg dialog(m_prompts, this);
    dialog.m_increment = m_view->State().GetZoomFactor();
    if (dialog.exec() == QDialog::Accepted) m_view->State().SetZoomFactor(dialog.m_increment);
}

void CKorvaneView::OnDrawingStatus() {
    const CPlotContext& context = m_view->Context();
    CStatusDlg dialog(context.GetMaxX(), context.GetMaxY(), RESOLUTION, m_view->GetDrawnCount(),
                      this);
    dialog.exec();
}

void CKorvaneView::OnDrawingReplaced() {
    // A reloaded drawing is measured and fitted afresh; the history no longer applies.
    m_paint->Drop();
    auto fresh = std::make_unique<PlotView>();
    fresh->SetLineWidth(m_view->GetLineWidth());
    fresh->Context().SetFaceName(m_view->Context().GetFaceName());
    fresh->SetHiddenPens(m_view->HiddenPens());
    m_view = std::move(fresh);
    m_find = FindResults();
    UpdateScrollBars();
    Changed(true);
}

void CKorvaneView::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (ZoomWindowActive()) {
        if (event->button() == Qt::LeftButton) {
            m_tracking = true;
            m_anchor = m_last = pos;
            m_band->setGeometry(QRect(m_anchor, m_last).normalized());
            m_band->show();
        }
        return;
    }
    if (event->button() == Qt::MiddleButton) {
        m_panning = true;
        m_panStart = pos;
        return;
    }
    if (MeasurePress(event)) return;
    if (m_view->State().GetZoomMode() == ZOOM_INCREMENTAL &&
        (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
        // A click abandons the rest of an incremental-zoom paint and is the next zoom.
        m_paint->EndPass();
        ZoomAboutPoint(pos, event->button() == Qt::LeftButton);
        return;
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void CKorvaneView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    m_pointer = pos;
    m_pointerInside = true;
    m_snapOff = event->modifiers() & Qt::ShiftModifier;
    if (m_tracking) {
        m_last = pos;
        m_band->setGeometry(QRect(m_anchor, m_last).normalized());
    } else if (m_panning) {
        m_panOffset = pos - m_panStart;
        viewport()->update();
    }
    ReportCursor();
}

void CKorvaneView::mouseReleaseEvent(QMouseEvent* event) {
    if (m_tracking && event->button() == Qt::LeftButton) {
        EndZoomWindow(true);
        return;
    }
    if (m_panning && event->button() == Qt::MiddleButton) {
        m_panning = false;
        const QPoint d = event->position().toPoint() - m_panStart;
        if (!d.isNull()) {
            m_view->State().PanBy(d.x(), d.y(), ClientWidth(), ClientHeight());
            Changed(true);
        }
        return;
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void CKorvaneView::wheelEvent(QWheelEvent* event) {
    if (ZoomWindowActive()) return;
    // One zoom step per notch, each saved on the history like a click. Fine-grained wheels and
    // touchpads send parts of a notch, which add up.
    m_wheelDelta += event->angleDelta().y();
    const int notches = m_wheelDelta / 120;
    m_wheelDelta -= notches * 120;
    m_pointer = event->position().toPoint();
    m_pointerInside = true;
    for (int i = 0; i < std::abs(notches); ++i) {
        m_view->State().ZoomAt(m_pointer.x(), m_pointer.y(), notches > 0, ClientWidth(),
                               ClientHeight());
    }
    if (notches != 0) Changed(true);
    event->accept();
}

void CKorvaneView::keyPressEvent(QKeyEvent* event) {
    if (ZoomWindowActive()) {
        // Escape cancels the drag; other keys are ignored.
        if (event->key() == Qt::Key_Escape) EndZoomWindow(false);
        return;
    }
    if (MeasureKey(event)) return;
    switch (event->key()) {
        case Qt::Key_Left:
            return SendScroll(ScrollBar::Horizontal, SB_LINELEFT);
        case Qt::Key_Right:
            return SendScroll(ScrollBar::Horizontal, SB_LINERIGHT);
        case Qt::Key_Up:
            return SendScroll(ScrollBar::Vertical, SB_LINEUP);
        case Qt::Key_Down:
            return SendScroll(ScrollBar::Vertical, SB_LINEDOWN);
        case Qt::Key_PageUp:
            return SendScroll(ScrollBar::Vertical, SB_PAGEUP);
        case Qt::Key_PageDown:
            return SendScroll(ScrollBar::Vertical, SB_PAGEDOWN);
        default:
            break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CKorvaneView::keyReleaseEvent(QKeyEvent* event) {
    if (!MeasureKey(event)) QAbstractScrollArea::keyReleaseEvent(event);
}
