// Stroke text and device text.
#include <gtest/gtest.h>

#include "support/DrawFixture.h"

namespace {
void Stroke(DrawFixture& f, float x, float y, float angle, const std::string& text, float h) {
    f.context.DrawStrokeText(x, y, angle, text.data(), h, static_cast<int>(text.size()),
                             {0, 0, 1.0});
}
}  // namespace

TEST(StrokeText, MarkerIsCentredAndAdvancesOneHeight) {
    DrawFixture f;
    Stroke(f, 1.0f, 1.0f, 0.0f, "\x04", 0.1f);  // symbol 3, the plus, 30 units across
    // 1 - 0.05 in float arithmetic is just under 0.95, which truncates to 284.
    EXPECT_EQ(f.Drawn(),
              "move -30700 -30700\n"
              "move -30700 -30700\nmove -30700 -30685\nline -30700 -30716\n"
              "move -30716 -30700\nline -30685 -30700\nmove -30700 -30700\n"
              "move -30670 -30700\n");
    EXPECT_EQ(f.context.GetMaxX(), 330.0f);
    EXPECT_EQ(f.context.GetMaxY(), 315.0f);
}

TEST(StrokeText, BlankAndHighBytes) {
    DrawFixture f;
    // Code 0, 16, space and 127 advance without drawing; bytes of 128 and more do neither.
    Stroke(f, 0.0f, 0.0f, 0.0f, std::string("\0\x10 \x7f\xc8", 5), 1.0f);
    EXPECT_EQ(f.Drawn(),
              "move -31000 -31000\nmove -30700 -31000\nmove -30400 -31000\n"
              "move -30100 -31000\nmove -29800 -31000\n");
    // A string of length 0 only moves to its start and counts it.
    Stroke(f, 2.0f, 3.0f, 0.0f, "", 1.0f);
    EXPECT_EQ(f.Drawn(), "move -30400 -30100\n");
    EXPECT_EQ(f.context.GetMaxY(), 900.0f);
}

TEST(StrokeText, StartOutOfRangeDrawsNothingButCounts) {
    DrawFixture f;
    Stroke(f, -4.0f, 0.0f, 0.0f, "//////", 1.0f);  // start at logical -32200
    EXPECT_EQ(f.Drawn(), "");
    Stroke(f, 220.0f, 0.0f, 0.0f, "/", 1.0f);
    EXPECT_EQ(f.Drawn(), "");
    EXPECT_EQ(f.context.GetMaxX(), 66000.0f);
}

TEST(StrokeText, AngleNinetyRunsUpward) {
    DrawFixture f;
    Stroke(f, 1.0f, 1.0f, 90.0f, "//", 1.0f);
    // "/" goes one height to the left and 0.65 up; each character advances (0, height). The
    // cosine of 90 degrees is not exactly 0, and truncation shows it.
    EXPECT_EQ(f.Drawn(),
              "move -30700 -30700\nline -31000 -30506\nmove -30701 -30400\n"
              "line -31000 -30206\nmove -30701 -30100\n");
}

TEST(StrokeText, OutOfRangePointsAreSkipped) {
    DrawFixture f;
    // Glyph points and the next reference fall far beyond the range: only the start is drawn,
    // but every point counts for the extents.
    Stroke(f, 0.0f, 0.0f, 0.0f, "//", 700.0f);
    EXPECT_EQ(f.Drawn(), "move -31000 -31000\n");
    EXPECT_EQ(f.context.GetMaxX(), 420000.0f);
    EXPECT_EQ(f.context.GetMaxY(), 210000.0f);
}

TEST(DeviceText, FaceNameChoosesThePath) {
    DrawFixture f;
    const char* text = "A";
    f.context.SetFaceName("velmaro");
    f.context.DrawString(0, 0, 0, text, 1.0f, 1, {0, 0, 1.0});
    EXPECT_EQ(f.Drawn(), "text -31000 -31000 96 0 \"A\"\n");
    f.context.SetFaceName("Velmaro");
    f.context.DrawString(0, 0, 0, text, 1.0f, 1, {0, 0, 1.0});
    EXPECT_EQ(f.Drawn().substr(0, 19), "move -31000 -31000\n");
}

TEST(DeviceText, ControlCodesGoToTheStrokeFontInPlace) {
    DrawFixture f;
    f.context.SetFaceName("Arial");
    f.context.SetColor(255, 0, 0);
    const std::string text =
        "AB\x04"
        "C\xe9";
    f.context.DrawDeviceText(1.0f, 1.0f, 0.0f, text.data(), 0.1f, 5, {0, 0, 1.0});
    // The plus is drawn two heights along from the start, before the device characters; the
    // accented byte appears nowhere.
    EXPECT_EQ(f.Drawn(),
              "move -30700 -30700\nmove -30670 -30700\nmove -30640 -30700\n"
              "move -30640 -30700\nmove -30640 -30685\nline -30640 -30716\n"
              "move -30655 -30700\nline -30625 -30700\nmove -30640 -30700\n"
              "move -30610 -30700\nmove -30580 -30700\n"
              "text -30700 -30700 10 0 \"ABC\"\n");
    int colour = -1, align = -1, mode = -1, selected = -1;
    for (const TraceCall& c : f.surface.Calls()) {
        if (c.op == TraceCall::TextColor) colour = c.v[0];
        if (c.op == TraceCall::TextAlign) align = c.v[0];
        if (c.op == TraceCall::BkMode) mode = c.v[0];
        if (c.op == TraceCall::SelectFont) selected = c.v[0];
    }
    EXPECT_EQ(colour, 255);
    EXPECT_EQ(align, 24);
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(selected, 0);  // the font does not stay selected
}

TEST(DeviceText, HeightEscapementAndExtents) {
    DrawFixture f;
    f.context.SetFaceName("Arial");
    const char* marker = "\x01";
    // Screen: five times ceil(96 x 0.25 / 1.5); the marker's device string is empty but
    // still written.
    f.context.DrawDeviceText(1.0f, 2.0f, 30.0f, marker, 0.25f, 1, {0, 0, 1.5});
    const std::string drawn = f.Drawn();
    EXPECT_NE(drawn.find("text -30800 -30600 80 -300 \"\"\n"), std::string::npos) << drawn;
    // Printing (divisor 1): no factor five. Extents take the reference point untruncated.
    DrawFixture g;
    g.context.SetFaceName("Arial");
    g.context.DrawDeviceText(1.0005f, 0.0f, 0.0f, "x", 0.25f, 1, {0, 0, 1.0});
    EXPECT_EQ(g.Drawn(), "text -30699 -31000 24 0 \"x\"\n");
    EXPECT_FLOAT_EQ(g.context.GetMaxX(), 300.15f);
    // Far outside the window it is still handed over, and a huge height saturates.
    f.context.DrawDeviceText(1000.0f, 0.0f, 0.0f, "x", 1e30f, 1, {0, 0, 1.0});
    EXPECT_EQ(f.Drawn(), "text 269000 -31000 2147483647 0 \"x\"\n");
}
