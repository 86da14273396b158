#pragma once

#include <string>

class CKorvaneDoc;

// What a conversion may be told on the command line.
struct ConvertOptions {
    int width = 1000;  // client size of the simulated view, pixels
    int height = 800;
    std::string config;  // DXF export parameters file
};

#ifdef KORVANE_WITH_QT
// The drawing as a new view of the options' client size shows it after its first fit.
int ConvertPng(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options);
int ConvertSvg(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options);
int ConvertPdf(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options);
#endif
