#include <string>

#include "plot/NumberText.h"
#include "plot/Prim.h"
#include "render/DrawSurface.h"
#include "render/PlotContext.h"

namespace {
struct Rgb {
    std::uint8_t r, g, b;
};
// Pens 1 to 9 of a Couleur; index 0 unused.
constexpr Rgb kPenColors[10] = {{0, 0, 0},   {0, 0, 0},     {255, 0, 0}, {255, 255, 0},
                                {0, 255, 0}, {0, 255, 255}, {0, 0, 255}, {255, 0, 255},
                                {0, 0, 0},   {255, 128, 0}};

// Text and markers at x or y exactly 999.0 are placed there as given, ignoring origin and scale.
float TextAbsoluteX(const CPlotContext& context, float x) {
    return x == 999.0f ? x : context.AbsoluteX(x);
}
float TextAbsoluteY(const CPlotContext& context, float y) {
    return y == 999.0f ? y : context.AbsoluteY(y);
}

// The pen movement shared by Ligne and Symspecial: from the context's last point to (lx, ly),
// which becomes the last point. Returns false when the segment lies wholly outside the clip
// rectangle (twice the window, right and up from its origin); otherwise x0..y1 hold the
// (clipped) segment.
bool Connect(CPlotContext& context, int lx, int ly, double& x0, double& y0, double& x1,
             double& y1) {
    const DrawSurface& dc = *context.GetDC();
    const SurfacePoint org = dc.GetWindowOrg(), ext = dc.GetWindowExt();
    x0 = context.m_lastX;
    y0 = context.m_lastY;
    x1 = lx;
    y1 = ly;
    context.m_lastX = static_cast<float>(lx);
    context.m_lastY = static_cast<float>(ly);
    if (context.m_noClip) return true;
    return Prim::ClipLine(x0, y0, x1, y1, org.x, org.x + 2.0 * ext.x, org.y, org.y + 2.0 * ext.y);
}
}  // namespace

void Prim::Draw(CPlotContext&, float, float, double) const {}

void Pinit::Draw(CPlotContext& context, float, float, double) const {
    context.SetOriginX(0);
    context.SetOriginY(0);
    context.SetScale(1.0f);
    context.SetRed(0);
    context.SetGreen(0);
    context.SetBlue(0);
    context.m_lastX = -LOGICAL_BIAS;
    context.m_lastY = -LOGICAL_BIAS;
}

void Couleur::Draw(CPlotContext& context, float, float, double) const {
    if (m_pen < 1 || m_pen > 9) return;
    const Rgb& c = kPenColors[m_pen];
    context.SetRed(c.r);
    context.SetGreen(c.g);
    context.SetBlue(c.b);
}

void NewColor::Draw(CPlotContext& context, float, float, double) const {
    context.SetRed(static_cast<std::uint8_t>(m_r & 0xFF));
    context.SetGreen(static_cast<std::uint8_t>(m_g & 0xFF));
    context.SetBlue(static_cast<std::uint8_t>(m_b & 0xFF));
}

void Facteur::Draw(CPlotContext& context, float, float, double) const {
    context.SetScale(m_factor);
}

void Ligne::Draw(CPlotContext& context, float offsetX, float offsetY, double divisor) const {
    if (m_penCode == 999) return;
    const int rx = context.ToResolution(context.AbsoluteX(m_x));
    const int ry = context.ToResolution(context.AbsoluteY(m_y));
    if (m_penCode == 2) context.UpdateExtents(rx, ry);
    const int lx = CPlotContext::ToLogical(rx, offsetX, divisor);
    const int ly = CPlotContext::ToLogical(ry, offsetY, divisor);
    double x0, y0, x1, y1;
    const bool visible = Connect(context, lx, ly, x0, y0, x1, y1);
    if (m_penCode == -3) {
        // The origin follows the point whether or not the move is visible.
        context.SetOriginX(context.GetOriginX() +
                           static_cast<float>(static_cast<double>(context.GetScale()) * m_x));
        context.SetOriginY(context.GetOriginY() +
                           static_cast<float>(static_cast<double>(context.GetScale()) * m_y));
    }
    if (!visible) return;
    DrawSurface& dc = *context.GetDC();
    dc.MoveTo(TruncToInt(x0), TruncToInt(y0));
    if (m_penCode == 2) {
        dc.LineTo(TruncToInt(x1), TruncToInt(y1));
    } else if (m_penCode == 3 || m_penCode == -3) {
        dc.MoveTo(TruncToInt(x1), TruncToInt(y1));
    }
}

