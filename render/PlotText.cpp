#include <cmath>
#include <cstdint>
#include <string>

#include "render/DrawSurface.h"
#include "render/PlotContext.h"
#include "render/StrokeFont.h"

namespace {
constexpr double kDegToRad = 0.017453293;
}

void CPlotContext::DrawString(float x, float y, float angle, const char* text, float height,
                              int length, float offsetX, float offsetY, double divisor) {
    if (m_faceName == "Velmaro") {
        DrawStrokeText(x, y, angle, text, height, length, offsetX, offsetY, divisor);
    } else {
        DrawDeviceText(x, y, angle, text, height, length, offsetX, offsetY, divisor);
    }
}

void CPlotContext::DrawStrokeText(float x, float y, float angle, const char* text, float height,
                                  int length, float offsetX, float offsetY, double divisor) {
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
    for (int i = 0; i < length; ++i) {
        const signed char code = static_cast<signed char>(text[i]);
        if (code < 0) continue;  // beyond ASCII: neither drawn nor advanced
        const CStrokeFont::Glyph& glyph = font.m_glyphs[code];
        if (glyph.m_last != 0) {
            for (int j = glyph.m_first; j <= glyph.m_last; ++j) {
                const float xs = static_cast<float>(font.m_strokeX[j] / 100.0 * height);
                const float ys = static_cast<float>(font.m_strokeY[j] / 100.0 * height);
                const double px = x + xs * c + ys * s;
                const double py = y - xs * s + ys * c;
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

void CPlotContext::DrawDeviceText(float x, float y, float angle, const char* text, float height,
                                  int length, float offsetX, float offsetY, double divisor) {
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
        DrawStrokeText(x, y, angle, stroke.data(), height, length, offsetX, offsetY, divisor);
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
