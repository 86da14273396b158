#pragma once

#include <vector>

#include "render/DrawSurface.h"
#include "render/PlotMapping.h"

constexpr int ZOOM_NONE = 0;
constexpr int ZOOM_INCREMENTAL = 1;
constexpr int ZOOM_WINDOW = 2;
// Measure: clicks add the points of a measurement instead of zooming.
constexpr int ZOOM_MEASURE = 3;
// The divisor always makes the larger side of the view rectangle 2000 logical units.
constexpr int ZOOM_UNITS = 2000;
// The first fit leaves 1.25 % of room beyond the drawing's extents.
constexpr float FIT_MARGIN = 1.0125f;

// One saved view rectangle of the zoom history, in resolution units.
struct RECTANGLE {
    double left;
    double right;
    double bottom;
    double top;
};

// A complete mapping of a drawing surface, applied in one go.
struct SurfaceMapping {
    SurfacePoint windowOrg;
    SurfacePoint windowExt;
    SurfacePoint viewportExt;
    SurfacePoint viewportOrg;

    void Apply(DrawSurface& dc) const;
};

// What a printer page offers the mapping.
struct PageMetrics {
    int horzRes;  // pixels
    int vertRes;
    double horzSize;  // millimetres
    double vertSize;
};

// The scroll codes of a scroll action. Vertically, "up" grows y.
enum ScrollCode {
    SB_LINELEFT = 0,
    SB_LINEUP = 0,
    SB_LINERIGHT = 1,
    SB_LINEDOWN = 1,
    SB_PAGELEFT = 2,
    SB_PAGEUP = 2,
    SB_PAGERIGHT = 3,
    SB_PAGEDOWN = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_BOTTOM = 7,
    SB_ENDSCROLL = 8
};

enum class ScrollBar { Horizontal, Vertical };

enum class ScrollResult {
    Refused,  // nothing changed; the repaint at the end of this action is suppressed
    Done,     // the rectangle may have moved; the repaint waits for the end of the action
    Repaint   // the action ended: repaint now
};

// What one scroll message did, and whether the horizontal / vertical scroll action under way
// still repaints when it ends: a refused step clears its bar's flag until then.
struct ScrollOutcome {
    ScrollResult result;
    bool hScrollRepaint;
    bool vScrollRepaint;
};

// Where a view looks as one value: the view rectangle and the drawing window's extents in
// resolution units, and the divisor.
struct ViewGeometry {
    float left;
    float bottom;
    float right;
    float top;
    float extentX;
    float extentY;
    double divisor;
};

// One scroll bar as it shows the view, in resolution units: its values run from 0 to maximum,
// its thumb spans pageStep (the visible part), and value 0 is its left or top end.
struct ScrollBarShown {
    int maximum;
    int pageStep;
    int value;
};

struct ScrollBarSettings {
    ScrollBarShown horizontal;
    ScrollBarShown vertical;
};

// Where a view looks at its drawing, free of any window system: the view rectangle in resolution
// units, the whole-drawing rectangle, the drawing window's extents, the divisor, the zoom mode
// and step, and the history of earlier rectangles. Every zoom and scroll command is arithmetic
// on it; the window only turns events into these calls and repaints when they say so.
class ViewState {
  public:
    ViewState();

    // Widens the view rectangle to the client's proportions and sets the divisor from it; the
    // first fit compares with the drawing window instead of the rectangle.
    void FitToClient(int clientWidth, int clientHeight, bool firstFit = false);
    // The fit after the first complete paint measured the drawing up to (maxX, maxY).
    void FitToDrawing(float maxX, float maxY, int clientWidth, int clientHeight);

    // Mappings of the screen, a printer page (fitToPage: the drawing fills the page, else one
    // inch is one inch) and the clipboard copy.
    SurfaceMapping ScreenMapping(int clientWidth, int clientHeight) const;
    SurfaceMapping PrinterMapping(const PageMetrics& page, int resolution, int fitToPage) const;
    SurfaceMapping CopyMapping(int clientWidth, int clientHeight) const;

    // A client pixel in logical units of the screen mapping whose window origin is the view's
    // corner at (-31000, -31000), rounded to the nearest unit as the zoom commands take it.
    SurfacePoint ClientToLogical(int x, int y, int clientWidth, int clientHeight) const;
    // A client point in resolution units of the drawing (1/300 inch) as the paint shows it there,
    // unrounded.
    void ClientToPlot(double x, double y, int clientWidth, int clientHeight, double& plotX,
                      double& plotY) const;

