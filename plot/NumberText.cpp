#include "plot/NumberText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {
// Right-aligns the text [out, end) in width columns.
char* PadLeft(char* out, char* end, int width) {
    const int len = static_cast<int>(end - out);
    if (len >= width) return end;
    const std::size_t pad = static_cast<std::size_t>(width - len);
    std::memmove(out + pad, out, static_cast<std::size_t>(len));
    std::memset(out, ' ', pad);
    return out + width;
}

// Fixed-point text of the magnitudes a drawing has (below 2^40, at most six decimals) by
// integer arithmetic alone: value is m * 2^e exactly, so value * 10^p is m * 10^p / 2^-e, and
// rounding that quotient half to even is what printf does with the exact binary value. Returns
// null for anything else.
char* FixedShortcut(char* out, double value, int precision) {
    static constexpr std::uint64_t kPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    if (precision < 1 || precision > 6 || !(std::fabs(value) < 1099511627776.0)) return nullptr;
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = bits >> 63;
    const int field = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t m = bits & ((std::uint64_t(1) << 52) - 1);
    int e;
    if (field == 0) {
        e = -1074;
    } else {
        m |= std::uint64_t(1) << 52;
        e = field - 1075;
    }
    const std::uint64_t scale = kPow10[precision];
    // Below 2^40 the exponent is negative: the value has a fraction or is a small integer.
    std::uint64_t r;
    if (-e >= 128) {
        r = 0;  // below 2^-74: far less than half a unit of the last decimal
    } else {
        using u128 = unsigned __int128;
        const int shift = -e;
        const u128 q = static_cast<u128>(m) * scale;
        const u128 rest = q & ((static_cast<u128>(1) << shift) - 1);
        const u128 half = static_cast<u128>(1) << (shift - 1);
        r = static_cast<std::uint64_t>(q >> shift);
        if (rest > half || (rest == half && (r & 1))) ++r;
    }
    if (negative) *out++ = '-';
    out = std::to_chars(out, out + 24, r / scale).ptr;
    *out++ = '.';
    std::uint64_t frac = r % scale;
    for (int i = precision - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + frac % 10);
        frac /= 10;
    }
    return out + precision;
}
}  // namespace

char* FormatFixed(char* out, double value, int width, int precision) {
    if (width <= 32) {
        // Fixed-size copies compile to a few stores; a DXF file has millions of these numbers.
        char digits[32] = {};
        if (char* end = FixedShortcut(digits, value, precision)) {
            const int len = static_cast<int>(end - digits);  // at most 21: below 2^40, 6 decimals
            const int pad = len < width ? width - len : 0;
            std::memset(out, ' ', 32);
            std::memcpy(out + pad, digits, 32);
            return out + pad + len;
        }
    } else if (char* end = FixedShortcut(out, value, precision)) {
        return PadLeft(out, end, width);
    }
    // to_chars rounds the exact binary value half to even, as glibc's printf does, and spells
    // nan, inf and their signs the same way. The largest double has 309 integer digits, so
    // kMaxFixed holds every value at the precisions allowed.
    const auto result =
        std::to_chars(out, out + kMaxFixed, value, std::chars_format::fixed, precision);
    return PadLeft(out, result.ptr, width);
}

char* FormatInt(char* out, int value, int width) {
    return PadLeft(out, std::to_chars(out, out + 16, value).ptr, width);
}

std::string FormatPlotNumber(std::int16_t decimals, float value) {
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
        char buf[16];
        return std::string(buf, FormatInt(buf, n, 0));
    }
    // A float's exact value has at most 149 decimals (its smallest step is 2^-149), so any
    // further ones are zeros: producing them digit by digit costs milliseconds for nothing.
    constexpr int kExactDecimals = 149;
    const int printed = decimals < kExactDecimals ? decimals : kExactDecimals;
    // A float has at most 39 integer digits beside a sign, a point and the decimals.
    std::string text(48 + static_cast<std::size_t>(printed), '\0');
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), static_cast<double>(value),
                      std::chars_format::fixed, printed);
    text.resize(static_cast<std::size_t>(result.ptr - text.data()));
    // NaN and infinity have no decimals to pad.
    if (std::isfinite(value)) text.append(static_cast<std::size_t>(decimals - printed), '0');
    return text;
}
