#pragma once

// The built-in stroke font: printable ASCII standing on the baseline and fifteen special
// symbols (codes 1 to 15) centred on their position. Points are in hundredths of the text
// height; the glyph of a code is the run of points m_first..m_last, none when m_last is 0.
class CStrokeFont {
  public:
    static constexpr int kPoints = 679;  // points 1 to 678; entry 0 unused

    struct Glyph {
        int m_first;
        int m_last;
    };

    CStrokeFont();

    Glyph m_glyphs[128];
    int m_strokeX[kPoints];
    int m_strokeY[kPoints];
    char m_strokePen[kPoints];  // 'D' pen down, 'U' pen up

  private:
    void InitGlyphDirectory();
    void InitCapitals();
    void InitLowerCase();
    void InitSymbols();
};

extern const CStrokeFont g_strokeFont;
