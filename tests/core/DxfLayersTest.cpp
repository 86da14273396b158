// Layer names readers refuse, and colours outside the DXF range.
#include <gtest/gtest.h>

#include <string>

#include "dxf/DxfLayers.h"
#include "dxf/DxfOut.h"
#include "plot/Archive.h"

TEST(DxfLayers, RefusedNamesNameThePenAndTheCharacter) {
    struct Case {
        int pen;
        std::string name;
        const char* problem;  // empty: accepted
    };
    const Case cases[] = {
        {3, "a:b", "pen 3 holds the character ':'"},
        {1, "x|y", "pen 1 holds the character '|'"},
        {8, "back\\slash", "pen 8 holds the character '\\'"},
        {5, "tab\there", "pen 5 holds the control character 0x09"},
        {2, std::string("nul\0x", 5), "pen 2 holds the control character 0x00"},
        {6, "del\x7f", "pen 6 holds the control character 0x7F"},
        {4, "Straße-1_$.(ok) #2", ""},
    };
    for (const Case& c : cases) {
        DxfSettings s;
        s.layerName[c.pen - 1] = c.name;
        const std::string problem = LayerNameProblem(s.layerName);
        if (*c.problem) {
            EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
        } else {
            EXPECT_EQ(problem, "") << c.name;
        }
    }
}

TEST(DxfLayers, ColoursOutsideTheRangeAreWrittenAsGivenWithOneWarning) {
    DxfSettings s;
    s.layerColor[0] = 0;
    s.layerColor[7] = 256;
    EXPECT_EQ(LayerColorWarning(s.layerColor), "");
    s.layerColor[1] = -1;
    s.layerColor[4] = 1000;
    const std::string warning = LayerColorWarning(s.layerColor);
    EXPECT_NE(warning.find("pen 2: -1, pen 5: 1000"), std::string::npos) << warning;

    CDxfOut d(s);
    Archive out = Archive::ToMemory();
    d.Begin(&out, 0, 0);
    d.SetPen(5);
    d.WriteCircle(1, 1, 1);
    EXPECT_NE(out.Memory().find(" 62\r\n  1000\r\n"), std::string::npos);
}
