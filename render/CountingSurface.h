#pragma once

#include "render/DrawSurface.h"

// A surface that only counts what it is asked to draw: for measuring a drawing without
// producing anything, and for timing the paint pass alone.
class CountingSurface : public DrawSurface {
  public:
    void MoveTo(int, int) override { ++m_moves; }
    void LineTo(int, int) override { ++m_lines; }
    void Arc(int, int, int, int, int, int, int, int) override { ++m_arcs; }
    void SetTextColor(ColorRef) override {}
    void SetTextAlign(unsigned) override {}
    void SetBkMode(int) override {}
    void ExtTextOut(int, int, const char*, int) override { ++m_texts; }
    int GetDeviceCaps(int index) const override { return index == LOGPIXELSY ? 96 : 0; }

    long long m_moves = 0;
    long long m_lines = 0;
    long long m_arcs = 0;
    long long m_texts = 0;
};

// A surface on which nothing shows, for the passes that only measure the drawing or move the
// plotter past hidden marks: the drawing skips the lines and glyphs that cannot reach beyond
// the extents, so its counts fall short of what a drawn pass would ask for.
class BlindSurface : public CountingSurface {
  public:
    bool DrawsNothing() const override { return true; }
};
