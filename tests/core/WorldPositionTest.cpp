// The world-position pane's text: metric and imperial, the tilted plane's height, hidden.
#include <gtest/gtest.h>

#include "world/WorldPosition.h"

TEST(WorldPositionTest, TextFollowsTheTransform) {
    auto text = [](int conversion, int units, double scale, double h) {
        DxfSettings s;  // paper (1.5, 2.5) is world (500000, 5000000, h)
        s.conversionIndex = conversion, s.unitsIndex = units, s.originalScale = scale;
        s.easting[0] = 500000, s.northing[0] = 5000000, s.elevation[0] = h;
        return WorldPositionText(ScaledWorldOf(s), 2.5, 1.5);
    };
    EXPECT_EQ(text(1, 0, 1000, 0), "E 500025.400 N 4999974.600 m");                // 25.4 m an inch
    EXPECT_EQ(text(1, 1, 1200, 12.25), "E 500100.000 N 4999900.000 ft H 12.250");  // 100 ft
    EXPECT_EQ(text(0, 0, 1000, 12.25), "");  // normal conversion
    EXPECT_EQ(text(1, 0, 0, 0), "");         // a zero scale defines no transform
}
