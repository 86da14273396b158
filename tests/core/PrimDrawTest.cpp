// Primitives drawing through the plot context onto a recording surface.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/DrawFixture.h"

TEST(PlotContext, MappingTruncatesTowardZeroAndSaturates) {
    CPlotContext c;
    EXPECT_EQ(c.ToResolution(c.AbsoluteX(1.0f)), 300);
    EXPECT_EQ(CPlotContext::ToLogical(300, 0, 1.0), -30700);
    EXPECT_EQ(c.ToResolution(-0.001f), 0);
    EXPECT_EQ(c.ToResolution(0.0099f), 2);
    EXPECT_EQ(CPlotContext::ToLogical(-1, 0, 2.0), -31000);  // -31000.5 truncates up
    EXPECT_TRUE(CPlotContext::InRange(-31999));
    EXPECT_TRUE(CPlotContext::InRange(31999));
    EXPECT_FALSE(CPlotContext::InRange(-32000));
    EXPECT_FALSE(CPlotContext::InRange(32000));
    // Corrupt values must not be undefined behaviour.
    EXPECT_EQ(c.ToResolution(1e30f), std::numeric_limits<int>::max());
    EXPECT_EQ(c.ToResolution(-1e30f), std::numeric_limits<int>::min());
    EXPECT_EQ(c.ToResolution(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(CPlotContext::ToLogical(5, 0, 0.0), std::numeric_limits<int>::max());
}

TEST(Ligne, PenCodesMoveDrawAndShiftTheOrigin) {
    DrawFixture f;
    // The first line of a pass starts at the view's corner.
    f.Draw(Ligne(PrimCode::kLigne, 1.0f, 1.0f, 2));
    EXPECT_EQ(f.Drawn(), "move -31000 -31000\nline -30700 -30700\n");
    EXPECT_EQ(f.context.GetMaxX(), 300.0f);

    // Moves do not count for the extents.
    f.Draw(Ligne(PrimCode::kLigne, 2.0f, 3.0f, 3));
    EXPECT_EQ(f.Drawn(), "move -30700 -30700\nmove -30400 -30100\n");
    EXPECT_EQ(f.context.GetMaxY(), 300.0f);

    // Codes without a drawing meaning only move the plot's pen.
    f.Draw(Ligne(PrimCode::kLigne, 2.5f, 3.0f, -2));
    EXPECT_EQ(f.Drawn(), "move -30400 -30100\n");
    EXPECT_EQ(f.context.GetLastX(), -30250.0f);

    f.Draw(Ligne(PrimCode::kLigne, 9.0f, 9.0f, 999));
    EXPECT_EQ(f.Drawn(), "");
    EXPECT_EQ(f.context.GetLastX(), -30250.0f);

    // -3 moves and takes the point as the new origin; the scale applies to later points only.
    f.context.SetScale(2.0f);
    f.Draw(Ligne(PrimCode::kLigne, 1.0f, 0.5f, -3));
    EXPECT_EQ(f.context.GetOriginX(), 2.0f);
    EXPECT_EQ(f.context.GetOriginY(), 1.0f);
    EXPECT_EQ(f.Drawn(), "move -30250 -30100\nmove -30400 -30700\n");
    f.Draw(Ligne(PrimCode::kLigne, 1.0f, 0.0f, 2));
    EXPECT_EQ(f.Drawn(), "move -30400 -30700\nline -29800 -30700\n");
}

TEST(Ligne, SegmentsAreClippedToTwiceTheWindowUnlessClippingIsOff) {
    DrawFixture f;  // clip rectangle x -31000..-27000, y -31002..-29002
    f.Draw(Ligne(PrimCode::kLigne, 0.0f, 1.0f, 3));
    f.Drawn();
    f.Draw(Ligne(PrimCode::kLigne, 100.0f, 1.0f, 2));  // runs far to the right
    EXPECT_EQ(f.Drawn(), "move -31000 -30700\nline -27000 -30700\n");
    EXPECT_EQ(f.context.GetLastX(), -1000.0f);  // the pen is at the unclipped point

    // Wholly outside: nothing drawn, but -3 still moves the origin.
    f.Draw(Ligne(PrimCode::kLigne, 100.0f, 50.0f, -3));
    EXPECT_EQ(f.Drawn(), "");
    EXPECT_EQ(f.context.GetOriginX(), 100.0f);

    f.context.SetNoClip(true);
    f.Draw(Ligne(PrimCode::kLigne, -100.0f, -50.0f, 2));
    EXPECT_EQ(f.Drawn(), "move -1000 -16000\nline -31000 -31000\n");
}

TEST(ClipLine, LiangBarskyEdgesAndEnds) {
    double x0 = -5, y0 = 5, x1 = 15, y1 = 5;
    EXPECT_TRUE(ClipLine(x0, y0, x1, y1, 0, 10, 0, 10));
    EXPECT_DOUBLE_EQ(x0, 0);
    EXPECT_DOUBLE_EQ(x1, 10);
    EXPECT_DOUBLE_EQ(y1, 5);

    // Diagonal through a corner region, both ends moved from the original first end.
    x0 = -10, y0 = 0, x1 = 10, y1 = 20;
    EXPECT_TRUE(ClipLine(x0, y0, x1, y1, 0, 10, 0, 15));
    EXPECT_DOUBLE_EQ(x0, 0);
    EXPECT_DOUBLE_EQ(y0, 10);
    EXPECT_DOUBLE_EQ(x1, 5);
    EXPECT_DOUBLE_EQ(y1, 15);

    // Wholly outside leaves the ends as they were; a vertical line outside fails on p = 0.
    x0 = 20, y0 = 20, x1 = 30, y1 = 25;
    EXPECT_FALSE(ClipLine(x0, y0, x1, y1, 0, 10, 0, 10));
    EXPECT_EQ(x0, 20);
    EXPECT_EQ(y1, 25);
    x0 = -1, y0 = 0, x1 = -1, y1 = 10;
    EXPECT_FALSE(ClipLine(x0, y0, x1, y1, 0, 10, 0, 10));

    // A point on the edge is inside.
    x0 = 10, y0 = 10, x1 = 10, y1 = 10;
    EXPECT_TRUE(ClipLine(x0, y0, x1, y1, 0, 10, 0, 10));
}

TEST(Cercle, DrawsAFullArcOnlyWithItsCentreInRange) {
    DrawFixture f;
    f.Draw(Cercle(PrimCode::kCercle, 1.0f, 2.0f, 0.5f), 2.0);
    // centre (300, 600) -> (-30850, -30700), radius 150 / 2 = 75
    EXPECT_EQ(f.Drawn(), "arc -30925 -30775 -30775 -30625 -30925 -30775 -30925 -30775\n");
    EXPECT_EQ(f.context.GetMaxY(), 600.0f);
    EXPECT_EQ(f.context.GetLastX(), -31000.0f);  // the pen position does not move

    // Centre at logical 32000: not drawn at all, yet it counts for the extents.
    f.Draw(Cercle(PrimCode::kCercle, 210.0f, 0.0f, 1.0f));
    EXPECT_EQ(f.Drawn(), "");
    EXPECT_EQ(f.context.GetMaxX(), 63000.0f);
}

TEST(Colour, PenTableAndLevels) {
    DrawFixture f;
    auto rgb = [&] {
        return std::to_string(f.context.GetRed()) + " " + std::to_string(f.context.GetGreen()) +
               " " + std::to_string(f.context.GetBlue());
    };
    f.Draw(Couleur(PrimCode::kCouleur, 9));
    EXPECT_EQ(rgb(), "255 128 0");
    f.Draw(Couleur(PrimCode::kCouleur, 10));
    EXPECT_EQ(rgb(), "255 128 0");
    f.Draw(Couleur(PrimCode::kCouleur, 5));
    EXPECT_EQ(rgb(), "0 255 255");
    f.Draw(Couleur(PrimCode::kCouleur, 8));
    EXPECT_EQ(rgb(), "0 0 0");
    f.Draw(NewColor(PrimCode::kNewColor, 256, 511, 128));
    EXPECT_EQ(rgb(), "0 255 128");

    f.Draw(Facteur(PrimCode::kFacteur, 3.0f));
    f.context.SetOrigin(4, 0);
    f.context.SetLastPoint(5, -31000);
    f.Draw(Pinit(PrimCode::kPinit, 0, 0));
    EXPECT_EQ(rgb(), "0 0 0");
    EXPECT_EQ(f.context.GetScale(), 1.0f);
    EXPECT_EQ(f.context.GetOriginX(), 0.0f);
    EXPECT_EQ(f.context.GetLastX(), -31000.0f);
    EXPECT_EQ(f.Drawn(), "");
}

TEST(TextPrimitives, PositionHeightAndNumberText) {
    DrawFixture f;
    f.context.SetFaceName("Arial");  // device text shows what is handed over
    f.context.SetScale(2.0f);
    f.context.SetOrigin(1.0f, 0);
    // 999.0 is taken as is, without origin or scale.
    f.Draw(MakeSymbole(999.0f, 1.0f, 0.25f, 0.0f, "ok"));
    EXPECT_EQ(f.Drawn(), "text 268700 -30400 48 0 \"ok\"\n");  // height ceil(96 x 0.5)
    EXPECT_EQ(f.context.GetMaxX(), 299700.0f);

    f.context.SetScale(1.0f);
    f.context.SetOrigin(0, 0);
    f.Draw(Nombre(PrimCode::kNombre, 1.0f, 1.0f, 0.1f, 0.0f, -1, -2.7f));
    f.Draw(Nombre(PrimCode::kNombre, 1.0f, 1.0f, 0.1f, 0.0f, 2, 3.14159f));
    EXPECT_EQ(f.Drawn(), "text -30700 -30700 10 0 \"-2\"\ntext -30700 -30700 10 0 \"3.14\"\n");

    // A number too long for the plotter is cut to 31 characters.
    f.Draw(Nombre(PrimCode::kNombre, 1.0f, 1.0f, 0.1f, 0.0f, 30, 123456.0f));
    EXPECT_EQ(f.Drawn(), "text -30700 -30700 10 0 \"123456.000000000000000000000000\"\n");
}

TEST(Symspecial, ConnectionThenMarkerThenPenBackAtTheMarker) {
    DrawFixture f;
    // Symbol 15 is character 16, which has no strokes: only the connection from the corner.
    f.Draw(Symspecial(PrimCode::kSymspecial, 1.0f, 1.0f, 0.1f, 0.0f, -2, 15));
    EXPECT_EQ(f.Drawn(),
              "move -31000 -31000\nline -30700 -30700\n"  // connection
              "move -30700 -30700\nmove -30670 -30700\n"  // blank marker: start, advance
              "move -30700 -30700\n");
    EXPECT_EQ(f.context.GetMaxX(), 330.0f);  // the advance counts too

    // Pen action -1 moves. The advance truncates: 2 + 0.1 as a float is 2.0999999.
    f.Draw(Symspecial(PrimCode::kSymspecial, 2.0f, 1.0f, 0.1f, 0.0f, -1, 15));
    EXPECT_EQ(f.Drawn(),
              "move -30700 -30700\nmove -30400 -30700\nmove -30400 -30700\n"
              "move -30371 -30700\nmove -30400 -30700\n");
    // A connection wholly outside draws nothing, yet the pen follows the marker.
    f.context.SetLastPoint(-40000, -40000);
    f.Draw(Symspecial(PrimCode::kSymspecial, 2.0f, -10.0f, 0.1f, 0.0f, -2, 15));
    EXPECT_EQ(f.Drawn(), "");
    EXPECT_EQ(f.context.GetLastY(), -34000.0f);
}
