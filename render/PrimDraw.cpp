#include "render/PrimDraw.h"

#include <string>

#include "plot/DxfPens.h"
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
// rectangle (twice the window, right and up from its origin) or nothing drawn shows; otherwise
// x0..y1 hold the (clipped) segment.
bool Connect(CPlotContext& context, int lx, int ly, double& x0, double& y0, double& x1,
             double& y1) {
    const DrawSurface& dc = *context.GetDC();
    const SurfacePoint org = dc.GetWindowOrg(), ext = dc.GetWindowExt();
    x0 = context.GetLastX();
    y0 = context.GetLastY();
    x1 = lx;
    y1 = ly;
    context.SetLastPoint(static_cast<float>(lx), static_cast<float>(ly));
    if (context.IsBlind()) return false;  // nothing would show: the pen has moved, that is all
    if (context.IsNoClip()) return true;
    return ClipLine(x0, y0, x1, y1, org.x, org.x + 2.0 * ext.x, org.y, org.y + 2.0 * ext.y);
}

bool ClipEdge(double p, double q, double& tEnter, double& tLeave) {
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
}  // namespace

void PrimPainter::Visit(const Pinit&) {
    m_context.SetOrigin(0, 0);
    m_context.SetScale(1.0f);
    m_context.SetColor(0, 0, 0);
    m_context.SetLayerPen(1);
    m_context.ResetPen();
}

bool CouleurColor(std::int16_t pen, std::uint8_t rgb[3]) {
    if (pen < 1 || pen > 9) return false;
    const Rgb& c = kPenColors[pen];
    rgb[0] = c.r;
    rgb[1] = c.g;
    rgb[2] = c.b;
    return true;
}

void PrimPainter::Visit(const Couleur& p) {
    // The export clamps every pen; the plotter ignores those it has no colour for.
    m_context.SetLayerPen(DxfPenOfNumber(p.m_pen));
    std::uint8_t c[3];
    if (CouleurColor(p.m_pen, c)) m_context.SetColor(c[0], c[1], c[2]);
}

void PrimPainter::Visit(const NewColor& p) {
    m_context.SetLayerPen(DxfPenOfRgb(p.m_r, p.m_g, p.m_b));
    m_context.SetColor(static_cast<std::uint8_t>(p.m_r & 0xFF),
                       static_cast<std::uint8_t>(p.m_g & 0xFF),
                       static_cast<std::uint8_t>(p.m_b & 0xFF));
}

void PrimPainter::Visit(const Facteur& p) {
    m_context.SetScale(p.m_factor);
}

void PrimPainter::Visit(const Ligne& p) {
    if (p.m_penCode == 999) return;
    const int rx = m_context.ToResolution(m_context.AbsoluteX(p.m_x));
    const int ry = m_context.ToResolution(m_context.AbsoluteY(p.m_y));
    if (p.m_penCode == 2) m_context.UpdateExtents(rx, ry);
    const int lx = CPlotContext::ToLogical(rx, m_mapping.offsetX, m_mapping.divisor);
    const int ly = CPlotContext::ToLogical(ry, m_mapping.offsetY, m_mapping.divisor);
    double x0, y0, x1, y1;
    const bool visible = Connect(m_context, lx, ly, x0, y0, x1, y1);
    if (p.m_penCode == -3) {
        // The origin follows the point whether or not the move is visible.
        m_context.MoveOrigin(p.m_x, p.m_y);
    }
    if (!visible) return;
    DrawSurface& dc = *m_context.GetDC();
    dc.MoveTo(TruncToInt(x0), TruncToInt(y0));
    if (p.m_penCode == 2) {
        dc.LineTo(TruncToInt(x1), TruncToInt(y1));
    } else if (p.m_penCode == 3 || p.m_penCode == -3) {
        dc.MoveTo(TruncToInt(x1), TruncToInt(y1));
    }
}

