#include "dxf/DxfText.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "plot/Archive.h"

namespace {
// Right-aligns the len bytes at text into width columns at out.
char* Pad(char* out, const char* text, int len, int width) {
    for (int i = len; i < width; ++i) *out++ = ' ';
    std::memmove(out, text, static_cast<std::size_t>(len));
    return out + len;
}
}  // namespace

char* FormatFixed(char* out, double value, int width, int precision) {
    // to_chars rounds the exact binary value half to even, as glibc's printf does, and spells
    // nan, inf and their signs the same way.
    char digits[kMaxFixed];
    auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision);
    if (result.ec != std::errc()) return FormatFixedPrintf(out, value, width, precision);
    return Pad(out, digits, static_cast<int>(result.ptr - digits), width);
}

char* FormatFixedPrintf(char* out, double value, int width, int precision) {
    int len = std::snprintf(out, kMaxFixed, "%*.*f", width, precision, value);
    if (len < 0) len = 0;
    if (len >= kMaxFixed) len = kMaxFixed - 1;
    return out + len;
}

void DxfText::Group(const char* code, std::string_view value) {
    Line(code);
    Line(value);
}

void DxfText::Fixed(double value, int width, int precision) {
    char buf[kMaxFixed + 2];
    char* end = m_style == DxfNumberStyle::kFast ? FormatFixed(buf, value, width, precision)
                                                 : FormatFixedPrintf(buf, value, width, precision);
    *end++ = '\r';
    *end++ = '\n';
    m_text.append(buf, static_cast<std::size_t>(end - buf));
}

void DxfText::Coord(const char* code, double value) {
    Line(code);
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
    Line(" 62");
    char buf[16];
    int len;
    if (m_style == DxfNumberStyle::kFast) {
        char digits[16];
        auto result = std::to_chars(digits, digits + sizeof digits, color);
        len = static_cast<int>(Pad(buf, digits, static_cast<int>(result.ptr - digits), 6) - buf);
    } else {
        len = std::snprintf(buf, sizeof buf, "%6d", color);
    }
    Line(std::string_view(buf, static_cast<std::size_t>(len)));
}

void DxfText::Height(float height) {
    Line(" 40");
    Fixed(static_cast<double>(height), 7, 3);
}

void DxfText::Radius(double radius) {
    Line(" 40");
    Fixed(radius, 7, 3);
}

void DxfText::Extrusion(const double normal[3]) {
    Line("210");
    Fixed(normal[0], 9, 6);
    Line("220");
    Fixed(normal[1], 9, 6);
    Line("230");
    Fixed(normal[2], 9, 6);
}

void DxfText::Rotation(double degrees) {
    Line(" 50");
    Fixed(degrees, 10, 3);
}

void DxfText::WidthFactor() {
    Line(" 41");
    Fixed(1.0, 10, 6);
}

void DxfText::Text(std::string_view text) {
    Line("  1");
    for (char c : text) {
        unsigned char b = static_cast<unsigned char>(c);
        if (b < 32) {
            m_text += '^';
            m_text += static_cast<char>(b + 64);
        } else if (c == '^') {
            m_text.append("^ ", 2);
        } else {
            m_text += c;
        }
    }
    m_text.append("\r\n", 2);
}

void DxfText::FlushTo(Archive* output) {
    if (output && !m_text.empty()) output->Write(m_text.data(), m_text.size());
    m_text.clear();
}
