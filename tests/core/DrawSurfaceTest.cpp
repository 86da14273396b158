// What every surface shares: the pens and fonts made on it.
#include <gtest/gtest.h>

#include <string>

#include "render/TraceSurface.h"

TEST(DrawSurface, PensAndFontsHaveTheirOwnHandlesNeverReused) {
    TraceSurface dc;
    const auto a = dc.CreatePen(2, MakeColorRef(255, 0, 0));
    const auto font = dc.CreateFont({40, 900, "DejaVu Sans"});
    const auto b = dc.CreatePen(0, MakeColorRef(0, 0, 255));
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(font, 1);
    EXPECT_EQ(dc.SelectPen(a), 0);  // the stock pen was selected
    EXPECT_EQ(dc.SelectPen(b), a);
    dc.DeletePen(a);
    EXPECT_EQ(dc.CreatePen(1, 0), 3);
    // A deleted pen is gone: selecting it tells nothing of its colour.
    dc.SelectPen(a);
    EXPECT_EQ(dc.Calls().back().op, TraceCall::SelectPen);
    EXPECT_EQ(dc.Calls().back().v[1], 0);
    // Text takes the height and escapement of the selected font, none once it is deselected.
    dc.SelectFont(font);
    dc.ExtTextOut(1, 2, "A", 1);
    dc.SelectFont(0);
    dc.DeleteFont(font);
    dc.ExtTextOut(1, 2, "B", 1);
    // (The trace leaves out selections of the first pen made: a pass's spare.)
    EXPECT_EQ(dc.Text(), "pen 0 0 255 0\ntext 1 2 40 900 \"A\"\ntext 1 2 0 0 \"B\"\n");
}
