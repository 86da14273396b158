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

// The characters share one hand: straight strokes on a grid of 0, 15, 35, 50 and 65, corners
// cut at 15, x-height 65. A glyph that starts with 'D' draws from its reference point.

// Capitals "A" to "Z".
constexpr GlyphDef kCapitals[] = {
    {'A', {D(0, 35), D(35, 100), D(65, 35), D(65, 0), U(65, 35), D(0, 35)}},
    {'B',
     {D(0, 100), D(50, 100), D(65, 85), D(65, 65), D(50, 50), D(0, 50), U(50, 50), D(65, 35),
      D(65, 15), D(50, 0), D(0, 0)}},
    {'C', {U(65, 15), D(50, 0), D(15, 0), D(0, 15), D(0, 85), D(15, 100), D(50, 100), D(65, 85)}},
    {'D', {D(0, 100), D(35, 100), D(65, 65), D(65, 35), D(35, 0), D(0, 0)}},
    {'E', {U(65, 0), D(0, 0), D(0, 100), D(65, 100), U(0, 50), D(50, 50)}},
    {'F', {D(0, 100), D(65, 100), U(0, 50), D(50, 50)}},
    {'G',
     {U(65, 85), D(50, 100), D(15, 100), D(0, 85), D(0, 15), D(15, 0), D(65, 0), D(65, 50),
      D(35, 50)}},
    {'H', {D(0, 100), U(65, 100), D(65, 0), U(65, 50), D(0, 50)}},
    {'I', {U(15, 0), D(50, 0), U(35, 0), D(35, 100), U(15, 100), D(50, 100)}},
    {'J', {U(0, 15), D(15, 0), D(50, 0), D(65, 15), D(65, 100)}},
    {'K', {D(0, 100), U(65, 100), D(0, 35), U(15, 50), D(65, 0)}},
    {'L', {U(0, 100), D(0, 0), D(65, 0)}},
    {'M', {D(0, 100), D(35, 50), D(65, 100), D(65, 0)}},
    {'N', {D(0, 100), D(65, 0), D(65, 100)}},
    {'O', {D(65, 0), D(65, 100), D(0, 100), D(0, 0)}},
    {'P', {D(0, 100), D(50, 100), D(65, 85), D(65, 65), D(50, 50), D(0, 50)}},
    {'Q', {U(0, 0), D(65, 0), D(65, 100), D(0, 100), D(0, 0), U(40, 30), D(70, 0)}},
    {'R', {D(0, 100), D(50, 100), D(65, 85), D(65, 65), D(50, 50), D(0, 50), U(35, 50), D(65, 0)}},
    {'S',
     {U(0, 15), D(15, 0), D(50, 0), D(65, 15), D(65, 35), D(50, 50), D(15, 50), D(0, 65), D(0, 85),
      D(15, 100), D(50, 100), D(65, 85)}},
    {'T', {U(0, 100), D(65, 100), U(35, 100), D(35, 0)}},
    {'U', {U(0, 100), D(0, 15), D(15, 0), D(50, 0), D(65, 15), D(65, 100)}},
    {'V', {U(0, 100), D(35, 0), D(65, 100)}},
    {'W', {U(0, 100), D(15, 0), D(35, 65), D(50, 0), D(65, 100)}},
    {'X', {D(65, 100), U(0, 100), D(65, 0)}},
    {'Y', {U(0, 100), D(35, 50), D(65, 100), U(35, 50), D(35, 0)}},
    {'Z', {U(0, 100), D(65, 100), D(0, 0), D(65, 0)}},
};

// Small letters "a" to "z".
constexpr GlyphDef kLowerCase[] = {
    {'a',
     {U(15, 65), D(50, 65), D(65, 50), D(65, 0), D(15, 0), D(0, 15), D(0, 25), D(15, 35),
      D(65, 35)}},
    {'b', {D(0, 100), U(0, 50), D(15, 65), D(50, 65), D(65, 50), D(65, 15), D(50, 0), D(0, 0)}},
    {'c', {U(65, 50), D(50, 65), D(15, 65), D(0, 50), D(0, 15), D(15, 0), D(50, 0), D(65, 15)}},
    {'d',
     {U(65, 100), D(65, 0), U(65, 50), D(50, 65), D(15, 65), D(0, 50), D(0, 15), D(15, 0),
      D(65, 0)}},
    {'e',
     {U(0, 35), D(65, 35), D(65, 50), D(50, 65), D(15, 65), D(0, 50), D(0, 15), D(15, 0),
      D(65, 0)}},
    {'f', {U(15, 0), D(15, 85), D(30, 100), D(65, 100), U(0, 65), D(50, 65)}},
    {'g',
     {U(0, -15), D(15, -30), D(50, -30), D(65, -15), D(65, 50), D(50, 65), D(15, 65), D(0, 50),
      D(0, 15), D(15, 0), D(65, 0)}},
    {'h', {D(0, 100), U(0, 50), D(15, 65), D(50, 65), D(65, 50), D(65, 0)}},
    {'i', {U(35, 0), D(35, 65), U(35, 85), D(35, 100)}},
    {'j', {U(50, 65), D(50, -15), D(35, -30), D(15, -30), D(0, -15), U(50, 85), D(50, 100)}},
    {'k', {D(0, 100), U(50, 65), D(0, 25), U(15, 35), D(65, 0)}},
    {'l', {U(20, 100), D(35, 100), D(35, 0)}},
    {'m',
     {D(0, 65), U(0, 50), D(15, 65), D(35, 50), D(35, 0), U(35, 50), D(50, 65), D(65, 50),
      D(65, 0)}},
    {'n', {D(0, 65), U(0, 50), D(15, 65), D(50, 65), D(65, 50), D(65, 0)}},
    {'o',
     {U(15, 0), D(0, 15), D(0, 50), D(15, 65), D(50, 65), D(65, 50), D(65, 15), D(50, 0),
      D(15, 0)}},
    {'p',
     {U(0, -30), D(0, 65), U(0, 50), D(15, 65), D(50, 65), D(65, 50), D(65, 15), D(50, 0),
      D(0, 0)}},
    {'q',
     {U(65, -30), D(65, 65), U(65, 50), D(50, 65), D(15, 65), D(0, 50), D(0, 15), D(15, 0),
      D(65, 0)}},
    {'r', {D(0, 65), U(0, 45), D(20, 65), D(50, 65), D(65, 50)}},
    {'s', {D(50, 0), D(65, 15), D(50, 30), D(15, 35), D(0, 50), D(15, 65), D(65, 65)}},
    {'t', {U(15, 100), D(15, 15), D(30, 0), D(65, 0), U(0, 65), D(50, 65)}},
    {'u', {U(0, 65), D(0, 15), D(15, 0), D(65, 0), D(65, 65)}},
    {'v', {U(0, 65), D(35, 0), D(65, 65)}},
    {'w', {U(0, 65), D(15, 0), D(35, 50), D(50, 0), D(65, 65)}},
    {'x', {D(65, 65), U(0, 65), D(65, 0)}},
    {'y',
     {U(0, 65), D(0, 15), D(15, 0), D(65, 0), U(65, 65), D(65, -15), D(50, -30), D(15, -30),
      D(0, -15)}},
    {'z', {U(0, 65), D(65, 65), D(0, 0), D(65, 0)}},
};

