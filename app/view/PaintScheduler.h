#pragma once

#include <QImage>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class PlotView;
class PrimitiveList;
class QWidget;
class ViewHost;

// The paint of one on-screen view, off the window's thread: a worker paints a snapshot of the
// view into an image of its own and hands the window what it has so far every slice, so a large
// drawing grows on screen while the window stays free. The first paint of a drawing only
// measures it, onto nothing; the fitted paint follows. One paint runs at a time: a paint asked
// for meanwhile starts when it ends. The view itself takes the paint's outcome on the window's
// thread once the paint ends, so it may be zoomed meanwhile.
class PaintScheduler : public QObject {
    Q_OBJECT
  public:
    // view and primitives are asked at each start: a reloaded drawing replaces the view. The
    // primitives must not change while a paint runs: Drop the paint first.
    PaintScheduler(QWidget& viewport, ViewHost& host, std::function<PlotView&()> view,
                   std::function<const PrimitiveList&()> primitives);
    ~PaintScheduler() override;

    // Asks for the whole view to be painted again.
    void Request();
    // True while a paint is under way.
    bool Painting() const { return m_worker != nullptr; }
    // Ends the paint under way where it stands.
    void EndPass();
    // Forgets the paint under way unfinished: the view stays as the paint found it.
    void Drop();
    // Runs the paints now due to completion, handling no events.
    void FinishPainting();
    // How long the worker paints between two showings of its picture. 0 shows every batch of
    // primitives and waits until the window has taken it (a paint then goes at the window's
    // pace, for tests that look at a paint under way).
    void SetSliceBudget(int milliseconds) { m_sliceMs = milliseconds; }
    // The image of the last paint, or what the running paint has shown so far.
    const QImage& Image() const { return m_image; }

    // What background work paints from: the view as the paints now due would leave it. Taken
    // without finishing them (a large drawing would freeze the window): the view as the running
    // paint found it, with the count of whole passes to run on it, onto nothing, to get there.
    struct Snapshot {
        std::unique_ptr<PlotView> view;
        int passes = 0;
    };
    Snapshot TakeSnapshot() const;

  signals:
    // A paint into a new image starts.
    void imageStarted();
    // More of the image was painted.
    void imageGrew();
    // A paint ended (a first one has fitted the view).
    void passEnded();

  private:
    class Worker;

    void StartPass();
    // The worker numbered serial showed more, or ended (window's thread).
    void Shown(unsigned long long serial, const QImage& image);
    void Ended(unsigned long long serial);
    // Waits for the worker (asking it to stop where it stands when stop is set) and gives the
    // view and the screen what it painted.
    void Complete(bool stop);

    QWidget& m_viewport;
    ViewHost& m_host;
    std::function<PlotView&()> m_viewOf;
    std::function<const PrimitiveList&()> m_primitivesOf;
    QImage m_image;
    // The view as the running paint found it.
    std::unique_ptr<PlotView> m_passStart;
    std::unique_ptr<Worker> m_worker;
    unsigned long long m_serial = 0;  // of the last worker: what an ended one posted is ignored
    bool m_repaintPending = false;
    QTimer m_startTimer;
    int m_sliceMs = 40;
};
