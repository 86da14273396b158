#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "dxf/DxfGeometry.h"

class GDALDataset;
class OGRLayer;
class OGRSpatialReference;

// A failure of GDAL while writing; what() is GDAL's own message.
class GisError : public std::runtime_error {
  public:
    explicit GisError(const std::string& message) : std::runtime_error(message) {}
};

// The DXF entities as features of a GDAL dataset: layers "lines", "texts", "symbols" and
// "circles", or, combined, one layer whose features say their kind. Geometries carry Z only on
// a tilted plane. The whole drawing is one transaction where the driver has them.
class GisFeatureSink final : public DxfEntitySink {
  public:
    GisFeatureSink(GDALDataset& dataset, const DxfSettings& settings,
                   const OGRSpatialReference* srs, bool combined, std::vector<std::string> options);
    ~GisFeatureSink() override;

    void BeginEntities(const PaperToWorld& world) override;
    void EndEntities() override;
    void PolylineStart(const DxfPen& pen, const double from[3], const double to[3]) override;
    void PolylineVertex(const DxfPen& pen, const double at[3]) override;
    void PolylineEnd(const DxfPen& pen) override;
    void Line(const DxfPen& pen, const double from[3], const double to[3]) override;
    void Text(const DxfPen& pen, const double at[3], float height, double rotation,
              std::string_view text) override;
    void Circle(const DxfPen& pen, const double centre[3], double radius) override;
    void Symbol(const DxfPen& pen, const double at[3], int symbol, double size) override;

    enum Kind { kLines, kTexts, kSymbols, kCircles, kKinds };

  private:
    struct Target;
    class Feature;

    GDALDataset& m_dataset;
    const DxfSettings& m_settings;
    const OGRSpatialReference* m_srs;
    const bool m_combined;
    const std::vector<std::string> m_options;
    bool m_z = false;
    bool m_inTransaction = false;
    std::vector<Target> m_targets;  // one per kind, or one for all when combined
    std::vector<double> m_run;      // the open polyline's vertices, three doubles each
};

// Latin-1 bytes as UTF-8.
std::string Latin1ToUtf8(std::string_view text);
