#include "dxf/DxfText.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "plot/Archive.h"

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
        end = FormatInt(buf, color, 6);
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
