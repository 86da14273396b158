#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

#include "plot/NumberText.h"

class Archive;

// How numbers become text: the fast route, or the C library's printf kept as the reference the
// fast route must match byte for byte.
enum class DxfNumberStyle { kFast, kPrintf };

// FormatFixed by the C library's printf: the reference it matches (in the "C" locale; printf
// follows the process's locale, so only tests and benchmarks use it).
char* FormatFixedPrintf(char* out, double value, int width, int precision);

// The text of one DXF export as it is built, line by line: every line ends with CR LF and every
// group code takes three columns. Each helper writes one group (code line and value line); the
// comment shows the bytes for a sample value. The text is handed to the output archive at the
// end of every writer operation, so nothing is held back when the caller commits the file.
class DxfText {
  public:
    explicit DxfText(DxfNumberStyle style = DxfNumberStyle::kFast) : m_style(style) {}

    void SetStyle(DxfNumberStyle style) { m_style = style; }

    // "  0\r\nSECTION\r\n": code is the three-column group code.
    void Group(const char* code, std::string_view value);
    // " 10\r\n       1.500\r\n" ("%12.3lf"); codes 10, 20, 30, 11, 21, 31.
    void Coord(const char* code, double value);
    // " 10 / 20 / 30" of a point.
    void Point(const double p[3]);
    void EndPoint(const double p[3]);  // " 11 / 21 / 31"
    // " 62\r\n     7\r\n" ("%6d").
    void Color(int color);
    // " 40\r\n  0.250\r\n" ("%7.3f" of a float height).
    void Height(float height);
    // " 40\r\n  0.250\r\n" ("%7.3lf" of a double radius).
    void Radius(double radius);
    // "210\r\n 0.000000\r\n220\r\n 0.000000\r\n230\r\n 1.000000\r\n" ("%9.6lf" each).
    void Extrusion(const double normal[3]);
    // " 50\r\n    90.000\r\n" ("%10.3lf").
    void Rotation(double degrees);
    // " 41\r\n  1.000000\r\n" ("%10.6lf" of 1.0, the only width factor written).
    void WidthFactor();
    // "  1\r\nA^JB\r\n": a text value; bytes 0 to 31 become '^' and the byte plus 64, and '^'
    // becomes "^ ", so a value never breaks the line structure.
    void Text(std::string_view text);

    // Moves the text built so far to output (nowhere when output is null) and starts afresh.
    void FlushTo(Archive* output);
    std::size_t Size() const { return m_used; }

  private:
    // At least n free bytes at the end of the text; returns where they start.
    char* Room(std::size_t n) {
        if (m_capacity - m_used < n) Grow(n);
        return m_buf.get() + m_used;
    }
    void Grow(std::size_t n);
    void Fixed(double value, int width, int precision);
    // A group code is always three columns; copying a fixed five bytes keeps it cheap.
    void Code(const char* code) {
        char* p = Room(5);
        std::memcpy(p, code, 3);
        p[3] = '\r';
        p[4] = '\n';
        m_used += 5;
    }
    void Line(std::string_view value) {
        char* p = Room(value.size() + 2);
        std::memcpy(p, value.data(), value.size());
        p[value.size()] = '\r';
        p[value.size() + 1] = '\n';
        m_used += value.size() + 2;
    }

    DxfNumberStyle m_style;
    std::unique_ptr<char[]> m_buf;
    std::size_t m_capacity = 0;
    std::size_t m_used = 0;
};
