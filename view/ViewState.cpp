#include "view/ViewState.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <utility>

#include "render/IsotropicScale.h"
#include "render/PlotContext.h"

void SurfaceMapping::Apply(DrawSurface& dc) const {
    dc.SetMapModeIsotropic();
    dc.SetWindowOrg(windowOrg.x, windowOrg.y);
    dc.SetWindowExt(windowExt.x, windowExt.y);
    dc.SetViewportExt(viewportExt.x, viewportExt.y);
    dc.SetViewportOrg(viewportOrg.x, viewportOrg.y);
}

ViewState::ViewState() {
    UpdateDivisor();
}

void ViewState::SetGeometry(const ViewGeometry& g) {
    m_viewLeft = g.left;
    m_viewBottom = g.bottom;
    m_viewRight = g.right;
    m_viewTop = g.top;
    m_extentX = g.extentX;
    m_extentY = g.extentY;
    m_zoomDivisor = g.divisor;
}

void ViewState::UpdateDivisor() {
    const double width = (static_cast<double>(m_viewRight) - m_viewLeft) / ZOOM_UNITS;
    const double height = (static_cast<double>(m_viewTop) - m_viewBottom) / ZOOM_UNITS;
    m_zoomDivisor = height > width ? height : width;
}

void ViewState::FitToClient(int clientWidth, int clientHeight, bool firstFit) {
    // A client without area (a minimised window) has no proportions to take on.
    if (clientWidth > 0 && clientHeight > 0) {
        const double a = static_cast<double>(clientHeight) / clientWidth;
        const double c =
            firstFit ? static_cast<double>(m_extentY) / m_extentX
                     : (static_cast<double>(m_viewTop) - m_viewBottom) / (m_viewRight - m_viewLeft);
        if (a < c) {
            m_viewRight = static_cast<float>(m_viewLeft +
                                             (static_cast<double>(m_viewTop) - m_viewBottom) / a);
        } else {
            m_viewTop = static_cast<float>(m_viewBottom +
                                           a * (static_cast<double>(m_viewRight) - m_viewLeft));
        }
    }
    UpdateDivisor();
}

void ViewState::FitToDrawing(float maxX, float maxY, int clientWidth, int clientHeight) {
    m_homeRight = maxX;
    m_homeTop = maxY;
    m_fitted = 1;
    FitHome(clientWidth, clientHeight);
}

void ViewState::FitHome(int clientWidth, int clientHeight) {
    m_viewLeft = m_homeLeft;
    m_viewBottom = m_homeBottom;
    m_viewRight = m_homeRight;
    m_viewTop = m_homeTop;
    m_extentX = static_cast<float>(m_homeRight * static_cast<double>(FIT_MARGIN));
    m_extentY = static_cast<float>(m_homeTop * static_cast<double>(FIT_MARGIN));
    FitToClient(clientWidth, clientHeight, true);
}

SurfaceMapping ViewState::ScreenMapping(int clientWidth, int clientHeight) const {
    const double d = m_zoomDivisor;
    return {{-LOGICAL_BIAS, -LOGICAL_BIAS - 2},
            {TruncToInt(m_extentX / d), TruncToInt(m_extentY / d)},
            {clientWidth, -clientHeight},
            {0, clientHeight}};
}

SurfaceMapping ViewState::PrinterMapping(const PageMetrics& page, int resolution,
                                         int fitToPage) const {
    if (fitToPage == 0) {
        // The window spans the physical page in resolution units: one inch is one inch.
        const double mmPerInch = 25.4f;
        const double r = resolution;
        return {{-LOGICAL_BIAS, -LOGICAL_BIAS - 2},
                {TruncToInt(r * (page.horzSize / mmPerInch)),
                 TruncToInt(r * (page.vertSize / mmPerInch))},
                {page.horzRes, -page.vertRes},
                {3, page.vertRes - 1}};
    }
    return {{-LOGICAL_BIAS, -LOGICAL_BIAS - 2},
            {TruncToInt(m_extentX), TruncToInt(m_extentY)},
            {page.horzRes - 2, -(page.vertRes - 2)},
            {3, page.vertRes - 3}};
}

SurfaceMapping ViewState::CopyMapping(int clientWidth, int clientHeight) const {
    const double d = m_zoomDivisor;
    return {{-LOGICAL_BIAS, -LOGICAL_BIAS},
            {TruncToInt(m_extentX / d + 10), TruncToInt(m_extentY / d + 10)},
            {clientWidth, -clientHeight},
            {3, clientHeight - 1}};
}

