#pragma once

#include <string>

#include "plot/SaveResult.h"

class PrimitiveList;
struct DxfSettings;

// What a GIS export writes besides the drawing: the GDAL vector driver and the coordinate
// reference system of the world coordinates (anything GDAL's SetFromUserInput takes; empty for
// none).
struct GisOptions {
    std::string driver;
    std::string crs;
};

// The GDAL driver of an output's extension (lower case, no dot): "GPKG" for gpkg, "GeoJSON" for
// geojson; empty for any other.
std::string GisDriverOf(const std::string& extension);

// The drawing's DXF entities as GIS features in the DXF export's world coordinates, written by
// GDAL in memory and stored to path once complete (a folder of files for drivers that hold one
// layer per file). A refused export (settings without a transform, an unknown driver or
// coordinate system, a driver that cannot create files) writes nothing.
SaveResult ExportGis(const PrimitiveList& primitives, const DxfSettings& settings,
                     const GisOptions& options, const std::string& path);
