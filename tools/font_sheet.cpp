// Writes an SVG sheet of the stroke font: all 128 codes in a grid, each glyph drawn point by
// point as the plotter would, its code under it. For checking the glyphs by eye.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "plot/Archive.h"
#include "plot/FileError.h"
#include "render/StrokeFont.h"

namespace {

constexpr int kColumns = 16;
constexpr int kRows = 128 / kColumns;
constexpr int kCellW = 110;
constexpr int kCellH = 170;

// Markers are centred on their position; characters stand on the baseline.
bool IsMarker(int code) {
    return code >= 1 && code <= 15;
}

// Appends printf-style text to out.
void Put(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Put(std::string& out, const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    out += line;
}

void WriteCell(std::string& out, int code) {
    const int left = (code % kColumns) * kCellW;
    const int top = (code / kColumns) * kCellH;
    const int refX = left + (IsMarker(code) ? 55 : 20);
    const int refY = top + (IsMarker(code) ? 70 : 115);

    // The character cell: body 0..100 high and 0..70 wide, with the descender zone dashed.
    if (!IsMarker(code)) {
        Put(out, "<rect x='%d' y='%d' width='70' height='100' fill='none' stroke='#ccd'/>\n", refX,
            refY - 100);
        Put(out,
            "<rect x='%d' y='%d' width='70' height='30' fill='none' stroke='#ccd' "
            "stroke-dasharray='3 3'/>\n",
            refX, refY);
    } else {
        Put(out, "<rect x='%d' y='%d' width='100' height='100' fill='none' stroke='#ccd'/>\n",
            refX - 50, refY - 50);
    }

    const CStrokeFont::Glyph& g = g_strokeFont.m_glyphs[code];
    // One element per pen-down stroke; a stroke of zero length is the marker dot.
    int x = refX, y = refY;
    for (int j = g.m_first; g.m_last != 0 && j <= g.m_last; ++j) {
        const int nx = refX + g_strokeFont.m_strokeX[j];
        const int ny = refY - g_strokeFont.m_strokeY[j];
        if (g_strokeFont.m_strokePen[j] == 'D') {
            if (nx == x && ny == y)
                Put(out, "<circle cx='%d' cy='%d' r='3' fill='#000'/>\n", x, y);
            else
                Put(out,
                    "<line x1='%d' y1='%d' x2='%d' y2='%d' stroke='#000' "
                    "stroke-width='4' stroke-linecap='round'/>\n",
                    x, y, nx, ny);
        }
        x = nx;
        y = ny;
    }
    Put(out, "<circle cx='%d' cy='%d' r='2.5' fill='#d33'/>\n", refX, refY);
    Put(out,
        "<text x='%d' y='%d' font-family='sans-serif' font-size='14' text-anchor='middle' "
        "fill='#555'>%d</text>\n",
        left + kCellW / 2, top + kCellH - 8, code);
}

}  // namespace

int main(int argc, char** argv) {
    const char usage[] =
        "Usage: korvane-fontsheet [OUT.svg]\n"
        "Writes an SVG sheet of the stroke font's 128 glyphs to OUT.svg, or to standard output.\n";
    if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fputs(usage, stderr);
        return 1;
    }
    std::string sheet;
    char buf[512];
    std::snprintf(buf, sizeof buf,
                  "<svg xmlns='http://www.w3.org/2000/svg' width='%d' height='%d'>\n"
                  "<rect width='100%%' height='100%%' fill='#fff'/>\n",
                  kColumns * kCellW, kRows * kCellH);
    sheet += buf;
    for (int code = 0; code < 128; ++code) WriteCell(sheet, code);
    sheet += "</svg>\n";
    try {
        if (argc == 2) {
            Archive archive = Archive::CreateForStore(argv[1]);
            archive.Write(sheet.data(), sheet.size());
            archive.Commit();
            return 0;
        }
    } catch (const FileError& e) {
        std::fprintf(stderr, "korvane-fontsheet: %s\n", e.what());
        return 1;
    }
    const bool ok = std::fwrite(sheet.data(), 1, sheet.size(), stdout) == sheet.size() &&
                    std::fflush(stdout) == 0;
    if (!ok) std::fprintf(stderr, "korvane-fontsheet: cannot write the output\n");
    return ok ? 0 : 1;
}
