// The paper-to-world transform of the DXF writer: its set-up at the start of an export and the
// mapping of every point.
#include <cmath>
#include <cstdlib>

#include "dxf/DxfExportError.h"
#include "dxf/DxfOut.h"
#include "dxf/ScanNumber.h"
#include "dxf/SolveLinear.h"

namespace {
// The value a reader gets back from "%9.6lf".
double AsWritten(double v) {
    char buf[kMaxFixed];
    const char* end = FormatFixed(buf, v, 9, 6);
    double read = 0;
    ScanDouble(buf, end, read);
    return read;
}

void Normalize(double v[3]) {
    double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    for (int i = 0; i < 3; ++i) v[i] /= len;
}

// The object coordinate system a CAD reader derives from the extrusion in the file (the
// arbitrary axis algorithm). Using the written, rounded normal rather than the exact one keeps
// TEXT and CIRCLE where they belong at survey-size coordinates.
void OcsAxes(const double normal[3], double x[3], double y[3], double z[3], bool& isWorld) {
    for (int i = 0; i < 3; ++i) z[i] = AsWritten(normal[i]);
    isWorld = z[0] == 0 && z[1] == 0 && z[2] == 1;
    Normalize(z);
    const double limit = 1.0 / 64;
    if (std::fabs(z[0]) < limit && std::fabs(z[1]) < limit) {
        x[0] = z[2], x[1] = 0, x[2] = -z[0];  // world Y cross N
    } else {
        x[0] = -z[1], x[1] = z[0], x[2] = 0;  // world Z cross N
    }
    Normalize(x);
    y[0] = z[1] * x[2] - z[2] * x[1];
    y[1] = z[2] * x[0] - z[0] * x[2];
    y[2] = z[0] * x[1] - z[1] * x[0];
}

bool AllFinite(const double* v, int n) {
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(v[i])) return false;
    }
    return true;
}
}  // namespace

void CDxfOut::ComputeSetup(Setup& s) const {
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

    if (horizontal) {
        s.planeOffset = m_settings.elevation[0];
        return;
    }
    const double ax = m_settings.easting[1] - m_settings.easting[0],
                 ay = m_settings.northing[1] - m_settings.northing[0],
                 az = m_settings.elevation[1] - m_settings.elevation[0];
    const double bx = m_settings.easting[2] - m_settings.easting[0],
                 by = m_settings.northing[2] - m_settings.northing[0],
                 bz = m_settings.elevation[2] - m_settings.elevation[0];
    const double n[3] = {ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
    const double d = n[0] * m_settings.easting[0] + n[1] * m_settings.northing[0] +
                     n[2] * m_settings.elevation[0];
    const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(len > 0) || !std::isfinite(len)) {
        throw DxfExportError(
            "DXF export refused: the three world points of the correspondence points lie on one "
            "line, so they define no drawing plane");
    }
    for (int i = 0; i < 3; ++i) s.normal[i] = n[i] / len;
    s.planeOffset = d / len;
    OcsAxes(s.normal, s.axisX, s.axisY, s.axisZ, s.ocsIsWorld);
}

void CDxfOut::ApplySetup(const Setup& s) {
    m_unitScale = s.unitScale;
    if (s.coefSet) {
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) m_coef[r][c] = s.coef[r][c];
        }
    }
    for (int i = 0; i < 3; ++i) {
        m_normal[i] = s.normal[i];
        m_ocsAxisX[i] = s.axisX[i];
        m_ocsAxisY[i] = s.axisY[i];
        m_ocsAxisZ[i] = s.axisZ[i];
    }
    m_planeOffset = s.planeOffset;
    m_ocsIsWorld = s.ocsIsWorld;
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
    const double* p = m_current;
    if (m_ocsIsWorld) {
        for (int i = 0; i < 3; ++i) m_ocs[i] = p[i];
        return;
    }
    m_ocs[0] = p[0] * m_ocsAxisX[0] + p[1] * m_ocsAxisX[1] + p[2] * m_ocsAxisX[2];
    m_ocs[1] = p[0] * m_ocsAxisY[0] + p[1] * m_ocsAxisY[1] + p[2] * m_ocsAxisY[2];
    m_ocs[2] = p[0] * m_ocsAxisZ[0] + p[1] * m_ocsAxisZ[1] + p[2] * m_ocsAxisZ[2];
}
