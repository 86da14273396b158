#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QCursor>
#include <QPoint>
#include <QRectF>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/view/PaintScheduler.h"
#include "render/TextSearch.h"
#include "view/Measurement.h"
#include "view/PlotView.h"
#include "view/ViewHost.h"

class JobControl;
class OpenDrawing;
class PrimitiveList;
class Prompts;
class QPaintDevice;
class QPainter;
class QRubberBand;

// One view of a plot document in a child window: it holds the view (where it looks, its plot
// context) and turns mouse, wheel, key and scroll-bar events into the view's zoom and scroll
// calls, and keeps the scroll bars in step. Its PaintScheduler paints the image it shows.
class CKorvaneView : public QAbstractScrollArea, public ViewHost {
    Q_OBJECT
  public:
    // What a measurement is drawn in, over the drawing.
    static constexpr QRgb kMeasureColor = 0xff6a1b9a;

    CKorvaneView(OpenDrawing& document, Prompts& prompts, QWidget* parent = nullptr);
    ~CKorvaneView() override;

    OpenDrawing& GetDocument() { return m_document; }
    PlotView& View() { return *m_view; }
    const ViewState& State() const { return m_view->State(); }

    // The commands of the view.
    void OnZoomedView();
    void OnNormalView();
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomWindow();
    void OnZoomPrevious();
    void OnOptions();
    // View > Measure: clicks add the points of a measurement, snapped to the drawing's vertices;
    // its second choice, or another mode, leaves it.
    void OnMeasure();
    bool Measuring() const { return m_view->State().GetZoomMode() == ZOOM_MEASURE; }
    // The figures of the measurement under way, for the status pane; empty before its first point.
    QString MeasureText() const { return QString::fromStdString(m_measure.StatusText()); }
    // Help > Drawing Status: the size and count of what this view drew last.
    void OnDrawingStatus();
    void OnEditCopy();
    void OnFontAndLine();
    // Edit > Find: zooms to the next (forward) or previous text of the drawing that holds text
    // and marks it until the next zoom or scroll. Returns "Match %1 of %2"; a miss says
    // "Cannot find "%1"." and returns an empty text.
    QString FindText(const QString& text, bool matchCase, bool forward);
    // The marked match in screen coordinates, when one is marked.
    std::optional<QRect> MarkOnScreen() const;
    // Prints the view's drawing as one page on device (a printer or a preview page); says
    // "Could not start print job." and returns false when the device refuses.
    // background: painted off the window's thread (a printer; a preview page is painted where
    // the preview asks).
    bool PrintOn(QPaintDevice& device, bool background = false);
    // Runs work off the window's thread on a snapshot: this view's drawing state as values, as
    // the paints under way will leave it (where a copy or print continues from), and the
    // document's records shared read-only; the view itself goes on painting. work may stop
    // where control asks (Cancel is offered). Returns what the user is to be told when work
    // failed (BackgroundWork::Run), else empty.
    using SnapshotWork =
        std::function<void(PlotView& view, const PrimitiveList& primitives, JobControl& control)>;
    [[nodiscard]] QString RunOnSnapshot(const QString& what, const SnapshotWork& work);
    bool ZoomWindowActive() const { return m_view->State().GetZoomMode() == ZOOM_WINDOW; }

    // True while a paint is under way.
    bool Painting() const { return m_paint->Painting(); }
    // Forgets the paint under way, which reads the document's records off the window's thread:
    // the records are about to change. The view stays as that paint found it.
    void DropPaint() { m_paint->Drop(); }
    // Runs the paints now due to completion, handling no events: for tests and benchmarks.
    void FinishPainting() { m_paint->FinishPainting(); }
    // How long one slice of painting may take before events are handled again; a slice draws
    // at least one batch of primitives.
    void SetSliceBudget(int milliseconds) { m_paint->SetSliceBudget(milliseconds); }
    // What the view shows: the image of the last or the running paint.
    const QImage& Image() const { return m_paint->Image(); }

    // ViewHost
    int ClientWidth() const override;
    int ClientHeight() const override;
    void Invalidate() override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

  signals:
    // The cursor is over the drawing at (x, y) inches, or left it (valid false).
    void cursorMoved(bool valid, double x, double y);
    // Something the commands' enabling depends on changed.
    void stateChanged();
    // The measurement's figures changed, or measuring began or ended.
    void measureChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

  private:
    void OnPassEnded();
    void Changed(bool repaint);
    void ScrollAction(ScrollBar bar, int action);
    void SendScroll(ScrollBar bar, int code, int position = 0);
    void UpdateScrollBars();
    void UpdateCursor();
    void EndZoomWindow(bool accepted);
    void ZoomAboutPoint(QPoint client, bool zoomIn);
    void ZoomAtPoint(QPoint client, bool zoomIn);
    // Shows where the pointer is over the drawing, as the view now stands.
    void ReportCursor();
    void OnDrawingReplaced();
    // The match's box in client pixels as the view now stands, cut to the client's surround;
    // none when it lies far outside.
    std::optional<QRectF> MarkRect(const TextMatch& match) const;

    // Edit > Find: the matches of the last search, what they were found for, and the one shown.
    struct FindResults {
        std::string text;
        bool matchCase = false;
        std::size_t records = 0;   // the drawing's size when searched: an Insert searches again
        unsigned long hidden = 0;  // the pens hidden then
        bool valid = false;
        std::vector<TextMatch> matches;
        int current = -1;
    } m_find;
    // The match marked over the drawing, until the next navigation.
    std::optional<TextMatch> m_mark;
    // Measuring (MeasureView.cpp): the pointer's target as the view now stands, a click, keys,
    // and the points and segments drawn over the drawing.
    void MeasureHover();
    bool MeasurePress(QMouseEvent* event);
    bool MeasureKey(QKeyEvent* event);
    void PaintMeasure(QPainter& painter);
    void MeasureUpdated();

    OpenDrawing& m_document;
    Prompts& m_prompts;
    std::unique_ptr<PlotView> m_view;

    // Made after the view it paints, gone before it (the destructor).
    std::unique_ptr<PaintScheduler> m_paint;
    int m_busy = 0;

    // Zoom Window: the drag from the anchor to the last mouse move.
    bool m_tracking = false;
    QPoint m_anchor;
    QPoint m_last;
    QRubberBand* m_band = nullptr;

    // Middle-button pan: the image follows the mouse until the button is released.
    bool m_panning = false;
    QPoint m_panStart;
    QPoint m_panOffset;
    int m_wheelDelta = 0;
    int m_barWheelDelta = 0;
    bool m_thumbMoved = false;  // the thumb under the mouse was dragged

    // The pointer's last place over the client, while it is there.
    QPoint m_pointer;
    bool m_pointerInside = false;

    MeasureSession m_measure;
    bool m_snapOff = false;  // Shift held at the last pointer event

    QCursor m_zoomCursor;
    QCursor m_windowCursor;
};
