#include "world/PaperToWorld.h"

#include <cmath>

#include "world/SolveLinear.h"

namespace {
bool AllFinite(const double* v, int n) {
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(v[i])) return false;
    }
    return true;
}
}  // namespace

PaperToWorld::PaperToWorld(const DxfSettings& s) {
    m_scaled = s.conversionIndex != 0;
    if (!m_scaled) return;  // paper coordinates as they are, on the plane h = 0

    m_imperial = s.unitsIndex != 0;
    const double u = m_imperial ? s.originalScale / 12.0 : s.originalScale * 2.54 / 100.0;
    m_unitScale = u;

    double a[3][3] = {{u * s.paperX[0], u * s.paperY[0], 1}};
    double b[3][3] = {{s.easting[0], s.northing[0], s.elevation[0]}};
    const double rightSum = s.easting[1] + s.northing[1] + s.elevation[1] + s.easting[2] +
                            s.northing[2] + s.elevation[2];
    const bool horizontal = rightSum == 0.0;
    if (horizontal) {
        // One plot unit right of the lower-left corner lies u east of it, one up lies u north.
        a[1][0] = (s.paperX[0] + 1) * u, a[1][1] = u * s.paperY[0], a[1][2] = 1;
        b[1][0] = u * 1 + s.easting[0], b[1][1] = s.northing[0], b[1][2] = s.elevation[0];
        a[2][0] = u * s.paperX[0], a[2][1] = (s.paperY[0] + 1) * u, a[2][2] = 1;
        b[2][0] = s.easting[0], b[2][1] = u * 1 + s.northing[0], b[2][2] = s.elevation[0];
    } else {
        for (int k = 1; k < 3; ++k) {
            a[k][0] = u * s.paperX[k], a[k][1] = u * s.paperY[k], a[k][2] = 1;
            b[k][0] = s.easting[k], b[k][1] = s.northing[k], b[k][2] = s.elevation[k];
        }
    }

    if (!AllFinite(&a[0][0], 9) || !AllFinite(&b[0][0], 9)) {
        throw TransformError(
            "the correspondence points or the original scale are not finite numbers");
    }
    const SolveResult solved = SolveLinear(&a[0][0], 3, &b[0][0], 3);
    if (solved == SolveResult::kSingular) {
        throw TransformError(
            "the paper points of the correspondence points lie on one line (or the original "
            "scale is 0), so they define no transform");
    }
    if (solved == SolveResult::kIllConditioned) {
        throw TransformError(
            "the paper points of the correspondence points lie almost on one line, so the "
            "transform is ill-conditioned");
    }
    if (!AllFinite(&b[0][0], 9)) {
        throw TransformError("the correspondence points give a transform too large to write");
    }
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) m_coef[r][c] = b[r][c];
    }
    m_tilted = s.elevation[0] != 0 || s.elevation[1] != 0 || s.elevation[2] != 0;

    if (horizontal) return;
    m_threePoint = true;
    const double ax = s.easting[1] - s.easting[0], ay = s.northing[1] - s.northing[0],
                 az = s.elevation[1] - s.elevation[0];
    const double bx = s.easting[2] - s.easting[0], by = s.northing[2] - s.northing[0],
                 bz = s.elevation[2] - s.elevation[0];
    const double n[3] = {ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
    const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(len > 0) || !std::isfinite(len)) {
        throw TransformError(
            "the three world points of the correspondence points lie on one line, so they "
            "define no drawing plane");
    }
}

const char* PaperToWorld::Unit() const {
    if (!m_scaled) return "in";
    return m_imperial ? "ft" : "m";
}

std::optional<PaperToWorld> ScaledWorldOf(const DxfSettings& settings) {
    if (settings.conversionIndex == 0) return std::nullopt;
    try {
        return PaperToWorld(settings);
    } catch (const TransformError&) {
        return std::nullopt;
    }
}
