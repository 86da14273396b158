#pragma once

#include "render/PlotContext.h"

class DrawSurface;
class PrimitiveList;
class ViewHost;

constexpr int ZOOM_NONE = 0;
constexpr int ZOOM_INCREMENTAL = 1;
constexpr int ZOOM_WINDOW = 2;
// The divisor always makes the larger side of the view rectangle 2000 logical units.
constexpr int ZOOM_UNITS = 2000;
// The first fit leaves 1.25 % of room beyond the drawing's extents.
constexpr float FIT_MARGIN = 1.0125f;

// Printing at 1:1 scale (0) or fitted to the page (1), for every view until the program ends.
extern int g_fitToPage;

// The state of one plot view and its paint pass, free of any window system: the view rectangle
// in resolution units, the zoom divisor, the plot context the primitives draw through, and the
// count of the last paint. The screen view, printing, the clipboard copy and korvane-cli all
// paint through it.
class PlotView {
  public:
    PlotView();
    PlotView(const PlotView&) = delete;
    PlotView& operator=(const PlotView&) = delete;

    // Paints primitives on dc: the screen, or a printer page when dc says it is printing. The
    // first complete paint of a non-empty drawing fits the view to it and asks for a repaint.
    void OnDraw(DrawSurface& dc, ViewHost& host, const PrimitiveList& primitives);
    // Widens the view rectangle to the client's proportions and sets the divisor from it; the
    // first fit compares with the drawing window instead of the rectangle.
    void FitToClient(int clientWidth, int clientHeight, bool firstFit = false);
    // The clipboard copy's pass: unclipped, pens of width 0, a window 10 units larger, and it
    // continues from the state the last paint left.
    void DrawCopy(DrawSurface& dc, int clientWidth, int clientHeight,
                  const PrimitiveList& primitives);

    CPlotContext m_context;
    int m_lineWidth = 0;
    int m_fitted = 0;
    int m_zoomMode = ZOOM_NONE;
    int m_drawnCount = 0;
    unsigned m_zoomFactor = 10;
    float m_viewLeft = 0;
    float m_viewBottom = 0;
    float m_viewRight = 24000;
    float m_viewTop = 18000;
    float m_homeLeft = 0;
    float m_homeBottom = 0;
    float m_homeRight = 24000;
    float m_homeTop = 18000;
    float m_extentX = 24000;
    float m_extentY = 18000;
    double m_zoomDivisor = 0;

  private:
    void SetMapping(DrawSurface& dc, const ViewHost& host);
    void UpdateDivisor();
};
