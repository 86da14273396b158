#pragma once

#include <gtest/gtest.h>

#include <string>

#include "plot/DxfSettings.h"

// Export settings in which every one of the 34 fields differs from the defaults and from its
// neighbours, and keeps its value through the configuration file's six decimals.
inline DxfSettings SampleSettings() {
    DxfSettings p;
    for (int i = 0; i < 8; ++i) {
        p.layerName[i] = "Layer_" + std::to_string(i * 11);
        p.layerColor[i] = -3 + 37 * i;
    }
    for (int k = 0; k < 3; ++k) {
        p.easting[k] = 500000.125 + k;
        p.northing[k] = 5000000.5 - k;
        p.elevation[k] = 98.5 - 12.75 * k;
        p.paperX[k] = 1.75 + 30 * (k > 0);
        p.paperY[k] = 2.25 + 20 * (k > 1);
    }
    p.unitsIndex = 1;
    p.originalScale = 2500;
    p.conversionIndex = 1;
    return p;
}

inline void ExpectSameSettings(const DxfSettings& a, const DxfSettings& b) {
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(a.layerName[i], b.layerName[i]) << "pen " << i + 1;
        EXPECT_EQ(a.layerColor[i], b.layerColor[i]) << "pen " << i + 1;
    }
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(a.easting[k], b.easting[k]) << "corner " << k;
        EXPECT_EQ(a.northing[k], b.northing[k]) << "corner " << k;
        EXPECT_EQ(a.elevation[k], b.elevation[k]) << "corner " << k;
        EXPECT_EQ(a.paperX[k], b.paperX[k]) << "corner " << k;
        EXPECT_EQ(a.paperY[k], b.paperY[k]) << "corner " << k;
    }
    EXPECT_EQ(a.unitsIndex, b.unitsIndex);
    EXPECT_EQ(a.originalScale, b.originalScale);
    EXPECT_EQ(a.conversionIndex, b.conversionIndex);
}
