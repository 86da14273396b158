// The built-in stroke font table: fixed rows, markers, point layout and glyph rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "render/StrokeFont.h"

namespace {

struct Point {
    char pen;
    int x;
    int y;
    bool operator==(const Point& o) const { return pen == o.pen && x == o.x && y == o.y; }
};

void PrintTo(const Point& p, std::ostream* os) {
    *os << p.pen << ' ' << p.x << ',' << p.y;
}

// Points written as in the font's design notes: "D 0,35; U 65,35".
std::vector<Point> Parse(const std::string& text) {
    std::vector<Point> points;
    const char* s = text.c_str();
    Point p;
    int used = 0;
    while (std::sscanf(s, " %c %d,%d%n", &p.pen, &p.x, &p.y, &used) == 3) {
        points.push_back(p);
        s += used;
        if (*s == ';') ++s;
    }
    return points;
}

std::vector<Point> GlyphOf(int code) {
    const CStrokeFont::Glyph& g = g_strokeFont.m_glyphs[code];
    std::vector<Point> points;
    if (g.m_last == 0) return points;
    for (int j = g.m_first; j <= g.m_last; ++j)
        points.push_back(
            {g_strokeFont.m_strokePen[j], g_strokeFont.m_strokeX[j], g_strokeFont.m_strokeY[j]});
    return points;
}

std::string Name(int code) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "code %d '%c'", code, code >= 32 && code < 127 ? code : '?');
    return buf;
}

TEST(StrokeFont, FixedRowsAreExact) {
    const struct {
        char code;
        const char* points;
    } rows[] = {
        {'A', "D 0,35; D 35,100; D 65,35; D 65,0; U 65,35; D 0,35"},
        {'H', "D 0,100; U 65,100; D 65,0; U 65,50; D 0,50"},
        {'O', "D 65,0; D 65,100; D 0,100; D 0,0"},
        {'/', "D 65,100"},
        {'1', "U 15,0; D 50,0; U 35,0; D 35,100; D 15,85"},
        {'g',
         "U 0,-15; D 15,-30; D 50,-30; D 65,-15; D 65,50; D 50,65; D 15,65; D 0,50; D 0,15; "
         "D 15,0; D 65,0"},
        {'_', "U 0,-20; D 65,-20"},
        {'-', "U 0,50; D 65,50"},
        {'.', "U 35,0; D 35,15"},
        {'0', "U 35,0; D 15,15; D 15,85; D 35,100; D 50,100; D 65,85; D 65,15; D 50,0; D 35,0"},
        {'2',
         "U 65,0; D 0,0; D 0,35; D 15,50; D 50,50; D 65,65; D 65,85; D 50,100; D 15,100; "
         "D 0,85"},
        {'3',
         "U 0,15; D 15,0; D 50,0; D 65,15; D 65,35; D 50,50; D 35,50; U 50,50; D 65,65; "
         "D 65,85; D 50,100; D 15,100; D 0,85"},
        {'4', "U 50,0; D 50,100; D 0,35; D 65,35"},
        {'5', "U 0,15; D 15,0; D 50,0; D 65,15; D 65,50; D 50,65; D 0,65; D 0,100; D 65,100"},
        {'6',
         "U 50,100; D 35,100; D 0,65; D 0,15; D 15,0; D 50,0; D 65,15; D 65,35; D 50,50; "
         "D 0,50"},
        {'7', "U 0,100; D 65,100; D 15,0"},
        {'8',
         "U 15,50; D 0,35; D 0,15; D 15,0; D 50,0; D 65,15; D 65,35; D 50,50; D 15,50; D 0,65; "
         "D 0,85; D 15,100; D 50,100; D 65,85; D 65,65; D 50,50"},
        {'9',
         "U 15,0; D 35,0; D 65,35; D 65,85; D 50,100; D 15,100; D 0,85; D 0,65; D 15,50; "
         "D 65,50"},
    };
    for (const auto& row : rows) EXPECT_EQ(GlyphOf(row.code), Parse(row.points)) << Name(row.code);
}

TEST(StrokeFont, MarkersAreExact) {
    const char* symbols[15] = {
        "U 0,0; D 0,50; D -50,50; D -50,-50; D 50,-50; D 50,50; D 0,50; U 0,0",
        "U 0,0; D 0,50; D -25,50; D -50,25; D -50,-25; D -25,-50; D 25,-50; D 50,-25; D 50,25; "
        "D 25,50; D 0,50; U 0,0",
        "U 0,0; D 0,50; D -50,-25; D 50,-25; D 0,50; U 0,0",
        "U 0,0; U 0,50; D 0,-50; U -50,0; D 50,0; U 0,0",
        "U 0,0; U -50,50; D 50,-50; U -50,-50; D 50,50; U 0,0",
        "U 0,0; D 0,50; D -50,0; D 0,-50; D 50,0; D 0,50; U 0,0; U 0,0",
        "U 0,0; U 0,-50; D 0,50; D -50,0; D 50,0; D 0,50; U 0,0",
        "U 0,0; U -50,-50; D 50,50; D -50,50; D 50,-50; U 0,0",
        "U 0,0; U -50,50; D 50,50; D -50,-50; D 50,-50; U 0,0",
        "U 0,0; D -50,50; U 0,-50; D 0,0; D 50,50; U 0,0",
        "U 0,0; U 25,25; D -25,25; D -50,50; U -25,25; D -25,-25; D -50,-50; U -25,-25; "
        "D 25,-25; D 50,-50; U 25,-25; D 25,25; U 0,0",
        "U 0,0; U 50,0; D -50,0; U -50,50; D 50,-50; U 0,-50; D 0,50; U 50,50; D -50,-50; U 0,0",
        "U 0,0; D 50,50; D -50,50; D 50,-50; D -50,-50; D 0,0; U 0,0",
        "U 0,0; U 0,50; D 0,-50; U 0,0",
        "U 0,0; D 0,0; U 0,0",
    };
    for (int s = 0; s < 15; ++s) EXPECT_EQ(GlyphOf(s + 1), Parse(symbols[s])) << "symbol " << s;
}

