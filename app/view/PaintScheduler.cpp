#include "app/view/PaintScheduler.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QWidget>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

#include "render/CountingSurface.h"
#include "render/qt/PictureWriter.h"
#include "render/qt/QPainterSurface.h"
#include "view/PlotView.h"
#include "view/ViewHost.h"

namespace {
// Primitives drawn between two looks at the clock and at a request to stop.
constexpr std::size_t kSliceStep = 2048;
// The page fitting of printing does not apply to the screen.
constexpr int kScreenHasNoPage = 0;
}  // namespace

// One paint on a thread of its own: a snapshot of the view painted into an image of its own
// (none for the measuring paint), so the window's thread never waits for the raster engine. What
// it shows the window is a copy, taken between batches.
class PaintScheduler::Worker {
  public:
    Worker(std::unique_ptr<PlotView> view, QSize pixels, qreal ratio, int width, int height,
           const PrimitiveList& primitives, int sliceMs, unsigned long long serial)
        : m_view(std::move(view)),
          m_pixels(pixels),
          m_ratio(ratio),
          m_host(width, height),
          m_primitives(primitives),
          m_sliceMs(sliceMs),
          m_paced(sliceMs <= 0),
          m_serial(serial) {}
    ~Worker() {
        Stop();
        Join();
    }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    void Start(PaintScheduler* owner) {
        try {
            m_thread = std::thread([this, owner] { Run(owner); });
        } catch (const std::system_error&) {
            // No thread to be had: the paint runs here, the window waiting for it.
            m_paced = false;
            Run(owner);
        }
    }
    // Asks the paint to end where it stands.
    void Stop() {
        m_stop.store(true);
        Release();
    }
    // Lets the paint run on without waiting for the window.
    void Release() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_paced = false;
        m_wake.notify_all();
    }
    // The window took what was shown last.
    void Taken() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_showing = false;
        m_wake.notify_all();
    }
    void Join() {
        if (m_thread.joinable()) m_thread.join();
    }
    unsigned long long Serial() const { return m_serial; }
    PlotView& View() { return *m_view; }
    // The finished picture; none for the measuring paint.
    QImage& Image() { return m_image; }

  private:
    void Run(PaintScheduler* owner) {
        try {
            Paint(owner);
        } catch (...) {
            // Out of memory part-way: what was painted stands, and the view goes on.
        }
        QMetaObject::invokeMethod(
            owner, [owner, serial = m_serial] { owner->Ended(serial); }, Qt::QueuedConnection);
    }

    void Paint(PaintScheduler* owner) {
        BlindSurface nothing;
        std::unique_ptr<QPainter> painter;
        std::unique_ptr<QPainterSurface> surface;
        if (!m_pixels.isEmpty()) {
            m_image = PictureImage(m_pixels.width(), m_pixels.height(),
                                   QImage::Format_ARGB32_Premultiplied);
            m_image.setDevicePixelRatio(m_ratio);
            m_image.fill(Qt::white);  // the view is erased before every paint
            painter = std::make_unique<QPainter>(&m_image);
            painter->setRenderHint(QPainter::Antialiasing);
            surface = std::make_unique<QPainterSurface>(*painter);
        }
        DrawSurface& dc = surface ? static_cast<DrawSurface&>(*surface) : nothing;
        PaintPass pass(*m_view, dc, m_host, m_primitives, kScreenHasNoPage);
        QElapsedTimer clock;
        clock.start();
        // A stop is looked at after a batch, as a slice draws at least one.
        while (pass.Step(kSliceStep) && !m_stop.load(std::memory_order_relaxed)) {
            if (surface && clock.elapsed() >= m_sliceMs) {
                surface->Flush();
                Show(owner);
                clock.restart();
            }
        }
        pass.Finish();
    }

    void Show(PaintScheduler* owner) {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (m_showing) return;  // the window has not taken the last one yet
            m_showing = true;
        }
        // Two copies in turn: the one the window took before the last is free again (it let go
        // of it before taking the last), so no new image is made, nor its pages cleared.
        QImage& copy = m_copies[m_nextCopy];
        m_nextCopy ^= 1;
        if (copy.size() != m_image.size()) {
            copy = PictureImage(m_image.width(), m_image.height(), m_image.format());
        }
        copy.setDevicePixelRatio(m_image.devicePixelRatio());
        // bits() makes a copy of its own should anything still hold this one.
        std::memcpy(copy.bits(), m_image.constBits(), static_cast<std::size_t>(copy.sizeInBytes()));
        QMetaObject::invokeMethod(
            owner, [owner, serial = m_serial, shown = copy] { owner->Shown(serial, shown); },
            Qt::QueuedConnection);
        std::unique_lock<std::mutex> lock(m_mutex);
        m_wake.wait(lock, [this] { return !m_paced || !m_showing; });
    }

    std::unique_ptr<PlotView> m_view;
    QSize m_pixels;
    qreal m_ratio;
    FixedSizeHost m_host;
    const PrimitiveList& m_primitives;
    const int m_sliceMs;
    QImage m_image;
    QImage m_copies[2];  // what the window is shown
    int m_nextCopy = 0;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_paced;            // each showing waits until the window has taken it
    bool m_showing = false;  // shown, not yet taken
    const unsigned long long m_serial;
    std::thread m_thread;  // last: it goes first, while what it uses is still there
};

