// The world-position pane's text: units, the tilted plane's height, and when it is hidden.
#include <gtest/gtest.h>

#include "world/WorldPosition.h"

TEST(WorldPositionTest, TextFollowsTheTransform) {
    // Paper (1.5, 2.5) is world (500000, 5000000); an inch is 25.4 m at 1:1000, 100 ft at 1:1200.
    const struct {
        int conversion, units;
        double scale, elevation, x, y;
        const char* text;
    } cases[] = {{1, 0, 1000, 0, 2.5, 2.5, "E 500025.400 N 5000000.000 m"},
                 {1, 1, 1200, 0, 1.5, 1.0, "E 500000.000 N 4999850.000 ft"},
                 {1, 0, 1000, 12.25, 1.5, 3.5, "E 500000.000 N 5000025.400 m H 12.250"},
                 {0, 0, 1000, 12.25, 2.5, 2.5, ""},  // normal conversion
                 {1, 0, 0, 0, 2.5, 2.5, ""}};        // a zero scale defines no transform
    for (const auto& c : cases) {
        DxfSettings s;
        s.conversionIndex = c.conversion, s.unitsIndex = c.units, s.originalScale = c.scale;
        s.easting[0] = 500000, s.northing[0] = 5000000, s.elevation[0] = c.elevation;
        EXPECT_EQ(WorldPositionText(ScaledWorldOf(s), c.x, c.y), c.text) << c.x << "," << c.y;
    }
}
