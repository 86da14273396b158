#pragma once

#include <string>

// The DXF export settings a document carries: what the export dialog shows, the configuration
// file holds and the writer reads. Plain data; the export itself lives in dxf/.
struct DxfSettings {
    static constexpr int kFieldCount = 34;  // as the configuration file counts them

    // Layer name and colour of each of the eight plotter pens.
    std::string layerName[8] = {"0", "1", "2", "3", "4", "5", "6", "7"};
    int layerColor[8] = {7, 1, 2, 3, 4, 5, 6, 7};
    // Three correspondence points: world easting, northing, elevation and paper x, y (inches).
    double easting[3] = {0, 0, 0};
    double northing[3] = {0, 0, 0};
    double elevation[3] = {0, 0, 0};
    double paperX[3] = {1.5, 0, 0};
    double paperY[3] = {2.5, 0, 0};
    int unitsIndex = 0;  // 0 metric, 1 imperial
    double originalScale = 1.0;
    int conversionIndex = 0;  // 0 normal (paper coordinates), 1 scaled to the world
};
