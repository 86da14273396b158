// The paper-to-world transform of the DXF geometry: its set-up at the start of an export and the
// mapping of every point (the arithmetic is world/'s, which the viewer shares).
#include <cmath>

#include "dxf/DxfExportError.h"
#include "dxf/DxfGeometry.h"
#include "dxf/DxfLayers.h"

PaperToWorld CDxfGeometry::MakeTransform() const {
    const std::string layerProblem = LayerNameProblem(m_settings.layerName);
    if (!layerProblem.empty()) throw DxfExportError(layerProblem);
    try {
        return PaperToWorld(m_settings);
    } catch (const TransformError& e) {
        throw DxfExportError(std::string("DXF export refused: ") + e.what());
    }
}

void CDxfGeometry::CheckTransform() const {
    MakeTransform();
}

void CDxfGeometry::TransformPoint(float x, float y) {
    const double u = m_world.UnitScale();
    const WorldPoint w = m_world.FromScaled((static_cast<double>(x) * m_plotFactor + m_shiftX) * u,
                                            (static_cast<double>(y) * m_plotFactor + m_shiftY) * u);
    m_current[0] = w.e;
    m_current[1] = w.n;
    m_current[2] = w.h;
}

double CDxfGeometry::TextRotation(float angle) const {
    const double paper = std::fmod(static_cast<double>(angle) + 360.0, 360.0);
    // A horizontal conversion only shifts the drawing: its texts keep their paper angle.
    if (!m_world.IsScaled() || !m_world.IsThreePoint()) return paper;

    // The world direction of the baseline, T(p + (cos a, sin a)) - T(p), seen in plan.
    constexpr double kPi = 3.14159265358979323846;
    const double radians = static_cast<double>(angle) * (kPi / 180.0);
    const double step = m_plotFactor * m_world.UnitScale();
    const WorldPoint d = m_world.Direction(std::cos(radians) * step, std::sin(radians) * step);
    const double plan = std::hypot(d.e, d.n);
    // A baseline that has no plan direction (it runs straight up a vertical plane, or the
    // factor is 0) keeps the paper angle.
    if (!(plan > 1e-9 * std::hypot(plan, d.h))) return paper;
    double degrees = std::atan2(d.n, d.e) * (180.0 / kPi);
    if (degrees < 0) degrees += 360.0;
    return degrees < 360.0 ? degrees : 0.0;  // a tiny negative angle plus 360 rounds up
}
