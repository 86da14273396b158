#include "render/StrokeFont.h"

#include <cstddef>

namespace {

struct StrokePoint {
    char pen;  // 0 marks the unused tail of a glyph
    int x;
    int y;
};

constexpr StrokePoint D(int x, int y) {
    return {'D', x, y};
}
constexpr StrokePoint U(int x, int y) {
    return {'U', x, y};
}

constexpr int kMaxGlyphPoints = 16;

struct GlyphDef {
    int code;
    StrokePoint points[kMaxGlyphPoints];
    // Begins on the last point of the glyph before it instead of a point of its own.
    bool sharesFirst = false;
};

constexpr int PointCount(const GlyphDef& g) {
    int n = 0;
    while (n < kMaxGlyphPoints && g.points[n].pen != 0) ++n;
    return n;
}

template <std::size_t N>
constexpr int RunLength(const GlyphDef (&run)[N]) {
    int total = 0;
    for (const GlyphDef& g : run) total += PointCount(g) - (g.sharesFirst ? 1 : 0);
    return total;
}

// Where each run starts in the point arrays; callers and stored data know these numbers.
constexpr int kCapitalsFirst = 1;
constexpr int kLowerCaseFirst = 149;
constexpr int kOthersFirst = 323;
constexpr int kSymbolsFirst = 572;

// Capitals "A" to "Z".
constexpr GlyphDef kCapitals[] = {
    {'A', {D(0, 35), D(35, 100), D(65, 35), D(65, 0), U(65, 35), D(0, 35)}},
    {'H', {D(0, 100), U(65, 100), D(65, 0), U(65, 50), D(0, 50)}},
    {'O', {D(65, 0), D(65, 100), D(0, 100), D(0, 0)}},
};

// Small letters "a" to "z".
constexpr GlyphDef kLowerCase[] = {
    {'g',
     {U(0, -15), D(15, -30), D(50, -30), D(65, -15), D(65, 50), D(50, 65), D(15, 65), D(0, 50),
      D(0, 15), D(15, 0), D(65, 0)}},
};

// The other printable characters: "!" to "/", digits, "<" to "@", then the rest.
constexpr GlyphDef kOthers[] = {
    {'-', {U(0, 50), D(65, 50)}},
    {'.', {U(35, 0), D(35, 15)}},
    {'/', {D(65, 100)}},
    {'0',
     {U(35, 0), D(15, 15), D(15, 85), D(35, 100), D(50, 100), D(65, 85), D(65, 15), D(50, 0),
      D(35, 0)}},
    {'1', {U(15, 0), D(50, 0), U(35, 0), D(35, 100), D(15, 85)}},
    {'2',
     {U(65, 0), D(0, 0), D(0, 35), D(15, 50), D(50, 50), D(65, 65), D(65, 85), D(50, 100),
      D(15, 100), D(0, 85)}},
    {'3',
     {U(0, 15), D(15, 0), D(50, 0), D(65, 15), D(65, 35), D(50, 50), D(35, 50), U(50, 50),
      D(65, 65), D(65, 85), D(50, 100), D(15, 100), D(0, 85)}},
    {'4', {U(50, 0), D(50, 100), D(0, 35), D(65, 35)}},
    {'5',
     {U(0, 15), D(15, 0), D(50, 0), D(65, 15), D(65, 50), D(50, 65), D(0, 65), D(0, 100),
      D(65, 100)}},
    {'6',
     {U(50, 100), D(35, 100), D(0, 65), D(0, 15), D(15, 0), D(50, 0), D(65, 15), D(65, 35),
      D(50, 50), D(0, 50)}},
    {'7', {U(0, 100), D(65, 100), D(15, 0)}},
    {'8',
     {U(15, 50), D(0, 35), D(0, 15), D(15, 0), D(50, 0), D(65, 15), D(65, 35), D(50, 50), D(15, 50),
      D(0, 65), D(0, 85), D(15, 100), D(50, 100), D(65, 85), D(65, 65), D(50, 50)}},
    {'9',
     {U(15, 0), D(35, 0), D(65, 35), D(65, 85), D(50, 100), D(15, 100), D(0, 85), D(0, 65),
      D(15, 50), D(65, 50)}},
    {'_', {U(0, -20), D(65, -20)}},
};

// Markers 0 to 14 under codes 1 to 15, centred on the reference point.
constexpr GlyphDef kSymbols[] = {
    {1, {U(0, 0), D(0, 50), D(-50, 50), D(-50, -50), D(50, -50), D(50, 50), D(0, 50), U(0, 0)}},
    {2,
     {U(0, 0), D(0, 50), D(-25, 50), D(-50, 25), D(-50, -25), D(-25, -50), D(25, -50), D(50, -25),
      D(50, 25), D(25, 50), D(0, 50), U(0, 0)}},
    {3, {U(0, 0), D(0, 50), D(-50, -25), D(50, -25), D(0, 50), U(0, 0)}},
    {4, {U(0, 0), U(0, 50), D(0, -50), U(-50, 0), D(50, 0), U(0, 0)}},
    {5, {U(0, 0), U(-50, 50), D(50, -50), U(-50, -50), D(50, 50), U(0, 0)}},
    {6, {U(0, 0), D(0, 50), D(-50, 0), D(0, -50), D(50, 0), D(0, 50), U(0, 0), U(0, 0)}},
    {7, {U(0, 0), U(0, -50), D(0, 50), D(-50, 0), D(50, 0), D(0, 50), U(0, 0)}, true},
    {8, {U(0, 0), U(-50, -50), D(50, 50), D(-50, 50), D(50, -50), U(0, 0)}},
    {9, {U(0, 0), U(-50, 50), D(50, 50), D(-50, -50), D(50, -50), U(0, 0)}},
    {10, {U(0, 0), D(-50, 50), U(0, -50), D(0, 0), D(50, 50), U(0, 0)}},
    {11,
     {U(0, 0), U(25, 25), D(-25, 25), D(-50, 50), U(-25, 25), D(-25, -25), D(-50, -50), U(-25, -25),
      D(25, -25), D(50, -50), U(25, -25), D(25, 25), U(0, 0)}},
    {12,
     {U(0, 0), U(50, 0), D(-50, 0), U(-50, 50), D(50, -50), U(0, -50), D(0, 50), U(50, 50),
      D(-50, -50), U(0, 0)}},
    {13, {U(0, 0), D(50, 50), D(-50, 50), D(50, -50), D(-50, -50), D(0, 0), U(0, 0)}},
    {14, {U(0, 0), U(0, 50), D(0, -50), U(0, 0)}},
    {15, {U(0, 0), D(0, 0), U(0, 0)}},
};

static_assert(RunLength(kCapitals) <= kLowerCaseFirst - kCapitalsFirst);
static_assert(RunLength(kLowerCase) <= kOthersFirst - kLowerCaseFirst);
static_assert(RunLength(kOthers) <= kSymbolsFirst - kOthersFirst);
static_assert(RunLength(kSymbols) == CStrokeFont::kPoints - kSymbolsFirst);

template <std::size_t N>
void PlaceRun(const GlyphDef (&run)[N], int first, CStrokeFont::Glyph* glyphs) {
    int next = first;
    for (const GlyphDef& g : run) {
        if (g.sharesFirst) --next;
        glyphs[g.code] = {next, next + PointCount(g) - 1};
        next += PointCount(g);
    }
}

template <std::size_t N>
void CopyRun(const GlyphDef (&run)[N], CStrokeFont& font) {
    for (const GlyphDef& g : run) {
        int j = font.m_glyphs[g.code].m_first;
        for (int i = 0; i < PointCount(g); ++i, ++j) {
            font.m_strokeX[j] = g.points[i].x;
            font.m_strokeY[j] = g.points[i].y;
            font.m_strokePen[j] = g.points[i].pen;
        }
    }
}

}  // namespace

CStrokeFont::CStrokeFont() : m_glyphs(), m_strokeX(), m_strokeY(), m_strokePen() {
    InitGlyphDirectory();
    InitCapitals();
    InitLowerCase();
    InitSymbols();
}

// Codes without a definition stay blank ({0, 0}): they draw nothing but still advance.
void CStrokeFont::InitGlyphDirectory() {
    PlaceRun(kCapitals, kCapitalsFirst, m_glyphs);
    PlaceRun(kLowerCase, kLowerCaseFirst, m_glyphs);
    PlaceRun(kOthers, kOthersFirst, m_glyphs);
    PlaceRun(kSymbols, kSymbolsFirst, m_glyphs);
}

void CStrokeFont::InitCapitals() {
    CopyRun(kCapitals, *this);
}

void CStrokeFont::InitLowerCase() {
    CopyRun(kLowerCase, *this);
}

void CStrokeFont::InitSymbols() {
    CopyRun(kOthers, *this);
    CopyRun(kSymbols, *this);
}

const CStrokeFont g_strokeFont;
