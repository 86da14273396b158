#include "dxf/DxfOut.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "plot/NumberText.h"
#include "render/StrokeFont.h"

namespace {
constexpr double kRadiansPerDegree = 0.017453293;
constexpr int kPenCodeEnd = 14;
// The extrusion of every TEXT and CIRCLE (see the class comment).
constexpr double kFlat[3] = {0, 0, 1};
}  // namespace

void CDxfOut::Begin(Archive* output, std::int16_t, std::int16_t) {
    m_plotFactor = 1.0;
    m_archive = output;
    m_penIndex = 0;
    m_polylineOpen = false;
    m_shiftX = m_shiftY = 0;
    if (!m_headerWritten) {
        // The transform first: a refused export must not have written its header.
        m_world = MakeTransform();
        m_text.Group("  0", "SECTION");
        m_text.Group("  2", "ENTITIES");
        Flush();
        m_headerWritten = true;
    }
    // The pen stands at the paper origin, so a first pen-down draws from its world point (in
    // a scaled conversion far from world zero).
    TransformPoint(0, 0);
    std::memcpy(m_previous, m_current, sizeof m_previous);
}

void CDxfOut::SetPen(std::int16_t pen) {
    int p = pen < 1 ? 1 : pen > 8 ? 8 : pen;
    m_penIndex = p - 1;
}

void CDxfOut::SetPenRgb(std::int16_t r, std::int16_t g, std::int16_t b) {
    struct PenColor {
        std::int16_t r, g, b;
        int pen;
    };
    static const PenColor kPens[] = {{255, 0, 0, 2},   {255, 255, 0, 3}, {0, 255, 0, 4},
                                     {0, 255, 255, 5}, {0, 0, 255, 6},   {255, 0, 255, 7}};
    int pen = 1;
    for (const PenColor& p : kPens) {
        if (p.r == r && p.g == g && p.b == b) pen = p.pen;
    }
    m_penIndex = pen - 1;
}

void CDxfOut::SetExtent(float, float) {}

void CDxfOut::SetPosition(float, float, float) {}

void CDxfOut::SetFactor(float factor) {
    m_plotFactor = factor;
}

void CDxfOut::EntityStart(const char* kind) {
    m_text.Group("  0", kind);
    m_text.Group("  8", Layer());
    m_text.Color(m_settings.layerColor[m_penIndex]);
}

void CDxfOut::Plot(float x, float y, std::int16_t penCode) {
    if (penCode >= kPenCodeEnd) {
        if (m_polylineOpen) EndPolyline();
        m_text.Group("  0", "ENDSEC");
        m_text.Group("  0", "EOF");
        Flush();
        return;
    }
    TransformPoint(x, y);
    if (std::abs(penCode) == 2) {
        if (m_polylineOpen) {
            EntityStart("VERTEX");
            m_text.Group(" 70", "   32");
            m_text.Point(m_current);
        } else {
            // A 3D polyline (flag 8) of world-coordinate vertices (flag 32).
            m_text.Group("  0", "POLYLINE");
            m_text.Group("  8", Layer());
            m_text.Color(m_settings.layerColor[m_penIndex]);
            m_text.Group(" 66", "     1");
            m_text.Group(" 70", "     8");
            for (const double* p : {m_previous, m_current}) {
                m_text.Group("  0", "VERTEX");
                m_text.Group("  8", Layer());
                m_text.Group(" 70", "    32");
                m_text.Point(p);
            }
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
    Flush();
}

void CDxfOut::EndPolyline() {
    if (!m_polylineOpen) return;
    EntityStart("SEQEND");
    m_polylineOpen = false;
    Flush();
}

void CDxfOut::TextEntity(float height, float angle, const char* text, std::size_t length) {
    const float h = static_cast<float>(m_plotFactor * m_world.UnitScale()) * std::fabs(height);
    EntityStart("TEXT");
    m_text.Point(m_current);
    m_text.Height(h);
    m_text.Extrusion(kFlat);
    m_text.Text(std::string_view(text, length));
    m_text.Rotation(TextRotation(angle));
    m_text.WidthFactor();
    std::memcpy(m_previous, m_current, sizeof m_previous);
    Flush();
}

void CDxfOut::WriteText(float x, float y, float height, float angle, std::int16_t,
                        const char* text) {
    TransformPoint(x, y);
    TextEntity(height, angle, text ? text : "", text ? std::strlen(text) : 0);
}

void CDxfOut::WriteNumber(float x, float y, float height, float angle, std::int16_t decimals,
                          float value) {
    TransformPoint(x, y);
    const std::string number = FormatPlotNumber(decimals, value);
    TextEntity(height, angle, number.data(), number.size());
}

void CDxfOut::WriteCircle(float x, float y, float radius) {
    TransformPoint(x, y);
    const double r = static_cast<double>(radius) * m_plotFactor * m_world.UnitScale();
    EntityStart("CIRCLE");
    m_text.Point(m_current);
    m_text.Radius(r);
    m_text.Extrusion(kFlat);
    std::memcpy(m_previous, m_current, sizeof m_previous);
    Flush();
}

void CDxfOut::Line(const double from[3], const double to[3]) {
    EntityStart("LINE");
    m_text.Point(from);
    m_text.EndPoint(to);
}

void CDxfOut::WriteSymbol(float x, float y, float height, float angle, std::int16_t penAction,
                          std::int16_t symbol) {
    if (symbol < 0 || symbol > 13) return;
    TransformPoint(x, y);
    if (std::abs(penAction) == 2) Line(m_previous, m_current);
    std::memcpy(m_previous, m_current, sizeof m_previous);

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
            if (g_strokeFont.m_strokePen[i] == 'D') Line(pen, m_current);
            std::memcpy(pen, m_current, sizeof pen);
        }
    }
    Flush();
}