void ViewState::ClientToCorner(double x, double y, int clientWidth, int clientHeight,
                               double& logicalX, double& logicalY) const {
    // The screen mapping with the window origin at the view's corner, inverted.
    const double d = m_zoomDivisor;
    const AxisScales s = MappingScale(TruncToInt(m_extentX / d), TruncToInt(m_extentY / d),
                                      clientWidth, -clientHeight, true);
    logicalX = s.x != 0 ? x / s.x : 0;
    logicalY = s.y != 0 ? (y - clientHeight) / s.y : 0;
}

void ViewState::ClientToPlot(double x, double y, int clientWidth, int clientHeight, double& plotX,
                             double& plotY) const {
    double logicalX, logicalY;
    ClientToCorner(x, y, clientWidth, clientHeight, logicalX, logicalY);
    // The paint draws the view's corner 2 logical units above the bottom edge.
    plotX = logicalX * m_zoomDivisor + m_viewLeft;
    plotY = (logicalY - 2) * m_zoomDivisor + m_viewBottom;
}

void ViewState::PlotToClient(double plotX, double plotY, int clientWidth, int clientHeight,
                             double& x, double& y) const {
    const double d = m_zoomDivisor;
    const AxisScales s = MappingScale(TruncToInt(m_extentX / d), TruncToInt(m_extentY / d),
                                      clientWidth, -clientHeight, true);
    x = (plotX - m_viewLeft) / d * s.x;
    y = ((plotY - m_viewBottom) / d + 2) * s.y + clientHeight;
}

SurfacePoint ViewState::ClientToLogical(int x, int y, int clientWidth, int clientHeight) const {
    double logicalX, logicalY;
    ClientToCorner(x, y, clientWidth, clientHeight, logicalX, logicalY);
    return {TruncToInt(std::round(logicalX)) - LOGICAL_BIAS,
            TruncToInt(std::round(logicalY)) - LOGICAL_BIAS};
}

void ViewState::SaveRectangle() {
    m_zoomHistory.push_back({m_viewLeft, m_viewRight, m_viewBottom, m_viewTop});
}

void ViewState::ZoomAbout(int x, int y, bool zoomIn, int clientWidth, int clientHeight) {
    SaveRectangle();
    const double d = m_zoomDivisor;
    const SurfacePoint p = ClientToLogical(x, y, clientWidth, clientHeight);
    const SurfacePoint a = ClientToLogical(0, 0, clientWidth, clientHeight);
    const SurfacePoint b = ClientToLogical(clientWidth, clientHeight, clientWidth, clientHeight);
    // Resolution units, the logical bias carried along: it cancels in the differences.
    auto resX = [&](int l) { return static_cast<std::int64_t>(TruncToInt(l * d + m_viewLeft)); };
    auto resY = [&](int l) { return static_cast<std::int64_t>(TruncToInt(l * d + m_viewBottom)); };
    const std::int64_t moveX = resX(p.x) - (resX(a.x) + resX(b.x)) / 2;
    const std::int64_t moveY = resY(p.y) - (resY(a.y) + resY(b.y)) / 2;
    m_viewLeft += static_cast<float>(moveX);
    m_viewBottom += static_cast<float>(moveY);

    Scale(zoomIn);
    FitToClient(clientWidth, clientHeight);
}

void ViewState::Scale(bool zoomIn) {
    // The drawing window shrinks or grows by the step about its centre.
    const float g = static_cast<float>(m_zoomFactor) / 100.0f / 2.0f;
    const float f = static_cast<float>(m_zoomFactor) / 100.0f;
    if (zoomIn) {
        m_viewLeft += m_extentX * g;
        m_viewBottom += m_extentY * g;
        m_extentX -= m_extentX * f;
        m_extentY -= m_extentY * f;
    } else {
        m_viewLeft -= m_extentX * g;
        m_viewBottom -= m_extentY * g;
        m_extentX += m_extentX * f;
        m_extentY += m_extentY * f;
    }
    m_viewRight = m_viewLeft + m_extentX;
    m_viewTop = m_viewBottom + m_extentY;
}

void ViewState::ZoomAt(int x, int y, bool zoomIn, int clientWidth, int clientHeight) {
    SaveRectangle();
    double beforeX, beforeY, afterX, afterY;
    ClientToPlot(x, y, clientWidth, clientHeight, beforeX, beforeY);
    Scale(zoomIn);
    FitToClient(clientWidth, clientHeight);
    // The scaled rectangle moves whole, so the divisor stays and the point comes back.
    ClientToPlot(x, y, clientWidth, clientHeight, afterX, afterY);
    const double dx = beforeX - afterX, dy = beforeY - afterY;
    m_viewLeft = static_cast<float>(m_viewLeft + dx);
    m_viewRight = static_cast<float>(m_viewRight + dx);
    m_viewBottom = static_cast<float>(m_viewBottom + dy);
    m_viewTop = static_cast<float>(m_viewTop + dy);
}

