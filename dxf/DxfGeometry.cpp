#include "dxf/DxfGeometry.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "plot/DxfPens.h"
#include "plot/NumberText.h"
#include "render/PrimDraw.h"
#include "render/StrokeFont.h"

namespace {
constexpr double kRadiansPerDegree = 0.017453293;
constexpr int kPenCodeEnd = 14;
}  // namespace

void CDxfGeometry::Begin(std::int16_t, std::int16_t) {
    m_plotFactor = 1.0;
    m_pen = DxfPen();
    m_polylineOpen = false;
    m_shiftX = m_shiftY = 0;
    if (!m_begun) {
        // The transform first: a refused export must not have begun its output.
        m_world = MakeTransform();
        m_sink.BeginEntities(m_world);
        m_sink.Flush();
        m_begun = true;
    }
    // The pen stands at the paper origin, so a first pen-down draws from its world point (in
    // a scaled conversion far from world zero).
    TransformPoint(0, 0);
    std::memcpy(m_previous, m_current, sizeof m_previous);
}

void CDxfGeometry::SetPen(std::int16_t pen) {
    m_pen.index = DxfPenOfNumber(pen) - 1;
    CouleurColor(pen, m_pen.rgb);
}

void CDxfGeometry::SetPenRgb(std::int16_t r, std::int16_t g, std::int16_t b) {
    m_pen.index = DxfPenOfRgb(r, g, b) - 1;
    // The view draws the low byte of each component.
    m_pen.rgb[0] = static_cast<std::uint8_t>(r & 0xFF);
    m_pen.rgb[1] = static_cast<std::uint8_t>(g & 0xFF);
    m_pen.rgb[2] = static_cast<std::uint8_t>(b & 0xFF);
}

void CDxfGeometry::SetExtent(float, float) {}

void CDxfGeometry::SetPosition(float, float, float) {}

void CDxfGeometry::SetFactor(float factor) {
    m_plotFactor = factor;
}

void CDxfGeometry::Plot(float x, float y, std::int16_t penCode) {
    if (penCode >= kPenCodeEnd) {
        if (m_polylineOpen) EndPolyline();
        m_sink.EndEntities();
        m_sink.Flush();
        return;
    }
    TransformPoint(x, y);
    if (std::abs(penCode) == 2) {
        if (m_polylineOpen) {
            m_sink.PolylineVertex(m_pen, m_current);
        } else {
            m_sink.PolylineStart(m_pen, m_previous, m_current);
            m_polylineOpen = true;
        }
    } else if (m_polylineOpen) {
        EndPolyline();
    }
    std::memcpy(m_previous, m_current, sizeof m_previous);
    if (penCode <= 0) {
        // The new origin applies from the next point on.
        m_shiftX += static_cast<double>(x) * m_plotFactor;
        m_shiftY += static_cast<double>(y) * m_plotFactor;
    }
    m_sink.Flush();
}

void CDxfGeometry::EndPolyline() {
    if (!m_polylineOpen) return;
    m_sink.PolylineEnd(m_pen);
    m_polylineOpen = false;
    m_sink.Flush();
}

void CDxfGeometry::TextEntity(float height, float angle, const char* text, std::size_t length) {
    const float h = static_cast<float>(m_plotFactor * m_world.UnitScale()) * std::fabs(height);
    m_sink.Text(m_pen, m_current, h, TextRotation(angle), std::string_view(text, length));
    std::memcpy(m_previous, m_current, sizeof m_previous);
    m_sink.Flush();
}

void CDxfGeometry::WriteText(float x, float y, float height, float angle, std::int16_t,
                             const char* text) {
    TransformPoint(x, y);
    TextEntity(height, angle, text ? text : "", text ? std::strlen(text) : 0);
}

void CDxfGeometry::WriteNumber(float x, float y, float height, float angle, std::int16_t decimals,
                               float value) {
    TransformPoint(x, y);
    const std::string number = FormatPlotNumber(decimals, value);
    TextEntity(height, angle, number.data(), number.size());
}

void CDxfGeometry::WriteCircle(float x, float y, float radius) {
    TransformPoint(x, y);
    const double r = static_cast<double>(radius) * m_plotFactor * m_world.UnitScale();
    m_sink.Circle(m_pen, m_current, r);
    std::memcpy(m_previous, m_current, sizeof m_previous);
    m_sink.Flush();
}

void CDxfGeometry::WriteSymbol(float x, float y, float height, float angle, std::int16_t penAction,
                               std::int16_t symbol) {
    if (symbol < 0 || symbol > 13) return;
    TransformPoint(x, y);
    if (std::abs(penAction) == 2) m_sink.Line(m_pen, m_previous, m_current);
    std::memcpy(m_previous, m_current, sizeof m_previous);
    m_sink.Symbol(m_pen, m_current, symbol,
                  std::fabs(static_cast<double>(height)) * m_plotFactor * m_world.UnitScale());

    const double radians = static_cast<double>(angle) * kRadiansPerDegree;
    const double c = std::cos(radians), s = std::sin(radians);
    double pen[3];
    std::memcpy(pen, m_previous, sizeof pen);
    const CStrokeFont::Glyph& glyph = g_strokeFont.m_glyphs[symbol + 1];
    if (glyph.m_last > 0) {
        for (int i = glyph.m_first > 1 ? glyph.m_first : 1;
             i <= glyph.m_last && i < CStrokeFont::kPoints; ++i) {
            const double u = g_strokeFont.m_strokeX[i] / 100.0 * height;
            const double v = g_strokeFont.m_strokeY[i] / 100.0 * height;
            const float px = static_cast<float>(x + u * c - v * s);
            const float py = static_cast<float>(y + u * s + v * c);
            TransformPoint(px, py);
            if (g_strokeFont.m_strokePen[i] == 'D') m_sink.Line(m_pen, pen, m_current);
            std::memcpy(pen, m_current, sizeof pen);
        }
    }
    m_sink.Flush();
}