void Cercle::Draw(CPlotContext& context, float offsetX, float offsetY, double divisor) const {
    const int rx = context.ToResolution(context.AbsoluteX(m_x));
    const int ry = context.ToResolution(context.AbsoluteY(m_y));
    context.UpdateExtents(rx, ry);
    const float r = static_cast<float>(static_cast<double>(context.GetScale()) * m_radius *
                                       context.GetResolution() / divisor);
    const int cx = CPlotContext::ToLogical(rx, offsetX, divisor);
    const int cy = CPlotContext::ToLogical(ry, offsetY, divisor);
    if (!CPlotContext::InRange(cx) || !CPlotContext::InRange(cy)) return;
    const int left = TruncToInt(cx - static_cast<double>(r));
    const int top = TruncToInt(cy - static_cast<double>(r));
    const int right = TruncToInt(cx + static_cast<double>(r));
    const int bottom = TruncToInt(cy + static_cast<double>(r));
    context.GetDC()->Arc(left, top, right, bottom, left, top, left, top);
}

void Symbole::Draw(CPlotContext& context, float offsetX, float offsetY, double divisor) const {
    const float x = TextAbsoluteX(context, m_x);
    const float y = TextAbsoluteY(context, m_y);
    context.UpdateExtents(context.ToResolution(x), context.ToResolution(y));
    const float h = static_cast<float>(static_cast<double>(context.GetScale()) * m_height);
    context.DrawString(x, y, m_angle, m_text.get(), h, m_length > 0 ? m_length : 0, offsetX,
                       offsetY, divisor);
}

void Nombre::Draw(CPlotContext& context, float offsetX, float offsetY, double divisor) const {
    const float x = TextAbsoluteX(context, m_x);
    const float y = TextAbsoluteY(context, m_y);
    const float h = static_cast<float>(static_cast<double>(context.GetScale()) * m_height);
    std::string text = FormatPlotNumber(m_decimals, m_value);
    if (text.size() > 31) text.resize(31);  // the plotter's number buffer holds 31 characters
    context.UpdateExtents(context.ToResolution(x), context.ToResolution(y));
    context.DrawString(x, y, m_angle, text.data(), h, static_cast<int>(text.size()), offsetX,
                       offsetY, divisor);
}

void Symspecial::Draw(CPlotContext& context, float offsetX, float offsetY, double divisor) const {
    const float x = TextAbsoluteX(context, m_x);
    const float y = TextAbsoluteY(context, m_y);
    const int rx = context.ToResolution(x), ry = context.ToResolution(y);
    context.UpdateExtents(rx, ry);
    const int lx = CPlotContext::ToLogical(rx, offsetX, divisor);
    const int ly = CPlotContext::ToLogical(ry, offsetY, divisor);
    double x0, y0, x1, y1;
    const bool visible = Connect(context, lx, ly, x0, y0, x1, y1);
    const float h = static_cast<float>(static_cast<double>(context.GetScale()) * m_height);
    DrawSurface& dc = *context.GetDC();
    if (visible) {
        dc.MoveTo(TruncToInt(x0), TruncToInt(y0));
        if (m_penAction == -2) {
            dc.LineTo(TruncToInt(x1), TruncToInt(y1));
        } else if (m_penAction == -1) {
            dc.MoveTo(TruncToInt(x1), TruncToInt(y1));
        }
    }
    const char marker = static_cast<char>((m_symbol + 1) & 0xFF);
    context.DrawString(x, y, m_angle, &marker, h, 1, offsetX, offsetY, divisor);
    // The marker has moved the surface's position; the plot's pen stays at the marker.
    if (visible) dc.MoveTo(TruncToInt(x1), TruncToInt(y1));
}

bool Prim::ClipEdge(double p, double q, double& tEnter, double& tLeave) {
    if (p < 0) {
        const double t = q / p;
        if (t > tLeave) return false;
        if (t > tEnter) tEnter = t;
    } else if (p > 0) {
        const double t = q / p;
        if (t < tEnter) return false;
        if (t < tLeave) tLeave = t;
    } else if (q < 0) {
        return false;
    }
    return true;
}

bool Prim::ClipLine(double& x0, double& y0, double& x1, double& y1, double xMin, double xMax,
                    double yMin, double yMax) {
    // Both ends inside: the edge tests could change nothing, so skip their divisions.
    if (x0 >= xMin && x0 <= xMax && x1 >= xMin && x1 <= xMax && y0 >= yMin && y0 <= yMax &&
        y1 >= yMin && y1 <= yMax) {
        return true;
    }
    double tEnter = 0, tLeave = 1;
    const double dx = x1 - x0;
    if (!ClipEdge(-dx, x0 - xMin, tEnter, tLeave) || !ClipEdge(dx, xMax - x0, tEnter, tLeave)) {
        return false;
    }
    const double dy = y1 - y0;
    if (!ClipEdge(-dy, y0 - yMin, tEnter, tLeave) || !ClipEdge(dy, yMax - y0, tEnter, tLeave)) {
        return false;
    }
    const double sx = x0, sy = y0;
    if (tEnter > 0) {
        x0 = sx + tEnter * dx;
        y0 = sy + tEnter * dy;
    }
    if (tLeave < 1) {
        x1 = sx + tLeave * dx;
        y1 = sy + tLeave * dy;
    }
    return true;
}
