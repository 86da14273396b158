#pragma once

class GDALDataset;

// A default QGIS style for each layer of a GeoPackage, in its layer_styles table (where QGIS
// looks for one when it opens a layer), so the file opens looking like the plot: lines in the
// colour of their color field, texts labelled from text, angle and height, circles drawn to
// their radius; symbols show through their strokes in lines.
void WriteQgisStyles(GDALDataset& dataset);
