#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "plot/DxfSettings.h"

// A point of the world the drawing stands for: easting, northing and elevation.
struct WorldPoint {
    double e = 0;
    double n = 0;
    double h = 0;
};

// Scaled settings that define no transform; what() says why, for a message of its user's own.
class TransformError : public std::runtime_error {
  public:
    explicit TransformError(const std::string& reason) : std::runtime_error(reason) {}
};

// The paper-to-world transform a document's export settings define: plot inches to the world
// of the configuration's correspondence points, in its original units. The DXF export, the
// viewer's world position and measurements all go through it, so they always agree. With the
// normal conversion a point stays where it is on paper, in inches, on the plane h = 0.
class PaperToWorld {
  public:
    // Throws TransformError when scaled settings define no transform.
    explicit PaperToWorld(const DxfSettings& settings);

    bool IsScaled() const { return m_scaled; }
    // Scaled with some elevation not zero: the world points carry a height worth showing.
    bool IsTilted() const { return m_tilted; }
    // The right-hand corners were given: the transform may turn and tilt the drawing.
    bool IsThreePoint() const { return m_threePoint; }
    // "m" for metric original coordinates, "ft" for imperial; "in" when not scaled.
    const char* Unit() const;
    // World units per plot inch along the paper, before turning (1 when not scaled).
    double UnitScale() const { return m_unitScale; }

    // The world point of plot inches (x, y).
    WorldPoint Apply(double x, double y) const {
        return FromScaled(x * m_unitScale, y * m_unitScale);
    }
    // The world point of paper coordinates already multiplied by UnitScale().
    WorldPoint FromScaled(double e, double f) const {
        if (!m_scaled) return {e, f, 0};
        return {m_coef[0][0] * e + m_coef[1][0] * f + m_coef[2][0],
                m_coef[0][1] * e + m_coef[1][1] * f + m_coef[2][1],
                m_coef[0][2] * e + m_coef[1][2] * f + m_coef[2][2]};
    }
    // The world direction of a paper step already multiplied by UnitScale() (no translation).
    WorldPoint Direction(double du, double dv) const {
        if (!m_scaled) return {du, dv, 0};
        return {m_coef[0][0] * du + m_coef[1][0] * dv, m_coef[0][1] * du + m_coef[1][1] * dv,
                m_coef[0][2] * du + m_coef[1][2] * dv};
    }

  private:
    bool m_scaled = false;
    bool m_tilted = false;
    bool m_threePoint = false;
    bool m_imperial = false;
    double m_unitScale = 1.0;
    double m_coef[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 0}};
};

// The transform of scaled settings; none when they are not scaled or define no transform.
std::optional<PaperToWorld> ScaledWorldOf(const DxfSettings& settings);
