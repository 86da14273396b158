#include "app/view/PaintScheduler.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QWidget>

#include "render/CountingSurface.h"
#include "render/qt/QPainterSurface.h"
#include "view/PlotView.h"

namespace {
// Primitives drawn between two looks at the clock.
constexpr std::size_t kSliceStep = 2048;
// The page fitting of printing does not apply to the screen.
constexpr int kScreenHasNoPage = 0;
}  // namespace

PaintScheduler::PaintScheduler(QWidget& viewport, ViewHost& host, std::function<PlotView&()> view,
                               std::function<const PrimitiveList&()> primitives)
    : m_viewport(viewport),
      m_host(host),
      m_viewOf(std::move(view)),
      m_primitivesOf(std::move(primitives)) {
    m_sliceTimer.setSingleShot(true);
    m_sliceTimer.setInterval(0);
    connect(&m_sliceTimer, &QTimer::timeout, this, &PaintScheduler::RunSlice);
}

PaintScheduler::~PaintScheduler() {
    m_sliceTimer.stop();
    Drop();
}

void PaintScheduler::Request() {
    m_repaintPending = true;
    // A paint under way completes first; the new one starts after it.
    if (!m_pass) m_sliceTimer.start();
}

void PaintScheduler::Drop() {
    m_pass.reset();
    m_surface.reset();
    m_painter.reset();
    m_measure.reset();
}

void PaintScheduler::StartPass() {
    m_repaintPending = false;
    PlotView& view = m_viewOf();
    if (!view.State().IsFitted()) {
        // The first paint of a drawing only measures it: what it would show is replaced by the
        // fitted paint straight after, so it is drawn onto nothing, as korvane-cli does.
        m_measure = std::make_unique<CountingSurface>();
        m_pass = std::make_unique<PaintPass>(view, *m_measure, m_host, m_primitivesOf(),
                                             kScreenHasNoPage);
        m_sliceTimer.start();
        return;
    }
    const qreal ratio = m_viewport.devicePixelRatioF();
    m_image = QImage(m_viewport.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    m_image.setDevicePixelRatio(ratio);
    m_image.fill(Qt::white);  // the view is erased before every paint
    emit imageStarted();
    m_painter = std::make_unique<QPainter>(&m_image);
    m_painter->setRenderHint(QPainter::Antialiasing);
    m_surface = std::make_unique<QPainterSurface>(*m_painter);
    m_pass =
        std::make_unique<PaintPass>(view, *m_surface, m_host, m_primitivesOf(), kScreenHasNoPage);
    m_sliceTimer.start();
}

void PaintScheduler::RunSlice() {
    if (!m_pass) {
        if (m_repaintPending) StartPass();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    bool more;
    do {
        more = m_pass->Step(kSliceStep);
    } while (more && clock.elapsed() < m_sliceMs);
    if (m_surface) {
        m_surface->Flush();
        emit imageGrew();
    }
    if (more) {
        m_sliceTimer.start();
    } else {
        EndPass();
    }
}

void PaintScheduler::EndPass() {
    if (!m_pass) return;
    m_pass->Finish();  // a first paint fits the view here and asks for the repaint
    Drop();
    emit passEnded();
    if (m_repaintPending) m_sliceTimer.start();
}

void PaintScheduler::FinishPainting() {
    while (m_pass || m_repaintPending) {
        if (!m_pass) StartPass();
        m_sliceTimer.stop();
        while (m_pass->Step(std::size_t(1) << 30)) {
        }
        EndPass();
        m_sliceTimer.stop();
    }
}
