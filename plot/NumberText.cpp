#include "plot/NumberText.h"

#include <climits>
#include <cmath>
#include <cstdio>

std::string FormatPlotNumber(std::int16_t decimals, float value) {
    char buf[400];
    if (decimals < 0) {
        double v = std::trunc(static_cast<double>(value));
        int n;
        if (std::isnan(v)) {
            n = 0;
        } else if (v >= static_cast<double>(INT_MAX)) {
            n = INT_MAX;
        } else if (v <= static_cast<double>(INT_MIN)) {
            n = INT_MIN;
        } else {
            n = static_cast<int>(v);
        }
        std::snprintf(buf, sizeof buf, "%d", n);
        return buf;
    }
    // A float has at most 39 integer digits; 32767 decimals still fit a std::string.
    int len =
        std::snprintf(nullptr, 0, "%.*f", static_cast<int>(decimals), static_cast<double>(value));
    std::string text(static_cast<std::size_t>(len), '\0');
    std::snprintf(text.data(), text.size() + 1, "%.*f", static_cast<int>(decimals),
                  static_cast<double>(value));
    return text;
}
