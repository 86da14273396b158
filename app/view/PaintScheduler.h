#pragma once

#include <QImage>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class CountingSurface;
class PaintPass;
class PlotView;
class PrimitiveList;
class QPainter;
class QPainterSurface;
class QWidget;
class ViewHost;

// The paint of one on-screen view: through the shared paint pass into an image, a slice at a
// time between events, so a large drawing never freezes the window. The first paint of a
// drawing only measures it, onto nothing; the fitted paint follows. One paint runs at a time: a
// paint asked for meanwhile starts when it ends.
class PaintScheduler : public QObject {
    Q_OBJECT
  public:
    // view and primitives are asked at each start: a reloaded drawing replaces the view.
    PaintScheduler(QWidget& viewport, ViewHost& host, std::function<PlotView&()> view,
                   std::function<const PrimitiveList&()> primitives);
    ~PaintScheduler() override;

    // Asks for the whole view to be painted again.
    void Request();
    // True while a paint is under way.
    bool Painting() const { return m_pass != nullptr; }
    // Ends the paint under way where it stands.
    void EndPass();
    // Forgets the paint under way unfinished: what it painted is going.
    void Drop();
    // Runs the paints now due to completion, handling no events.
    void FinishPainting();
    void SetSliceBudget(int milliseconds) { m_sliceMs = milliseconds; }
    // The image of the last or the running paint.
    const QImage& Image() const { return m_image; }

  signals:
    // A paint into a new image starts.
    void imageStarted();
    // More of the image was painted.
    void imageGrew();
    // A paint ended (a first one has fitted the view).
    void passEnded();

  private:
    void StartPass();
    void RunSlice();

    QWidget& m_viewport;
    ViewHost& m_host;
    std::function<PlotView&()> m_viewOf;
    std::function<const PrimitiveList&()> m_primitivesOf;
    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QPainterSurface> m_surface;
    std::unique_ptr<CountingSurface> m_measure;
    // Declared last, so it goes before what it paints into.
    std::unique_ptr<PaintPass> m_pass;
    bool m_repaintPending = false;
    QTimer m_sliceTimer;
    int m_sliceMs = 20;
};