bool ViewState::ZoomAll(int clientWidth, int clientHeight) {
    // The margin of the first fit keeps the drawing's top border inside the view, which shows
    // the corner 2 logical units above its bottom edge.
    const float before[] = {m_viewLeft, m_viewBottom, m_viewRight, m_viewTop, m_extentX, m_extentY};
    FitHome(clientWidth, clientHeight);
    const float after[] = {m_viewLeft, m_viewBottom, m_viewRight, m_viewTop, m_extentX, m_extentY};
    // Seeing the whole drawing is part of measuring it.
    if (m_zoomMode != ZOOM_MEASURE) m_zoomMode = ZOOM_NONE;
    return !std::equal(std::begin(before), std::end(before), std::begin(after));
}

void ViewState::BeginZoomWindow() {
    SaveRectangle();  // stays on the history even when the drag is cancelled
    m_zoomMode = ZOOM_WINDOW;
}

bool ViewState::EndZoomWindow(bool accepted, int left, int top, int right, int bottom,
                              int clientWidth, int clientHeight) {
    m_zoomMode = ZOOM_NONE;
    if (!accepted) return false;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    const SurfacePoint lowLeft = ClientToLogical(left, bottom, clientWidth, clientHeight);
    const SurfacePoint highRight = ClientToLogical(right, top, clientWidth, clientHeight);
    const RECTANGLE r{lowLeft.x + static_cast<double>(LOGICAL_BIAS),
                      highRight.x + static_cast<double>(LOGICAL_BIAS),
                      lowLeft.y + static_cast<double>(LOGICAL_BIAS),
                      highRight.y + static_cast<double>(LOGICAL_BIAS)};
    // A rectangle without width or height would make the divisor zero: taken as cancelled.
    if (r.left == r.right || r.bottom == r.top) return false;
    const double d = m_zoomDivisor;
    const double l = m_viewLeft, b = m_viewBottom;
    m_viewLeft = static_cast<float>(l + r.left * d);
    m_viewRight = static_cast<float>(l + r.right * d);
    m_viewBottom = static_cast<float>(b + r.bottom * d);
    m_viewTop = static_cast<float>(b + r.top * d);
    FitToClient(clientWidth, clientHeight);
    m_extentX = m_viewRight - m_viewLeft;
    m_extentY = m_viewTop - m_viewBottom;
    return true;
}

bool ViewState::ZoomToBox(double left, double bottom, double right, double top, int clientWidth,
                          int clientHeight) {
    if (clientWidth <= 0 || clientHeight <= 0) return false;
    double width, height;
    VisibleExtent(clientWidth, clientHeight, width, height);
    const double aspect = static_cast<double>(clientHeight) / clientWidth;
    // A box without size (text of height zero) counts as a tenth of an inch.
    constexpr double kLeast = RESOLUTION / 10.0;
    const double boxW = std::max(right - left, kLeast), boxH = std::max(top - bottom, kLeast);
    double w = std::min(width, 20 * boxW);
    w = std::max({w, 1.25 * boxW, 1.25 * boxH / aspect});
    const double h = w * aspect;
    const double cx = (left + right) / 2, cy = (bottom + top) / 2;
    const float edges[] = {static_cast<float>(cx - w / 2), static_cast<float>(cy - h / 2),
                           static_cast<float>(cx + w / 2), static_cast<float>(cy + h / 2)};
    for (const float e : edges) {
        if (!std::isfinite(e)) return false;
    }
    if (!(edges[2] > edges[0] && edges[3] > edges[1])) return false;
    SaveRectangle();
    m_viewLeft = edges[0];
    m_viewBottom = edges[1];
    m_viewRight = edges[2];
    m_viewTop = edges[3];
    FitToClient(clientWidth, clientHeight);
    // The paint shows the corner 2 logical units above the bottom edge: lift the rectangle
    // by as much so the box sits in the middle.
    const float lift = static_cast<float>(2 * m_zoomDivisor);
    m_viewBottom += lift;
    m_viewTop += lift;
    m_extentX = m_viewRight - m_viewLeft;
    m_extentY = m_viewTop - m_viewBottom;
    return true;
}