TEST(StrokeFont, MarkersFillTheirRangeAndFiveAndSixShareAPoint) {
    int expected = 572;
    for (int code = 1; code <= 15; ++code) {
        const CStrokeFont::Glyph& g = g_strokeFont.m_glyphs[code];
        if (code == 7) --expected;
        EXPECT_EQ(g.m_first, expected) << Name(code);
        expected = g.m_last + 1;
    }
    EXPECT_EQ(g_strokeFont.m_glyphs[6].m_last, 617);
    EXPECT_EQ(g_strokeFont.m_glyphs[7].m_first, 617);
    EXPECT_EQ(g_strokeFont.m_glyphs[15].m_last, 678);
}

TEST(StrokeFont, BlankCodesHaveNoStrokes) {
    std::vector<int> blanks = {0, 127};
    for (int code = 16; code <= 32; ++code) blanks.push_back(code);
    for (int code : blanks) EXPECT_EQ(g_strokeFont.m_glyphs[code].m_last, 0) << Name(code);
}

// Each run of glyphs fills its range of points in the given order, without gaps or overlaps.
void ExpectContiguous(const std::string& order, int first, int last) {
    int next = first;
    for (char c : order) {
        const CStrokeFont::Glyph& g = g_strokeFont.m_glyphs[static_cast<int>(c)];
        EXPECT_EQ(g.m_first, next) << Name(c);
        EXPECT_GE(g.m_last, g.m_first) << Name(c);
        next = g.m_last + 1;
    }
    EXPECT_EQ(next, last + 1) << "run ending at " << last;
}

TEST(StrokeFont, PrintableCharactersFillTheirRanges) {
    ExpectContiguous("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1, 148);
    ExpectContiguous("abcdefghijklmnopqrstuvwxyz", 149, 322);
    ExpectContiguous("!\"#$%&'()*+,-./0123456789<=>?@\\^_`{}~;:[]|", 323, 571);
}

TEST(StrokeFont, PrintableGlyphsKeepToTheCellAndPenRules) {
    const std::string startsDown = "%/ABDFHKMNOPRXbhkmnrsx";
    for (int code = 33; code <= 126; ++code) {
        const std::vector<Point> points = GlyphOf(code);
        ASSERT_FALSE(points.empty()) << Name(code);
        EXPECT_LE(points.size(), 16u) << Name(code);
        const bool down = startsDown.find(static_cast<char>(code)) != std::string::npos;
        EXPECT_EQ(points.front().pen, down ? 'D' : 'U') << Name(code);
        bool draws = false;
        for (const Point& p : points) {
            EXPECT_TRUE(p.pen == 'D' || p.pen == 'U') << Name(code);
            EXPECT_TRUE(p.x >= 0 && p.x <= 70) << Name(code) << " x " << p.x;
            EXPECT_TRUE(p.y >= -30 && p.y <= 100) << Name(code) << " y " << p.y;
            draws = draws || p.pen == 'D';
        }
        EXPECT_TRUE(draws) << Name(code);
    }
    // Below the baseline: the descenders to -30, "_" at -20, "," and ";" to -15, nothing else.
    const std::string descenders = "gjpqy";
    for (int code = 33; code <= 126; ++code) {
        const char c = static_cast<char>(code);
        const int floor = descenders.find(c) != std::string::npos ? -30
                          : c == '_'                              ? -20
                          : c == ',' || c == ';'                  ? -15
                                                                  : 0;
        for (const Point& p : GlyphOf(code)) EXPECT_GE(p.y, floor) << Name(code);
    }
}

}  // namespace

// The whole table, one line per code with its point range and every point, against the
// reviewed tests/golden/stroke-font.txt: a change to any stroke of any glyph shows up here and
// in the diff of that file. KORVANE_UPDATE_GOLDEN=1 rewrites it after an intended change.
TEST(StrokeFont, WholeTableMatchesTheReviewedGoldenFile) {
    std::string table;
    for (int code = 0; code < 128; ++code) {
        const CStrokeFont::Glyph& g = g_strokeFont.m_glyphs[code];
        char head[64];
        std::snprintf(head, sizeof head, "%3d %c %3d-%3d:", code,
                      code > 32 && code < 127 ? code : '.', g.m_first, g.m_last);
        table += head;
        for (const Point& p : GlyphOf(code)) {
            char point[32];
            std::snprintf(point, sizeof point, " %c %d,%d", p.pen, p.x, p.y);
            table += point;
        }
        table += '\n';
    }
    const std::string golden = std::string(KORVANE_GOLDEN_DIR) + "/stroke-font.txt";
    if (std::getenv("KORVANE_UPDATE_GOLDEN")) std::ofstream(golden, std::ios::binary) << table;
    std::ifstream in(golden, std::ios::binary);
    ASSERT_TRUE(in) << golden << " is missing";
    std::stringstream expected;
    expected << in.rdbuf();
    std::istringstream want(expected.str()), got(table);
    std::string a, b;
    while (std::getline(want, a) && std::getline(got, b)) EXPECT_EQ(b, a);
    EXPECT_TRUE(expected.str() == table) << "the table differs from " << golden;
}