    // Zoomed View: clicks zoom from now on; its second choice leaves the mode.
    void SetZoomedView() { m_zoomMode = ZOOM_INCREMENTAL; }
    void LeaveZoomedView() {
        if (m_zoomMode == ZOOM_INCREMENTAL) m_zoomMode = ZOOM_NONE;
    }
    // Measure: clicks measure from now on, until another mode is chosen or its second choice.
    void SetMeasure() { m_zoomMode = ZOOM_MEASURE; }
    void LeaveMeasure() {
        if (m_zoomMode == ZOOM_MEASURE) m_zoomMode = ZOOM_NONE;
    }
    // One zoom step in or out about a client point, saved on the history.
    void ZoomAbout(int x, int y, bool zoomIn, int clientWidth, int clientHeight);
    // One zoom step in or out that keeps the drawing point under the client point where it is
    // (the wheel, and Zoom In / Zoom Out about the centre), saved on the history.
    void ZoomAt(int x, int y, bool zoomIn, int clientWidth, int clientHeight);
    // Where the paint shows the drawing point (plotX, plotY), resolution units, in the client.
    void PlotToClient(double plotX, double plotY, int clientWidth, int clientHeight, double& x,
                      double& y) const;
    // Zoom All: the whole drawing as the first fit shows it, measuring on if it was; true when
    // the rectangle changed.
    bool ZoomAll(int clientWidth, int clientHeight);
    // Zoom Window: the start saves the rectangle; the end takes the dragged client rectangle
    // (edges in pixels), or none when cancelled. A drag of zero width or height counts as
    // cancelled. True when the rectangle changed.
    void BeginZoomWindow();
    bool EndZoomWindow(bool accepted, int left, int top, int right, int bottom, int clientWidth,
                       int clientHeight);
    // Centres the box (resolution units) in the client, zoomed in until the box is at least a
    // twentieth of the view's width, or out until it fits; saved on the history. False, with
    // nothing changed, for a box no view can show (not finite, or beyond the float range).
    bool ZoomToBox(double left, double bottom, double right, double top, int clientWidth,
                   int clientHeight);
    // Back to the last saved rectangle; false on an empty history.
    bool ZoomPrevious();
    bool CanZoomPrevious() const { return !m_zoomHistory.empty(); }

    // A drag of the drawing by (dx, dy) client pixels, saved on the history like a scroll.
    void PanBy(int dx, int dy, int clientWidth, int clientHeight);

    // One scroll message; position is the thumb position for SB_THUMBPOSITION. A scroll action
    // (its messages up to SB_ENDSCROLL) saves the rectangle once, before its first move.
    ScrollOutcome Scroll(ScrollBar bar, int code, int position = 0);
    // The scroll range runs from 0 to the right (top) edge of the view rectangle; each bar
    // shows the part of it the client shows. Vertically the bar runs downward, y upward.
    ScrollBarSettings ScrollBars(int clientWidth, int clientHeight) const;
    // The scroll position (left or bottom edge) a bar's value stands for.
    int ScrollPosition(ScrollBar bar, int value, int clientWidth, int clientHeight) const;

    ViewGeometry Geometry() const {
        return {m_viewLeft, m_viewBottom, m_viewRight,  m_viewTop,
                m_extentX,  m_extentY,    m_zoomDivisor};
    }
    // Takes another view's geometry whole, the divisor as it is.
    void SetGeometry(const ViewGeometry& g);
    // The mapping a screen pass draws with.
    PlotMapping Mapping() const { return {m_viewLeft, m_viewBottom, m_zoomDivisor}; }
    // The rectangle Zoom All returns to.
    RECTANGLE Home() const { return {m_homeLeft, m_homeRight, m_homeBottom, m_homeTop}; }
    const std::vector<RECTANGLE>& GetZoomHistory() const { return m_zoomHistory; }
    int GetZoomMode() const { return m_zoomMode; }
    // The step of Options in percent of the drawing window: a zoom and a page scroll move by it,
    // a line scroll by a tenth of it.
    unsigned GetZoomFactor() const { return m_zoomFactor; }
    void SetZoomFactor(unsigned factor) { m_zoomFactor = factor; }
    // Whether the drawing has been measured and fitted; a cleared flag refits at the next paint.
    bool IsFitted() const { return m_fitted != 0; }
    void SetFitted(bool fitted) { m_fitted = fitted ? 1 : 0; }

  private:
    ScrollResult ScrollStep(ScrollBar bar, int code, int position);
    void SaveRectangle();
    void FitHome(int clientWidth, int clientHeight);
    void Scale(bool zoomIn);
    // Width and height the client shows, in resolution units.
    void VisibleExtent(int clientWidth, int clientHeight, double& width, double& height) const;
    void UpdateDivisor();
    void ClientToCorner(double x, double y, int clientWidth, int clientHeight, double& logicalX,
                        double& logicalY) const;

    int m_fitted = 0;
    int m_zoomMode = ZOOM_NONE;
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
    std::vector<RECTANGLE> m_zoomHistory;
    bool m_scrollSaved = false;  // the scroll action under way has saved the rectangle
    // Whether the horizontal / vertical scroll action under way repaints when it ends.
    bool m_hScrollRepaint = true;
    bool m_vScrollRepaint = true;
};
