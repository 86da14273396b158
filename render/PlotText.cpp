#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "render/DrawSurface.h"
#include "render/PlotContext.h"
#include "render/StrokeFont.h"

namespace {
constexpr double kDegToRad = 0.017453293;
}

void CPlotContext::SetDC(DrawSurface* dc) {
    m_pDC = dc;
    m_blind = dc && dc->DrawsNothing();
}

void CPlotContext::DrawString(float x, float y, float angle, const char* text, float height,
                              int length, const PlotMapping& mapping) {
    if (m_faceName == "Velmaro") {
        DrawStrokeText(x, y, angle, text, height, length, mapping);
    } else {
        DrawDeviceText(x, y, angle, text, height, length, mapping);
    }
}

void CPlotContext::DrawStrokeText(float x, float y, float angle, const char* text, float height,
                                  int length, const PlotMapping& mapping) {
    const float offsetX = mapping.offsetX, offsetY = mapping.offsetY;
    const double divisor = mapping.divisor;
    DrawSurface& dc = *m_pDC;
    int rx = ToResolution(x), ry = ToResolution(y);
    UpdateExtents(rx, ry);
    int lx = ToLogical(rx, offsetX, divisor), ly = ToLogical(ry, offsetY, divisor);
    // A string is placed by its start point alone: later characters never rescue it.
    if (!InRange(lx) || !InRange(ly)) return;
    dc.MoveTo(lx, ly);

    const double c = std::cos(-angle * kDegToRad), s = std::sin(-angle * kDegToRad);
    const double advanceX = height * std::cos(angle * kDegToRad);
    const double advanceY = height * std::sin(angle * kDegToRad);
    const CStrokeFont& font = g_strokeFont;
    // A string may be 511 characters of a few glyphs: each glyph is scaled to the height once,
    // and its extent about the reference point noted, so that a character which can neither be
    // drawn nor reach beyond the extents so far is passed over whole.
    ScaledGlyphs scaled;
    for (int i = 0; i < length; ++i) {
        const signed char code = static_cast<signed char>(text[i]);
        if (code < 0) continue;  // beyond ASCII: neither drawn nor advanced
        const CStrokeFont::Glyph& glyph = font.m_glyphs[code];
        if (glyph.m_last != 0) {
            const ScaledGlyphs::Box& box = scaled.Get(code, height, c, s);
            if (!LandsNowhere(box, x, y, mapping)) {
                for (int j = glyph.m_first; j <= glyph.m_last; ++j) {
                    const double px = x + scaled.m_xc[j] + scaled.m_ys[j];
                    const double py = y - scaled.m_xs[j] + scaled.m_yc[j];
                    rx = TruncToInt(m_resolution * px);
                    ry = TruncToInt(m_resolution * py);
                    UpdateExtents(rx, ry);
                    lx = ToLogical(rx, offsetX, divisor);
                    ly = ToLogical(ry, offsetY, divisor);
                    if (!InRange(lx) || !InRange(ly)) continue;
                    if (font.m_strokePen[j] == 'D') {
                        dc.LineTo(lx, ly);
                    } else {
                        dc.MoveTo(lx, ly);
                    }
                }
            }
        }
        x = static_cast<float>(x + advanceX);
        y = static_cast<float>(y + advanceY);
        rx = ToResolution(x);
        ry = ToResolution(y);
        UpdateExtents(rx, ry);
        lx = ToLogical(rx, offsetX, divisor);
        ly = ToLogical(ry, offsetY, divisor);
        if (InRange(lx) && InRange(ly)) dc.MoveTo(lx, ly);
    }
}

const CPlotContext::ScaledGlyphs::Box& CPlotContext::ScaledGlyphs::Get(int code, float height,
                                                                       double c, double s) {
    Box& box = m_boxes[code];
    const std::uint64_t bit = std::uint64_t(1) << (code & 63);
    if (m_ready[code >> 6] & bit) return box;
    m_ready[code >> 6] |= bit;
    box = {0, 0, 0, 0, true};
    const CStrokeFont::Glyph& glyph = g_strokeFont.m_glyphs[code];
    for (int j = glyph.m_first; j <= glyph.m_last; ++j) {
        // The same float steps and products as a point computed on its own.
        const float xs = static_cast<float>(g_strokeFont.m_strokeX[j] / 100.0 * height);
        const float ys = static_cast<float>(g_strokeFont.m_strokeY[j] / 100.0 * height);
        m_xc[j] = xs * c;
        m_ys[j] = ys * s;
        m_xs[j] = xs * s;
        m_yc[j] = ys * c;
        const double dx = m_xc[j] + m_ys[j], dy = -m_xs[j] + m_yc[j];
        box.finite = box.finite && std::isfinite(dx) && std::isfinite(dy);
        box.minX = std::min(box.minX, dx);
        box.maxX = std::max(box.maxX, dx);
        box.minY = std::min(box.minY, dy);
        box.maxY = std::max(box.maxY, dy);
    }
    return box;
}

