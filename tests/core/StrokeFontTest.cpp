// The built-in stroke font table: marker and glyph rules, point layout, the reviewed whole.
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
};

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

// A marker is centred on the point it marks: it starts and ends there with the pen raised and
// keeps within half a cell of it, whatever its shape.
TEST(StrokeFont, MarkersAreCentredOnTheirPoint) {
    for (int code = 1; code <= 15; ++code) {
        const std::vector<Point> points = GlyphOf(code);
        ASSERT_GE(points.size(), 2u) << Name(code);
        for (const Point* end : {&points.front(), &points.back()}) {
            EXPECT_EQ(end->pen, 'U') << Name(code);
            EXPECT_EQ(end->x, 0) << Name(code);
            EXPECT_EQ(end->y, 0) << Name(code);
        }
        for (const Point& p : points) {
            EXPECT_TRUE(p.x >= -50 && p.x <= 50 && p.y >= -50 && p.y <= 50) << Name(code);
        }
    }
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
