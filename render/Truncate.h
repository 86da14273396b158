#pragma once

#include <climits>
#include <cmath>

// Float-to-int conversion toward zero. Values beyond the int range saturate and NaN gives 0,
// so a corrupt coordinate draws somewhere harmless instead of being undefined behaviour.
inline int TruncToInt(double v) {
    if (v > -2147483648.0 && v < 2147483647.0) return static_cast<int>(v);  // the usual case
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<int>(v);
}