PaintScheduler::PaintScheduler(QWidget& viewport, ViewHost& host, std::function<PlotView&()> view,
                               std::function<const PrimitiveList&()> primitives)
    : m_viewport(viewport),
      m_host(host),
      m_viewOf(std::move(view)),
      m_primitivesOf(std::move(primitives)) {
    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(0);
    connect(&m_startTimer, &QTimer::timeout, this, [this] {
        if (!m_worker && m_repaintPending) StartPass();
    });
}

PaintScheduler::~PaintScheduler() {
    m_startTimer.stop();
    Drop();
}

void PaintScheduler::Request() {
    m_repaintPending = true;
    // A paint under way completes first; the new one starts after it.
    if (!m_worker) m_startTimer.start();
}

void PaintScheduler::Drop() {
    if (m_worker) {
        m_worker.reset();  // stops and waits for it
        m_host.EndWaitCursor();
    }
    m_passStart.reset();
    if (m_repaintPending) m_startTimer.start();
}

void PaintScheduler::StartPass() {
    m_repaintPending = false;
    PlotView& view = m_viewOf();
    m_passStart = view.Snapshot();
    QSize pixels;
    const qreal ratio = m_viewport.devicePixelRatioF();
    // The first paint of a drawing only measures it: what it would show is replaced by the
    // fitted paint straight after, so it is drawn onto nothing, as korvane-cli does.
    if (view.State().IsFitted()) {
        pixels = m_viewport.size() * ratio;
        // Nothing shown until the worker's first showing: the viewport is white beneath.
        m_image = QImage();
        emit imageStarted();
    }
    m_host.BeginWaitCursor();
    m_worker =
        std::make_unique<Worker>(view.Snapshot(), pixels, ratio, m_host.ClientWidth(),
                                 m_host.ClientHeight(), m_primitivesOf(), m_sliceMs, ++m_serial);
    m_worker->Start(this);
}

void PaintScheduler::Shown(unsigned long long serial, const QImage& image) {
    if (!m_worker || m_worker->Serial() != serial) return;
    m_image = image;
    m_worker->Taken();
    emit imageGrew();
}

void PaintScheduler::Ended(unsigned long long serial) {
    if (m_worker && m_worker->Serial() == serial) Complete(false);
}

void PaintScheduler::Complete(bool stop) {
    const std::unique_ptr<Worker> worker = std::move(m_worker);
    if (stop) {
        worker->Stop();
    } else {
        worker->Release();
    }
    worker->Join();
    if (!worker->Image().isNull()) m_image = std::move(worker->Image());
    m_viewOf().TakePass(worker->View(), m_host);  // a first paint fits the view, asks a repaint
    m_passStart.reset();
    m_host.EndWaitCursor();
    emit passEnded();
    if (m_repaintPending) m_startTimer.start();
}

void PaintScheduler::EndPass() {
    if (m_worker) Complete(true);
}

PaintScheduler::Snapshot PaintScheduler::TakeSnapshot() const {
    PlotView& now = m_viewOf();
    if (!m_worker) return {now.Snapshot(), m_repaintPending ? 1 : 0};
    // The running paint again from its start, then the one asked for meanwhile or by its fit.
    Snapshot shot{m_passStart->Snapshot(), 1};
    const bool fits = !m_passStart->State().IsFitted();
    shot.view->State() = now.State();  // zoomed meanwhile: the paint asked for follows it
    if (m_repaintPending || fits) shot.passes = 2;
    return shot;
}

void PaintScheduler::FinishPainting() {
    while (m_worker || m_repaintPending) {
        if (!m_worker) StartPass();
        Complete(false);
        m_startTimer.stop();
    }
}