void PrimPainter::Visit(const Cercle& p) {
    const int rx = m_context.ToResolution(m_context.AbsoluteX(p.m_x));
    const int ry = m_context.ToResolution(m_context.AbsoluteY(p.m_y));
    m_context.UpdateExtents(rx, ry);
    const float r = static_cast<float>(static_cast<double>(m_context.GetScale()) * p.m_radius *
                                       m_context.GetResolution() / m_mapping.divisor);
    const int cx = CPlotContext::ToLogical(rx, m_mapping.offsetX, m_mapping.divisor);
    const int cy = CPlotContext::ToLogical(ry, m_mapping.offsetY, m_mapping.divisor);
    if (!CPlotContext::InRange(cx) || !CPlotContext::InRange(cy)) return;
    const int left = TruncToInt(cx - static_cast<double>(r));
    const int top = TruncToInt(cy - static_cast<double>(r));
    const int right = TruncToInt(cx + static_cast<double>(r));
    const int bottom = TruncToInt(cy + static_cast<double>(r));
    m_context.GetDC()->Arc(left, top, right, bottom, left, top, left, top);
}

void PrimPainter::Visit(const Symbole& p) {
    const float x = TextAbsoluteX(m_context, p.m_x);
    const float y = TextAbsoluteY(m_context, p.m_y);
    m_context.UpdateExtents(m_context.ToResolution(x), m_context.ToResolution(y));
    const float h = static_cast<float>(static_cast<double>(m_context.GetScale()) * p.m_height);
    m_context.DrawString(x, y, p.m_angle, p.m_text.get(), h, p.m_length > 0 ? p.m_length : 0,
                         m_mapping);
}

void PrimPainter::Visit(const Nombre& p) {
    const float x = TextAbsoluteX(m_context, p.m_x);
    const float y = TextAbsoluteY(m_context, p.m_y);
    const float h = static_cast<float>(static_cast<double>(m_context.GetScale()) * p.m_height);
    std::string text = FormatPlotNumber(p.m_decimals, p.m_value);
    if (text.size() > 31) text.resize(31);  // the plotter's number buffer holds 31 characters
    m_context.UpdateExtents(m_context.ToResolution(x), m_context.ToResolution(y));
    m_context.DrawString(x, y, p.m_angle, text.data(), h, static_cast<int>(text.size()), m_mapping);
}

void PrimPainter::Visit(const Symspecial& p) {
    const float x = TextAbsoluteX(m_context, p.m_x);
    const float y = TextAbsoluteY(m_context, p.m_y);
    const int rx = m_context.ToResolution(x), ry = m_context.ToResolution(y);
    m_context.UpdateExtents(rx, ry);
    const int lx = CPlotContext::ToLogical(rx, m_mapping.offsetX, m_mapping.divisor);
    const int ly = CPlotContext::ToLogical(ry, m_mapping.offsetY, m_mapping.divisor);
    double x0, y0, x1, y1;
    const bool visible = Connect(m_context, lx, ly, x0, y0, x1, y1);
    const float h = static_cast<float>(static_cast<double>(m_context.GetScale()) * p.m_height);
    DrawSurface& dc = *m_context.GetDC();
    if (visible) {
        dc.MoveTo(TruncToInt(x0), TruncToInt(y0));
        if (p.m_penAction == -2) {
            dc.LineTo(TruncToInt(x1), TruncToInt(y1));
        } else if (p.m_penAction == -1) {
            dc.MoveTo(TruncToInt(x1), TruncToInt(y1));
        }
    }
    const char marker = static_cast<char>((p.m_symbol + 1) & 0xFF);
    m_context.DrawString(x, y, p.m_angle, &marker, h, 1, m_mapping);
    // The marker has moved the surface's position; the plot's pen stays at the marker.
    if (visible) dc.MoveTo(TruncToInt(x1), TruncToInt(y1));
}

bool ClipLine(double& x0, double& y0, double& x1, double& y1, double xMin, double xMax, double yMin,
              double yMax) {
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
