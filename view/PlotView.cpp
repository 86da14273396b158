#include "view/PlotView.h"

#include <algorithm>

#include "plot/PrimitiveList.h"
#include "render/DrawSurface.h"
#include "render/PrimDraw.h"
#include "view/ViewHost.h"

int g_fitToPage = 0;

namespace {
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
        if (context.m_red == m_red && context.m_green == m_green && context.m_blue == m_blue) {
            return;
        }
        m_dc.SelectPen(m_spare);
        if (m_current) m_dc.DeletePen(m_current);
        m_current =
            m_dc.CreatePen(m_width, MakeColorRef(context.m_red, context.m_green, context.m_blue));
        m_dc.SelectPen(m_current);
        m_red = context.m_red;
        m_green = context.m_green;
        m_blue = context.m_blue;
    }

  private:
    DrawSurface& m_dc;
    int m_width;
    DrawSurface::Handle m_spare = 0;
    DrawSurface::Handle m_current = 0;
    std::uint8_t m_red = 1, m_green = 1, m_blue = 1;
};

class WaitCursor {
  public:
    explicit WaitCursor(ViewHost& host) : m_host(host) { m_host.BeginWaitCursor(); }
    ~WaitCursor() { m_host.EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    ViewHost& m_host;
};
}  // namespace

PlotView::PlotView() {
    UpdateDivisor();
}

void PlotView::UpdateDivisor() {
    const double width = (static_cast<double>(m_viewRight) - m_viewLeft) / ZOOM_UNITS;
    const double height = (static_cast<double>(m_viewTop) - m_viewBottom) / ZOOM_UNITS;
    m_zoomDivisor = height > width ? height : width;
}

void PlotView::FitToClient(int clientWidth, int clientHeight, bool firstFit) {
    const double a = static_cast<double>(clientHeight) / clientWidth;
    const double c =
        firstFit ? static_cast<double>(m_extentY) / m_extentX
                 : (static_cast<double>(m_viewTop) - m_viewBottom) / (m_viewRight - m_viewLeft);
    if (a < c) {
        m_viewRight =
            static_cast<float>(m_viewLeft + (static_cast<double>(m_viewTop) - m_viewBottom) / a);
    } else {
        m_viewTop =
            static_cast<float>(m_viewBottom + a * (static_cast<double>(m_viewRight) - m_viewLeft));
    }
    UpdateDivisor();
}

void PlotView::SetMapping(DrawSurface& dc, const ViewHost& host) {
    const double d = m_zoomDivisor;
    dc.SetMapModeIsotropic();
    dc.SetWindowOrg(-LOGICAL_BIAS, -LOGICAL_BIAS - 2);
    dc.SetWindowExt(TruncToInt(m_extentX / d), TruncToInt(m_extentY / d));
    if (!dc.IsPrinting()) {
        const int w = host.ClientWidth(), h = host.ClientHeight();
        dc.SetViewportExt(w, -h);
        dc.SetViewportOrg(0, h);
        return;
    }
    const int horzRes = dc.GetDeviceCaps(HORZRES), vertRes = dc.GetDeviceCaps(VERTRES);
    if (g_fitToPage == 0) {
        // The window spans the physical page in resolution units: one inch is one inch.
        const double mmPerInch = 25.4f;
        const double r = m_context.GetResolution();
        dc.SetWindowExt(TruncToInt(r * (dc.GetDeviceCaps(HORZSIZE) / mmPerInch)),
                        TruncToInt(r * (dc.GetDeviceCaps(VERTSIZE) / mmPerInch)));
        dc.SetViewportExt(horzRes, -vertRes);
        dc.SetViewportOrg(3, vertRes - 1);
    } else {
        dc.SetWindowExt(TruncToInt(m_extentX), TruncToInt(m_extentY));
        dc.SetViewportExt(horzRes - 2, -(vertRes - 2));
        dc.SetViewportOrg(3, vertRes - 3);
    }
}

void PlotView::OnDraw(DrawSurface& dc, ViewHost& host, const PrimitiveList& primitives) {
    WaitCursor wait(host);
    m_drawnCount = 0;
    m_context.m_lastX = -LOGICAL_BIAS;
    m_context.m_lastY = -LOGICAL_BIAS;
    if (primitives.empty()) return;

    SetMapping(dc, host);
    m_context.SetDC(&dc);
    {
        PassPens pens(dc, m_lineWidth);
        host.SetScrollRange(ViewHost::Vertical, 0, TruncToInt(m_viewTop));
        host.SetScrollRange(ViewHost::Horizontal, 0, TruncToInt(m_viewRight));
        host.SetScrollPos(ViewHost::Vertical, TruncToInt(m_viewBottom));
        host.SetScrollPos(ViewHost::Horizontal, TruncToInt(m_viewLeft));

        const double divisor = dc.IsPrinting() ? 1.0 : m_zoomDivisor;
        const bool interruptible = m_zoomMode == ZOOM_INCREMENTAL;
        CPlotContext& context = m_context;
        PrimPainter painter(context, m_viewLeft, m_viewBottom, divisor);
        int drawn = 0;
        primitives.ForEach([&](const Prim& prim) {
            if (interruptible && host.ShouldStop()) return false;
            pens.Follow(context);
            prim.Accept(painter);
            ++drawn;
            return true;
        });
        m_drawnCount = drawn;
    }
    m_context.SetDC(nullptr);  // the surface lives for this pass only

    if (m_fitted == 0) {
        m_extentX = m_homeRight = m_viewRight = m_context.GetMaxX();
        m_extentY = m_homeTop = m_viewTop = m_context.GetMaxY();
        m_viewLeft = m_viewBottom = 0;
        m_extentX = static_cast<float>(m_extentX * static_cast<double>(FIT_MARGIN));
        m_extentY = static_cast<float>(m_extentY * static_cast<double>(FIT_MARGIN));
        m_fitted = 1;
        m_drawnCount = 0;
        FitToClient(host.ClientWidth(), host.ClientHeight(), true);
        host.Invalidate();
    }
}

void PlotView::DrawCopy(DrawSurface& dc, int clientWidth, int clientHeight,
                        const PrimitiveList& primitives) {
    m_context.m_noClip = true;
    if (!primitives.empty()) {
        const double d = m_zoomDivisor;
        dc.SetMapModeIsotropic();
        dc.SetWindowExt(TruncToInt(m_extentX / d + 10), TruncToInt(m_extentY / d + 10));
        dc.SetWindowOrg(-LOGICAL_BIAS, -LOGICAL_BIAS);
        dc.SetViewportExt(clientWidth, -clientHeight);
        dc.SetViewportOrg(3, clientHeight - 1);
        m_context.SetDC(&dc);
        PassPens pens(dc, 0);
        CPlotContext& context = m_context;
        PrimPainter painter(context, m_viewLeft, m_viewBottom, d);
        primitives.ForEach([&](const Prim& prim) {
            pens.Follow(context);
            prim.Accept(painter);
            return true;
        });
        m_context.SetDC(nullptr);
    }
    m_context.m_noClip = false;
}
