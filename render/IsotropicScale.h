#pragma once

#include <cmath>

// Device units per logical unit of a mapping, one factor per axis with its sign. An isotropic
// mapping uses the smaller magnitude on both axes, so the window fits the viewport whole. A
// zero window extent gives 0 rather than a division by zero.
struct AxisScales {
    double x;
    double y;
};

inline AxisScales MappingScale(int windowExtX, int windowExtY, int viewportExtX, int viewportExtY,
                               bool isotropic) {
    AxisScales s{windowExtX ? static_cast<double>(viewportExtX) / windowExtX : 0,
                 windowExtY ? static_cast<double>(viewportExtY) / windowExtY : 0};
    if (isotropic) {
        const double m = std::fmin(std::fabs(s.x), std::fabs(s.y));
        s.x = std::copysign(m, s.x);
        s.y = std::copysign(m, s.y);
    }
    return s;
}