// The other printable characters: "!" to "/", digits, "<" to "@", then the rest.
constexpr GlyphDef kOthers[] = {
    {'!', {U(35, 100), D(35, 35), U(35, 0), D(35, 15)}},
    {'"', {U(15, 100), D(15, 70), U(50, 100), D(50, 70)}},
    {'#', {U(15, 15), D(15, 85), U(50, 15), D(50, 85), U(0, 35), D(65, 35), U(0, 65), D(65, 65)}},
    {'$',
     {U(0, 20), D(15, 10), D(50, 10), D(65, 25), D(65, 40), D(50, 50), D(15, 50), D(0, 60),
      D(0, 75), D(15, 90), D(50, 90), D(65, 75), U(35, 0), D(35, 100)}},
    {'%',
     {D(65, 100), U(0, 100), D(20, 100), D(20, 80), D(0, 80), D(0, 100), U(45, 20), D(65, 20),
      D(65, 0), D(45, 0), D(45, 20)}},
    {'&',
     {U(65, 0), D(15, 65), D(15, 85), D(30, 100), D(45, 100), D(50, 85), D(0, 35), D(0, 15),
      D(15, 0), D(35, 0), D(65, 35)}},
    {'\'', {U(35, 100), D(35, 70)}},
    {'(', {U(50, 100), D(25, 70), D(25, 30), D(50, 0)}},
    {')', {U(15, 100), D(40, 70), D(40, 30), D(15, 0)}},
    {'*', {U(35, 20), D(35, 80), U(10, 65), D(60, 35), U(10, 35), D(60, 65)}},
    {'+', {U(35, 15), D(35, 85), U(0, 50), D(65, 50)}},
    {',', {U(35, 15), D(35, 0), D(20, -15)}},
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
    {'<', {U(65, 85), D(0, 50), D(65, 15)}},
    {'=', {U(0, 35), D(65, 35), U(0, 65), D(65, 65)}},
    {'>', {U(0, 85), D(65, 50), D(0, 15)}},
    {'?',
     {U(0, 85), D(15, 100), D(50, 100), D(65, 85), D(65, 65), D(35, 45), D(35, 30), U(35, 0),
      D(35, 15)}},
    {'@',
     {U(50, 30), D(25, 30), D(25, 65), D(50, 65), D(50, 30), D(65, 30), D(65, 85), D(50, 100),
      D(15, 100), D(0, 85), D(0, 15), D(15, 0), D(65, 0)}},
    {'\\', {U(0, 100), D(65, 0)}},
    {'^', {U(10, 65), D(35, 100), D(60, 65)}},
    {'_', {U(0, -20), D(65, -20)}},
    {'`', {U(25, 100), D(45, 80)}},
    {'{', {U(50, 100), D(25, 85), D(25, 60), D(10, 50), D(25, 40), D(25, 15), D(50, 0)}},
    {'}', {U(15, 100), D(40, 85), D(40, 60), D(55, 50), D(40, 40), D(40, 15), D(15, 0)}},
    {'~', {U(0, 45), D(15, 60), D(25, 60), D(40, 40), D(50, 40), D(65, 55)}},
    {';', {U(35, 50), D(35, 65), U(35, 15), D(35, 0), D(20, -15)}},
    {':', {U(35, 50), D(35, 65), U(35, 0), D(35, 15)}},
    {'[', {U(50, 100), D(25, 100), D(25, 0), D(50, 0)}},
    {']', {U(15, 100), D(40, 100), D(40, 0), D(15, 0)}},
    {'|', {U(35, 100), D(35, 0)}},
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

static_assert(RunLength(kCapitals) == kLowerCaseFirst - kCapitalsFirst);
static_assert(RunLength(kLowerCase) == kOthersFirst - kLowerCaseFirst);
static_assert(RunLength(kOthers) == kSymbolsFirst - kOthersFirst);
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