bool CPlotContext::LandsNowhere(const ScaledGlyphs::Box& box, float x, float y,
                                const PlotMapping& mapping) const {
    const double divisor = mapping.divisor;
    // Bounds of the points' coordinates, widened by far more than the rounding of their
    // computation; anything not finite fails the comparisons and is drawn point by point.
    const double slackX = 1e-9 * (std::fabs(x) + std::fabs(box.minX) + std::fabs(box.maxX)) + 1e-9;
    const double slackY = 1e-9 * (std::fabs(y) + std::fabs(box.minY) + std::fabs(box.maxY)) + 1e-9;
    // Resolution units saturate at the int range (TruncToInt), which can bring a point far
    // off the plot back onto the view: the bounds saturate alike.
    const double r = m_resolution;
    const auto clamp = [](double v) { return std::min(std::max(v, -2147483648.0), 2147483647.0); };
    const double loX = clamp(r * (x + box.minX - slackX)), hiX = clamp(r * (x + box.maxX + slackX));
    const double loY = clamp(r * (y + box.minY - slackY)), hiY = clamp(r * (y + box.maxY + slackY));
    if (!box.finite) return false;
    // The extents only grow (they start at 0): below them, a point changes nothing.
    if (!(hiX + 1 < m_maxX && hiY + 1 < m_maxY)) return false;
    if (m_blind) return true;  // drawn where nothing shows
    if (!(divisor > 0)) return false;
    const auto logical = [&](double v, float offset) {
        return (v - static_cast<double>(offset)) / divisor - LOGICAL_BIAS;
    };
    // Every point beyond the drawable range on one side, in one axis, is drawn nowhere.
    return logical(loX - 1, mapping.offsetX) >= 32001 ||
           logical(hiX + 1, mapping.offsetX) <= -32001 ||
           logical(loY - 1, mapping.offsetY) >= 32001 ||
           logical(hiY + 1, mapping.offsetY) <= -32001;
}

void CPlotContext::DrawDeviceText(float x, float y, float angle, const char* text, float height,
                                  int length, const PlotMapping& mapping) {
    const float offsetX = mapping.offsetX, offsetY = mapping.offsetY;
    const double divisor = mapping.divisor;
    DrawSurface& dc = *m_pDC;
    // Control codes (the markers among them) have no device glyphs: they go to the stroke font
    // at their place in the string, every device character standing in as a space.
    std::string device, stroke;
    bool hasStroke = false;
    for (int i = 0; i < length; ++i) {
        const signed char b = static_cast<signed char>(text[i]);
        if (b >= 32) {
            device += static_cast<char>(b);
            stroke += ' ';
        } else {
            stroke += static_cast<char>(b);
            hasStroke = true;
        }
    }
    if (hasStroke) {
        DrawStrokeText(x, y, angle, stroke.data(), height, length, mapping);
    }

    const float X = static_cast<float>(m_resolution * static_cast<double>(x));
    const float Y = static_cast<float>(m_resolution * static_cast<double>(y));
    UpdateExtents(X, Y);
    const float lx =
        static_cast<float>((X - static_cast<double>(offsetX)) / divisor - LOGICAL_BIAS);
    const float ly =
        static_cast<float>((Y - static_cast<double>(offsetY)) / divisor - LOGICAL_BIAS);

    double h =
        std::trunc(std::ceil(dc.GetDeviceCaps(LOGPIXELSY) * static_cast<double>(height) / divisor));
    // Screen fonts are drawn five times larger than the plot height says; printing is 1:1.
    if (divisor != 1.0) h *= 5;
    DeviceFontRequest request;
    request.height = TruncToInt(h);
    request.escapement = TruncToInt(-10.0 * angle);
    request.faceName = m_faceName;
    const DrawSurface::Handle font = dc.CreateFont(request);
    dc.SetTextColor(MakeColorRef(m_red, m_green, m_blue));
    const DrawSurface::Handle kept = dc.SelectFont(font);
    dc.SetTextAlign(TA_BASELINE_LEFT);
    dc.SetBkMode(BK_TRANSPARENT);
    dc.ExtTextOut(TruncToInt(lx), TruncToInt(ly), device.data(), static_cast<int>(device.size()));
    dc.SelectFont(kept);
    dc.DeleteFont(font);
}
