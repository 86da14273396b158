// The fast number formatting must give exactly printf's bytes, rounding included.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "dxf/DxfText.h"

namespace {
struct Format {
    int width, precision;
};
// Every format the writer uses: coordinates, heights and radii, extrusion, rotation, width.
const Format kFormats[] = {{12, 3}, {7, 3}, {9, 6}, {10, 3}, {10, 6}};

std::string Fast(double v, Format f) {
    char buf[kMaxFixed];
    return std::string(buf, FormatFixed(buf, v, f.width, f.precision));
}

std::string Printf(double v, Format f) {
    char buf[kMaxFixed];
    return std::string(buf, FormatFixedPrintf(buf, v, f.width, f.precision));
}

void ExpectSame(double v) {
    for (Format f : kFormats) {
        ASSERT_EQ(Fast(v, f), Printf(v, f)) << "value " << v << " width " << f.width;
    }
}
}  // namespace

TEST(DxfNumbers, SpecialValuesMatchPrintf) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double v : {0.0,
                     -0.0,
                     1.0,
                     -1.0,
                     1.5,
                     -0.0004,
                     -0.0005,
                     0.0005,
                     inf,
                     -inf,
                     nan,
                     -nan,
                     1e300,
                     -1e300,
                     std::numeric_limits<double>::max(),
                     1099511627776.0,
                     std::nextafter(1099511627776.0, 0.0),
                     -1099511627775.9995,
                     4503599627370495.5,
                     std::numeric_limits<double>::denorm_min(),
                     123456789012.5,
                     5e15}) {
        ExpectSame(v);
    }
    EXPECT_EQ(Fast(1.5, {12, 3}), "       1.500");
    EXPECT_EQ(Fast(1.0, {9, 6}), " 1.000000");
}

TEST(DxfNumbers, HalfwayCasesRoundLikePrintf) {
    // k/16 for odd k sits exactly halfway at three decimals, k/128 at six; printf rounds the
    // exact binary value half to even, so 0.0625 gives 0.062 and 0.1875 gives 0.188.
    for (int k = -4000; k <= 4000; ++k) {
        ExpectSame(k / 16.0);
        ExpectSame(k / 128.0);
        ExpectSame(k / 2048.0);
    }
    EXPECT_EQ(Fast(0.0625, {7, 3}), "  0.062");
    EXPECT_EQ(Fast(0.1875, {7, 3}), "  0.188");
    // Decimal halves that are not exact in binary round by their true value.
    for (int k = 0; k < 20000; ++k) ExpectSame(k + 0.0005 * (2 * (k % 1000) + 1));
}

TEST(DxfNumbers, RandomValuesOfEveryMagnitudeMatchPrintf) {
    std::mt19937_64 rng(20240607);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-12, 16);
    for (int i = 0; i < 200000; ++i) {
        ExpectSame(std::ldexp(mantissa(rng), exponent(rng) * 3));
    }
    // Float values widened to double, as heights and plot coordinates arrive.
    for (int i = 0; i < 100000; ++i) {
        float f = static_cast<float>(mantissa(rng) * std::pow(10.0, exponent(rng) % 7));
        ExpectSame(static_cast<double>(f));
    }
    // Random bit patterns reach every exponent.
    for (int i = 0; i < 100000; ++i) {
        std::uint64_t bits = rng();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        ExpectSame(v);
    }
}
