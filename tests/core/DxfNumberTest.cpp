// The fast number formatting must give exactly printf's bytes, rounding included.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
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

// One table of value families, each with what it guards against.
TEST(DxfNumbers, EveryKindOfValueMatchesPrintf) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::mt19937_64 rng(20240607);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-12, 16);
    const struct {
        const char* family;
        std::function<void(const std::function<void(double)>&)> values;
    } families[] = {
        // Signs of zero, infinities, not-a-number, the ends of the range and of the fast path.
        {"special",
         [&](const auto& check) {
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
                 check(v);
             }
         }},
        // k/16 for odd k sits exactly halfway at three decimals, k/128 at six: printf rounds the
        // exact binary value half to even. Decimal halves not exact in binary round by their
        // true value.
        {"halfway",
         [](const auto& check) {
             for (int k = -4000; k <= 4000; ++k) {
                 check(k / 16.0);
                 check(k / 128.0);
                 check(k / 2048.0);
             }
             for (int k = 0; k < 20000; ++k) check(k + 0.0005 * (2 * (k % 1000) + 1));
         }},
        {"every magnitude",
         [&](const auto& check) {
             for (int i = 0; i < 200000; ++i) check(std::ldexp(mantissa(rng), exponent(rng) * 3));
         }},
        // Heights and plot coordinates arrive as floats widened to double.
        {"floats",
         [&](const auto& check) {
             for (int i = 0; i < 100000; ++i) {
                 check(static_cast<float>(mantissa(rng) * std::pow(10.0, exponent(rng) % 7)));
             }
         }},
        // Random bit patterns reach every exponent.
        {"bit patterns",
         [&](const auto& check) {
             for (int i = 0; i < 100000; ++i) {
                 const std::uint64_t bits = rng();
                 double v;
                 std::memcpy(&v, &bits, sizeof v);
                 check(v);
             }
         }},
    };
    for (const auto& f : families) {
        SCOPED_TRACE(f.family);
        f.values([](double v) { ExpectSame(v); });
    }
    EXPECT_EQ(Fast(1.5, {12, 3}), "       1.500");
    EXPECT_EQ(Fast(1.0, {9, 6}), " 1.000000");
    EXPECT_EQ(Fast(0.0625, {7, 3}), "  0.062");
    EXPECT_EQ(Fast(0.1875, {7, 3}), "  0.188");
}
