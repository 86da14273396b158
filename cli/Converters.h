#pragma once

#include <string>

class CKorvaneDoc;

// What a command may be told on the command line about the view it simulates and the export.
struct ConvertOptions {
    int width = 1000;  // client size of the simulated view, pixels
    int height = 800;
    std::string face = "Velmaro";  // text face; the built-in stroke font by default
    int lineWidth = 0;             // pen width in logical units, 0 to 4 as the desktop offers
    std::string config;            // DXF export parameters file
    bool antialias = true;         // a PNG's lines smoothed; off gives the screen's crisp pixels
};

#ifdef KORVANE_WITH_QT
// The drawing as a new view of the options' client size shows it after its first fit.
int ConvertPng(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options);
int ConvertSvg(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options);
int ConvertPdf(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options);
#endif
