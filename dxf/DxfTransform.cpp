// The paper-to-world transform of the DXF writer: its set-up at the start of an export and the
// mapping of every point.
#include <cmath>
#include <cstdlib>

#include "dxf/DxfExportError.h"
#include "dxf/DxfLayers.h"
#include "dxf/DxfOut.h"
#include "dxf/SolveLinear.h"

namespace {
bool AllFinite(const double* v, int n) {
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(v[i])) return false;
    }
    return true;
}
}  // namespace

void CDxfOut::ComputeSetup(Setup& s) const {
    const std::string layerProblem = LayerNameProblem(m_settings.layerName);
    if (!layerProblem.empty()) throw DxfExportError(layerProblem);
    if (!IsScaled()) return;  // paper coordinates as they are, on the plane z = 0

    const bool imperial = m_settings.unitsIndex != 0;
    const double u =
        imperial ? m_settings.originalScale / 12.0 : m_settings.originalScale * 2.54 / 100.0;
    s.unitScale = u;

    double a[3][3] = {{u * m_settings.paperX[0], u * m_settings.paperY[0], 1}};
    double b[3][3] = {{m_settings.easting[0], m_settings.northing[0], m_settings.elevation[0]}};
    const double rightSum = m_settings.easting[1] + m_settings.northing[1] +
                            m_settings.elevation[1] + m_settings.easting[2] +
                            m_settings.northing[2] + m_settings.elevation[2];
    const bool horizontal = rightSum == 0.0;
    if (horizontal) {
        // One plot unit right of the lower-left corner lies u east of it, one up lies u north.
        a[1][0] = (m_settings.paperX[0] + 1) * u, a[1][1] = u * m_settings.paperY[0], a[1][2] = 1;
        b[1][0] = u * 1 + m_settings.easting[0], b[1][1] = m_settings.northing[0],
        b[1][2] = m_settings.elevation[0];
        a[2][0] = u * m_settings.paperX[0], a[2][1] = (m_settings.paperY[0] + 1) * u, a[2][2] = 1;
        b[2][0] = m_settings.easting[0], b[2][1] = u * 1 + m_settings.northing[0],
        b[2][2] = m_settings.elevation[0];
    } else {
        for (int k = 1; k < 3; ++k) {
            a[k][0] = u * m_settings.paperX[k], a[k][1] = u * m_settings.paperY[k], a[k][2] = 1;
            b[k][0] = m_settings.easting[k], b[k][1] = m_settings.northing[k],
            b[k][2] = m_settings.elevation[k];
        }
    }

    if (!AllFinite(&a[0][0], 9) || !AllFinite(&b[0][0], 9)) {
        throw DxfExportError(
            "DXF export refused: the correspondence points or the original scale are not finite "
            "numbers");
    }
    SolveResult solved = SolveLinear(&a[0][0], 3, &b[0][0], 3);
    if (solved == SolveResult::kSingular) {
        throw DxfExportError(
            "DXF export refused: the paper points of the correspondence points lie on one line "
            "(or the original scale is 0), so they define no transform");
    }
    if (solved == SolveResult::kIllConditioned) {
        throw DxfExportError(
            "DXF export refused: the paper points of the correspondence points lie almost on one "
            "line, so the transform is ill-conditioned");
    }
    if (!AllFinite(&b[0][0], 9)) {
        throw DxfExportError(
            "DXF export refused: the correspondence points give a transform too large to write");
    }
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) s.coef[r][c] = b[r][c];
    }
    s.coefSet = true;

    if (horizontal) return;
    s.threePoint = true;
    const double ax = m_settings.easting[1] - m_settings.easting[0],
                 ay = m_settings.northing[1] - m_settings.northing[0],
                 az = m_settings.elevation[1] - m_settings.elevation[0];
    const double bx = m_settings.easting[2] - m_settings.easting[0],
                 by = m_settings.northing[2] - m_settings.northing[0],
                 bz = m_settings.elevation[2] - m_settings.elevation[0];
    const double n[3] = {ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
    const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(len > 0) || !std::isfinite(len)) {
        throw DxfExportError(
            "DXF export refused: the three world points of the correspondence points lie on one "
            "line, so they define no drawing plane");
    }
}

void CDxfOut::ApplySetup(const Setup& s) {
    m_unitScale = s.unitScale;
    if (s.coefSet) {
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) m_coef[r][c] = s.coef[r][c];
        }
    }
    m_threePoint = s.threePoint;
}

void CDxfOut::CheckTransform() const {
    Setup s;
    ComputeSetup(s);
}

void CDxfOut::TransformPoint(float x, float y) {
    const double e = (static_cast<double>(x) * m_plotFactor + m_shiftX) * m_unitScale;
    const double f = (static_cast<double>(y) * m_plotFactor + m_shiftY) * m_unitScale;
    if (IsScaled()) {
        for (int c = 0; c < 3; ++c)
            m_current[c] = m_coef[0][c] * e + m_coef[1][c] * f + m_coef[2][c];
    } else {
        m_current[0] = e;
        m_current[1] = f;
        m_current[2] = 0;
    }
}

double CDxfOut::TextRotation(float angle) const {
    const double paper = std::fmod(static_cast<double>(angle) + 360.0, 360.0);
    // A horizontal conversion only shifts the drawing: its texts keep their paper angle.
    if (!IsScaled() || !m_threePoint) return paper;

    // The world direction of the baseline, T(p + (cos a, sin a)) - T(p), seen in plan.
    constexpr double kPi = 3.14159265358979323846;
    const double radians = static_cast<double>(angle) * (kPi / 180.0);
    const double step = m_plotFactor * m_unitScale;
    const double du = std::cos(radians) * step, dv = std::sin(radians) * step;
    double d[3];
    for (int c = 0; c < 3; ++c) d[c] = m_coef[0][c] * du + m_coef[1][c] * dv;
    const double plan = std::hypot(d[0], d[1]);
    // A baseline that has no plan direction (it runs straight up a vertical plane, or the
    // factor is 0) keeps the paper angle.
    if (!(plan > 1e-9 * std::hypot(plan, d[2]))) return paper;
    double degrees = std::atan2(d[1], d[0]) * (180.0 / kPi);
    if (degrees < 0) degrees += 360.0;
    return degrees < 360.0 ? degrees : 0.0;  // a tiny negative angle plus 360 rounds up
}