bool ViewState::ZoomPrevious() {
    if (m_zoomHistory.empty()) return false;
    const RECTANGLE r = m_zoomHistory.back();
    m_viewLeft = static_cast<float>(r.left);
    m_viewRight = static_cast<float>(r.right);
    m_viewBottom = static_cast<float>(r.bottom);
    m_viewTop = static_cast<float>(r.top);
    m_extentX = m_viewRight - m_viewLeft;
    m_extentY = m_viewTop - m_viewBottom;
    UpdateDivisor();
    m_zoomHistory.pop_back();
    return true;
}

void ViewState::PanBy(int dx, int dy, int clientWidth, int clientHeight) {
    SaveRectangle();
    double logicalX, logicalY;
    ClientToCorner(dx, clientHeight + static_cast<double>(dy), clientWidth, clientHeight, logicalX,
                   logicalY);
    m_viewLeft = static_cast<float>(m_viewLeft - logicalX * m_zoomDivisor);
    m_viewBottom = static_cast<float>(m_viewBottom - logicalY * m_zoomDivisor);
}

ScrollOutcome ViewState::Scroll(ScrollBar bar, int code, int position) {
    const ScrollResult result = ScrollStep(bar, code, position);
    return {result, m_hScrollRepaint, m_vScrollRepaint};
}

ScrollResult ViewState::ScrollStep(ScrollBar bar, int code, int position) {
    const bool horizontal = bar == ScrollBar::Horizontal;
    float& edge = horizontal ? m_viewLeft : m_viewBottom;
    const float end = horizontal ? m_viewRight : m_viewTop;
    const float extent = horizontal ? m_extentX : m_extentY;
    bool& repaint = horizontal ? m_hScrollRepaint : m_vScrollRepaint;
    // Codes 0 and 2 move left, or up (toward larger y); 1 and 3 right, or down.
    const bool towardStart = horizontal ? (code == SB_LINELEFT || code == SB_PAGELEFT)
                                        : (code == SB_LINEDOWN || code == SB_PAGEDOWN);
    const bool towardEnd = horizontal ? (code == SB_LINERIGHT || code == SB_PAGERIGHT)
                                      : (code == SB_LINEUP || code == SB_PAGEUP);
    if ((edge <= 0 && towardStart) || (edge >= end && towardEnd)) {
        repaint = false;
        return ScrollResult::Refused;
    }
    if (code != SB_ENDSCROLL && !m_scrollSaved) {
        SaveRectangle();
        m_scrollSaved = true;
    }
    const float factor = static_cast<float>(m_zoomFactor);
    const float line = factor / 1000 * extent;
    const float page = factor / 100 * extent;
    switch (code) {
        case SB_THUMBPOSITION:
            edge = static_cast<float>(position);
            break;
        case SB_ENDSCROLL: {
            m_scrollSaved = false;
            const bool now = repaint;
            repaint = true;
            return now ? ScrollResult::Repaint : ScrollResult::Done;
        }
        case 0:
        case 1:
            edge += towardStart ? -line : line;
            break;
        case 2:
        case 3:
            edge += towardStart ? -page : page;
            break;
        default:  // thumb tracking, top, bottom
            break;
    }
    return ScrollResult::Done;
}

void ViewState::VisibleExtent(int clientWidth, int clientHeight, double& width,
                              double& height) const {
    double left, top, right, bottom;
    ClientToPlot(0, 0, clientWidth, clientHeight, left, top);
    ClientToPlot(clientWidth, clientHeight, clientWidth, clientHeight, right, bottom);
    width = right - left;
    height = top - bottom;
}

namespace {
// A bar over 0..end whose thumb spans page and whose value stands for the scroll position pos
// (from the left), or for end - page - pos (from the top).
ScrollBarShown ShowBar(double end, double page, double pos, bool fromTop) {
    const std::int64_t length = TruncToInt(end);
    const std::int64_t thumb = std::max(1, TruncToInt(page));
    const int maximum = static_cast<int>(std::clamp<std::int64_t>(length - thumb, 0, INT_MAX));
    const std::int64_t at = TruncToInt(pos);
    const std::int64_t value = fromTop ? maximum - at : at;
    return {maximum, static_cast<int>(thumb),
            static_cast<int>(std::clamp<std::int64_t>(value, 0, maximum))};
}
}  // namespace

ScrollBarSettings ViewState::ScrollBars(int clientWidth, int clientHeight) const {
    double width, height;
    VisibleExtent(clientWidth, clientHeight, width, height);
    return {ShowBar(m_viewRight, width, m_viewLeft, false),
            ShowBar(m_viewTop, height, m_viewBottom, true)};
}

int ViewState::ScrollPosition(ScrollBar bar, int value, int clientWidth, int clientHeight) const {
    if (bar == ScrollBar::Horizontal) return value;
    return ScrollBars(clientWidth, clientHeight).vertical.maximum - value;
}
