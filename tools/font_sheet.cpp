// Writes an SVG sheet of the stroke font: all 128 codes in a grid, each glyph drawn point by
// point as the plotter would, its code under it. For checking the glyphs by eye.
#include <cstdio>

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

void WriteCell(std::FILE* out, int code) {
    const int left = (code % kColumns) * kCellW;
    const int top = (code / kColumns) * kCellH;
    const int refX = left + (IsMarker(code) ? 55 : 20);
    const int refY = top + (IsMarker(code) ? 70 : 115);

    // The character cell: body 0..100 high and 0..70 wide, with the descender zone dashed.
    if (!IsMarker(code)) {
        std::fprintf(out,
                     "<rect x='%d' y='%d' width='70' height='100' fill='none' stroke='#ccd'/>\n",
                     refX, refY - 100);
        std::fprintf(out,
                     "<rect x='%d' y='%d' width='70' height='30' fill='none' stroke='#ccd' "
                     "stroke-dasharray='3 3'/>\n",
                     refX, refY);
    } else {
        std::fprintf(out,
                     "<rect x='%d' y='%d' width='100' height='100' fill='none' stroke='#ccd'/>\n",
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
                std::fprintf(out, "<circle cx='%d' cy='%d' r='3' fill='#000'/>\n", x, y);
            else
                std::fprintf(out,
                             "<line x1='%d' y1='%d' x2='%d' y2='%d' stroke='#000' "
                             "stroke-width='4' stroke-linecap='round'/>\n",
                             x, y, nx, ny);
        }
        x = nx;
        y = ny;
    }
    std::fprintf(out, "<circle cx='%d' cy='%d' r='2.5' fill='#d33'/>\n", refX, refY);
    std::fprintf(out,
                 "<text x='%d' y='%d' font-family='sans-serif' font-size='14' text-anchor='middle' "
                 "fill='#555'>%d</text>\n",
                 left + kCellW / 2, top + kCellH - 8, code);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: korvane-fontsheet [OUT.svg]\n");
        return 1;
    }
    std::FILE* out = argc == 2 ? std::fopen(argv[1], "w") : stdout;
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out,
                 "<svg xmlns='http://www.w3.org/2000/svg' width='%d' height='%d'>\n"
                 "<rect width='100%%' height='100%%' fill='#fff'/>\n",
                 kColumns * kCellW, kRows * kCellH);
    for (int code = 0; code < 128; ++code) WriteCell(out, code);
    std::fprintf(out, "</svg>\n");
    const bool ok = std::ferror(out) == 0;
    if (out != stdout) std::fclose(out);
    return ok ? 0 : 1;
}
