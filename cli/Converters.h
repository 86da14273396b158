#pragma once

#include <algorithm>
#include <string>
#include <vector>

class CKorvaneDoc;

// What a command may be told on the command line about the view it simulates and the export.
struct ConvertOptions {
    int width = 1000;  // client size of the simulated view, pixels
    int height = 800;
    std::string face = "Velmaro";    // text face; the built-in stroke font by default
    int lineWidth = 0;               // pen width in logical units, 0 to 4 as the desktop offers
    std::string config;              // DXF export parameters file
    std::string crs;                 // a GIS output's coordinate system, as GDAL reads it
    std::string format;              // a GIS output's GDAL driver, when not told by the extension
    bool antialias = true;           // a PNG's lines smoothed; off: the screen's crisp pixels
    std::vector<std::string> given;  // the options the command line set

    bool Given(const std::string& option) const {
        return std::find(given.begin(), given.end(), option) != given.end();
    }
};

// A picture larger than this many pixels is refused rather than left to exhaust memory: 2^28,
// for example 16384 x 16384, a gigabyte of pixels.
constexpr long long kMaxImagePixels = 1LL << 28;

// A PDF page side larger than this many pixels (200 inches at 96 to the inch, 14400 points) is
// refused: PDF readers honour no larger page.
constexpr int kMaxPdfSide = 19200;

#ifdef KORVANE_WITH_QT
// The drawing as a new view of the options' client size shows it after its first fit.
int ConvertPng(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options);
int ConvertSvg(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options);
int ConvertPdf(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options);
// Qt's application object, made once for the commands that paint.
void EnsureGuiApplication();
#endif
#ifdef KORVANE_WITH_GIS
// The drawing in world coordinates as a GIS format's features (the module that links GDAL).
int ConvertGis(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options);
#endif
#if defined(KORVANE_WITH_QT) || defined(KORVANE_QT_MODULE)
// Whether an installed font family matches face (case aside), as Qt would pick it.
bool FaceInstalled(const std::string& face);
#endif
