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
    // A float's exact value has at most 149 decimals (its smallest step is 2^-149), so any
    // further ones are zeros: printing them digit by digit costs milliseconds for nothing.
    constexpr int kExactDecimals = 149;
    const int printed = decimals < kExactDecimals ? decimals : kExactDecimals;
    int len = std::snprintf(buf, sizeof buf, "%.*f", printed, static_cast<double>(value));
    // At most 39 integer digits, a sign and a point beside the decimals: the buffer holds it.
    std::string text;
    text.reserve(static_cast<std::size_t>(len) + static_cast<std::size_t>(decimals - printed));
    text.assign(buf, static_cast<std::size_t>(len));
    // NaN and infinity have no decimals to pad.
    if (std::isfinite(value)) text.append(static_cast<std::size_t>(decimals - printed), '0');
    return text;
}
