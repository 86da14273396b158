#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#include "plot/DxfPens.h"
#include "render/PlotContext.h"
#include "view/ViewState.h"

class DrawSurface;
class PrimitiveList;
class ViewHost;

// One view of a drawing: where it looks (the view state), the plot context the primitives draw
// through, the pens' width and the count of the last paint. The screen view, printing, the
// clipboard copy and korvane-cli all paint through it.
class PlotView {
  public:
    PlotView() = default;
    PlotView& operator=(const PlotView&) = delete;

    // Everything the view draws with, as values: background work paints a snapshot, so the
    // window may go on zooming and painting the view meanwhile.
    std::unique_ptr<PlotView> Snapshot() const;

    // One whole paint of primitives on dc: the screen, or a printer page when dc says it is
    // printing. The first complete paint of a non-empty drawing fits the view to it and asks
    // for a repaint. fitToPage applies to printer surfaces only.
    void OnDraw(DrawSurface& dc, ViewHost& host, const PrimitiveList& primitives,
                int fitToPage = 0);
    // The clipboard copy's pass: unclipped, pens of width 0, a window 10 units larger, and it
    // continues from the state the last paint left. stop, asked now and then, ends it early
    // (false when it did).
    bool DrawCopy(DrawSurface& dc, int clientWidth, int clientHeight,
                  const PrimitiveList& primitives, const std::function<bool()>& stop = {});

    // Zoom and scroll go through the view state's own operations.
    ViewState& State() { return m_state; }
    const ViewState& State() const { return m_state; }
    CPlotContext& Context() { return m_context; }
    const CPlotContext& Context() const { return m_context; }
    // The pens' width, set by Line.
    int GetLineWidth() const { return m_lineWidth; }
    void SetLineWidth(int width) { m_lineWidth = width; }
    // The primitives the last paint drew.
    int GetDrawnCount() const { return m_drawnCount; }
    // The pens whose marks every pass of this view leaves out, pixels only: the marks still
    // move the pen and reach the extents. Set from the document on each of its views.
    const PenSet& HiddenPens() const { return m_hiddenPens; }
    void SetHiddenPens(const PenSet& hidden) { m_hiddenPens = hidden; }

    // Takes what a pass left in painted, a snapshot of this view painted off the window's
    // thread: the plotter's state and the count drawn; where the pass fitted the snapshot and
    // this view is still unfitted, it fits as the pass would have. Where the view looks, its
    // face, pens and width stay its own: they may have changed meanwhile.
    void TakePass(const PlotView& painted, ViewHost& host);

  private:
    friend class PaintPass;
    PlotView(const PlotView&) = default;
    // After the first paint of a drawing: the view fits the extents and asks for a repaint.
    void FitToExtents(ViewHost& host);

    ViewState m_state;
    CPlotContext m_context;
    int m_lineWidth = 0;
    int m_drawnCount = 0;
    PenSet m_hiddenPens;
};

class PassPens;
class PenRoute;

// One paint of a view, which can be run in slices: the mapping, the offsets and the divisor are
// taken when it starts, so the view may be zoomed meanwhile without disturbing it. Finishing
// (explicitly or by destruction) records the count drawn, releases the pens and, after the
// first paint of a drawing, fits the view and asks the host for a repaint.
class PaintPass {
  public:
    // fitToPage applies to printer surfaces only.
    PaintPass(PlotView& view, DrawSurface& dc, ViewHost& host, const PrimitiveList& primitives,
              int fitToPage);
    ~PaintPass();
    PaintPass(const PaintPass&) = delete;
    PaintPass& operator=(const PaintPass&) = delete;

    // Draws up to count more primitives; false once the drawing is done or the host stopped it
    // (consulted between primitives in incremental-zoom mode only).
    bool Step(std::size_t count);
    void Finish();

  private:
    PlotView& m_view;
    DrawSurface& m_dc;
    ViewHost& m_host;
    const PrimitiveList& m_primitives;
    std::unique_ptr<PassPens> m_pens;
    std::unique_ptr<PenRoute> m_route;
    PlotMapping m_mapping{0, 0, 1};
    bool m_interruptible = false;
    bool m_stopped = false;
    bool m_finished = false;
    std::size_t m_next = 0;
};
