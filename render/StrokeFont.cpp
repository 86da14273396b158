#include "render/StrokeFont.h"

// The glyph data arrives with the font work; until then every code is blank.
CStrokeFont::CStrokeFont() : m_glyphs(), m_strokeX(), m_strokeY(), m_strokePen() {
    InitGlyphDirectory();
    InitCapitals();
    InitLowerCase();
    InitSymbols();
}

void CStrokeFont::InitGlyphDirectory() {}
void CStrokeFont::InitCapitals() {}
void CStrokeFont::InitLowerCase() {}
void CStrokeFont::InitSymbols() {}

const CStrokeFont g_strokeFont;
