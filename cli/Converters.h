#pragma once

#include <string>

class CKorvaneDoc;

// What a conversion may be told on the command line.
struct ConvertOptions {
    int width = 1000;  // client size of the simulated view, pixels
    int height = 800;
    std::string config;  // DXF export parameters file
};
