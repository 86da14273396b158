#include "view/PlotView.h"

#include "plot/PrimitiveList.h"
#include "render/CountingSurface.h"
#include "render/DrawSurface.h"
#include "render/PrimDraw.h"
#include "view/ViewHost.h"

// The pair of pens of one pass: the current pen follows the context's colour, remade only when
// it changes; the spare pen stands in while the current one is replaced. The remembered colour
// starts as (1, 1, 1), which no pen table entry has, so a pass that starts with that colour
// left in the context draws with the surface's default pen until the colour changes.
class PassPens {
  public:
    PassPens(DrawSurface& dc, int width) : m_dc(dc), m_width(width) {
        m_spare = m_dc.CreatePen(width, MakeColorRef(0, 0, 0));
    }
    ~PassPens() {
        m_dc.SelectPen(0);  // deselected before they are released
        if (m_current) m_dc.DeletePen(m_current);
        m_dc.DeletePen(m_spare);
    }
    PassPens(const PassPens&) = delete;
    PassPens& operator=(const PassPens&) = delete;

    void Follow(const CPlotContext& context) {
        if (context.GetRed() == m_red && context.GetGreen() == m_green &&
            context.GetBlue() == m_blue) {
            return;
        }
        m_dc.SelectPen(m_spare);
        if (m_current) m_dc.DeletePen(m_current);
        m_current = m_dc.CreatePen(
            m_width, MakeColorRef(context.GetRed(), context.GetGreen(), context.GetBlue()));
        m_dc.SelectPen(m_current);
        m_red = context.GetRed();
        m_green = context.GetGreen();
        m_blue = context.GetBlue();
    }

  private:
    DrawSurface& m_dc;
    int m_width;
    DrawSurface::Handle m_spare = 0;
    DrawSurface::Handle m_current = 0;
    std::uint8_t m_red = 1, m_green = 1, m_blue = 1;
};

// Points the context, record by record, at the pass's surface or, while the pen of a hidden
// layer is selected, at one that draws nothing: hidden marks cost no raster time, yet still
// move the pen and the origin and reach the extents, as the first fit and Drawing Status count
// them. With nothing hidden the context keeps the pass's surface throughout.
class PenRoute {
  public:
    PenRoute(DrawSurface& dc, const PenSet& hidden) : m_dc(dc), m_hidden(hidden) {}

    // True when the next record is drawn.
    bool Shown(CPlotContext& context) {
        if (m_hidden.none()) return true;
        const bool shown = !m_hidden[context.GetLayerPen() - 1];
        context.SetDC(shown ? &m_dc : &m_blind);
        return shown;
    }

  private:
    DrawSurface& m_dc;
    BlindSurface m_blind;
    const PenSet m_hidden;
};

PaintPass::PaintPass(PlotView& view, DrawSurface& dc, ViewHost& host,
                     const PrimitiveList& primitives, int fitToPage)
    : m_view(view), m_dc(dc), m_host(host), m_primitives(primitives) {
    m_host.BeginWaitCursor();
    m_view.m_drawnCount = 0;
    m_view.m_context.ResetPen();
    m_view.m_context.SetLayerPen(1);  // as the DXF export starts
    if (m_primitives.empty()) return;

    const ViewState& state = m_view.m_state;
    if (dc.IsPrinting()) {
        const PageMetrics page{dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES),
                               dc.GetPageMillimetres(HORZSIZE), dc.GetPageMillimetres(VERTSIZE)};
        state.PrinterMapping(page, m_view.m_context.GetResolution(), fitToPage).Apply(dc);
    } else {
        state.ScreenMapping(host.ClientWidth(), host.ClientHeight()).Apply(dc);
    }
    m_view.m_context.SetDC(&dc);
    m_pens = std::make_unique<PassPens>(dc, m_view.m_lineWidth);
    m_route = std::make_unique<PenRoute>(dc, m_view.m_hiddenPens);
    m_mapping = state.Mapping();
    if (dc.IsPrinting()) m_mapping.divisor = 1.0;
    m_interruptible = state.GetZoomMode() == ZOOM_INCREMENTAL;
}

PaintPass::~PaintPass() {
    Finish();
}

bool PaintPass::Step(std::size_t count) {
    if (m_finished || m_stopped || !m_pens) return false;  // no pens: an empty drawing
    const std::size_t total = m_primitives.size();
    const std::size_t end = total - m_next < count ? total : m_next + count;
    CPlotContext& context = m_view.m_context;
    PassPens& pens = *m_pens;
    PenRoute& route = *m_route;
    PrimPainter painter(context, m_mapping);
    for (; m_next < end; ++m_next) {
        if (m_interruptible && m_host.ShouldStop()) {
            m_stopped = true;
            return false;
        }
        if (route.Shown(context)) pens.Follow(context);
        m_primitives.At(m_next)->Accept(painter);
    }
    return m_next < total;
}

void PaintPass::Finish() {
    if (m_finished) return;
    m_finished = true;
    if (!m_primitives.empty()) {
        m_pens.reset();
        m_route.reset();
        m_view.m_context.SetDC(nullptr);  // the surface lives for this pass only
        m_view.m_drawnCount = static_cast<int>(m_next);
        if (!m_view.m_state.IsFitted()) m_view.FitToExtents(m_host);  // also when interrupted
    }
    m_host.EndWaitCursor();
}

void PlotView::FitToExtents(ViewHost& host) {
    m_state.FitToDrawing(m_context.GetMaxX(), m_context.GetMaxY(), host.ClientWidth(),
                         host.ClientHeight());
    m_drawnCount = 0;
    host.Invalidate();
}

void PlotView::TakePass(const PlotView& painted, ViewHost& host) {
    const CPlotContext& plotter = painted.m_context;
    m_context.TakePlotterState(plotter);
    m_context.SetLayerPen(plotter.GetLayerPen());
    m_context.SetLastPoint(plotter.GetLastX(), plotter.GetLastY());
    m_drawnCount = painted.m_drawnCount;
    // The snapshot is fitted once its pass drew a drawing (an empty one fits nothing).
    if (painted.m_state.IsFitted() && !m_state.IsFitted()) FitToExtents(host);
}

void PlotView::OnDraw(DrawSurface& dc, ViewHost& host, const PrimitiveList& primitives,
                      int fitToPage) {
    PaintPass pass(*this, dc, host, primitives, fitToPage);
    pass.Step(primitives.size());
}

std::unique_ptr<PlotView> PlotView::Snapshot() const {
    std::unique_ptr<PlotView> copy(new PlotView(*this));
    copy->m_context.SetDC(nullptr);
    return copy;
}

bool PlotView::DrawCopy(DrawSurface& dc, int clientWidth, int clientHeight,
                        const PrimitiveList& primitives, const std::function<bool()>& stop) {
    bool complete = true;
    m_context.SetNoClip(true);
    m_context.SetLayerPen(1);
    if (!primitives.empty()) {
        m_state.CopyMapping(clientWidth, clientHeight).Apply(dc);
        m_context.SetDC(&dc);
        PassPens pens(dc, 0);
        PenRoute route(dc, m_hiddenPens);
        CPlotContext& context = m_context;
        PrimPainter painter(context, m_state.Mapping());
        std::size_t count = 0;
        primitives.ForEach([&](const Prim& prim) {
            if (stop && (++count & 4095) == 0 && stop()) return complete = false;
            if (route.Shown(context)) pens.Follow(context);
            prim.Accept(painter);
            return true;
        });
        m_context.SetDC(nullptr);
    }
    m_context.SetNoClip(false);
    return complete;
}
