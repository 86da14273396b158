#include "dxf/DxfText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "plot/Archive.h"

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
    if (char* end = FixedShortcut(out, value, precision)) return PadLeft(out, end, width);
    // to_chars rounds the exact binary value half to even, as glibc's printf does, and spells
    // nan, inf and their signs the same way.
    auto result = std::to_chars(out, out + kMaxFixed, value, std::chars_format::fixed, precision);
    if (result.ec != std::errc()) return FormatFixedPrintf(out, value, width, precision);
    return PadLeft(out, result.ptr, width);
}

char* FormatFixedPrintf(char* out, double value, int width, int precision) {
    int len = std::snprintf(out, kMaxFixed, "%*.*f", width, precision, value);
    if (len < 0) len = 0;
    if (len >= kMaxFixed) len = kMaxFixed - 1;
    return out + len;
}

void DxfText::Grow(std::size_t n) {
    std::size_t capacity = m_capacity ? m_capacity : 4096;
    while (capacity - m_used < n) capacity *= 2;
    std::unique_ptr<char[]> bigger(new char[capacity]);
    if (m_used) std::memcpy(bigger.get(), m_buf.get(), m_used);
    m_buf = std::move(bigger);
    m_capacity = capacity;
}

void DxfText::Group(const char* code, std::string_view value) {
    Code(code);
    Line(value);
}

void DxfText::Fixed(double value, int width, int precision) {
    char* start = Room(kMaxFixed + 2);
    char* end = m_style == DxfNumberStyle::kFast
                    ? FormatFixed(start, value, width, precision)
                    : FormatFixedPrintf(start, value, width, precision);
    *end++ = '\r';
    *end++ = '\n';
    m_used += static_cast<std::size_t>(end - start);
}

void DxfText::Coord(const char* code, double value) {
    Code(code);
    Fixed(value, 12, 3);
}

void DxfText::Point(const double p[3]) {
    Coord(" 10", p[0]);
    Coord(" 20", p[1]);
    Coord(" 30", p[2]);
}

void DxfText::EndPoint(const double p[3]) {
    Coord(" 11", p[0]);
    Coord(" 21", p[1]);
    Coord(" 31", p[2]);
}

void DxfText::Color(int color) {
    Code(" 62");
    char buf[16];
    char* end;
    if (m_style == DxfNumberStyle::kFast) {
        end = PadLeft(buf, std::to_chars(buf, buf + sizeof buf, color).ptr, 6);
    } else {
        end = buf + std::snprintf(buf, sizeof buf, "%6d", color);
    }
    Line(std::string_view(buf, static_cast<std::size_t>(end - buf)));
}

void DxfText::Height(float height) {
    Code(" 40");
    Fixed(static_cast<double>(height), 7, 3);
}

void DxfText::Radius(double radius) {
    Code(" 40");
    Fixed(radius, 7, 3);
}

void DxfText::Extrusion(const double normal[3]) {
    Code("210");
    Fixed(normal[0], 9, 6);
    Code("220");
    Fixed(normal[1], 9, 6);
    Code("230");
    Fixed(normal[2], 9, 6);
}

void DxfText::Rotation(double degrees) {
    Code(" 50");
    Fixed(degrees, 10, 3);
}

void DxfText::WidthFactor() {
    Code(" 41");
    Fixed(1.0, 10, 6);
}

void DxfText::Text(std::string_view text) {
    Code("  1");
    // Every byte takes at most two.
    char* start = Room(2 * text.size() + 2);
    char* p = start;
    for (char c : text) {
        unsigned char b = static_cast<unsigned char>(c);
        if (b < 32) {
            *p++ = '^';
            *p++ = static_cast<char>(b + 64);
        } else if (c == '^') {
            *p++ = '^';
            *p++ = ' ';
        } else {
            *p++ = c;
        }
    }
    *p++ = '\r';
    *p++ = '\n';
    m_used += static_cast<std::size_t>(p - start);
}

void DxfText::FlushTo(Archive* output) {
    if (output && m_used) output->Write(m_buf.get(), m_used);
    m_used = 0;
}
