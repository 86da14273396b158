// The GIS export read back with GDAL's own reader: layers, fields, CRS, and the very entities
// and vertices the DXF export writes.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <tuple>
#include <vector>

#include "dxf/DxfExport.h"
#include "dxf/DxfGeometry.h"
#include "gis/GisExport.h"
#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"
#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

namespace {
// What the DXF writer is handed, per layer of the GIS export: pen and vertices of each entity.
struct Entity {
    int pen;
    std::vector<double> xyz;
};
struct Recorded final : DxfEntitySink {
    std::vector<Entity> kinds[4];  // lines, texts, symbols, circles
    void BeginEntities(const PaperToWorld&) override {}
    void EndEntities() override {}
    void PolylineStart(const DxfPen& p, const double a[3], const double b[3]) override {
        kinds[0].push_back({p.index + 1, {a[0], a[1], a[2], b[0], b[1], b[2]}});
    }
    void PolylineVertex(const DxfPen&, const double a[3]) override {
        kinds[0].back().xyz.insert(kinds[0].back().xyz.end(), a, a + 3);
    }
    void PolylineEnd(const DxfPen&) override {}
    void Line(const DxfPen& p, const double a[3], const double b[3]) override {
        kinds[0].push_back({p.index + 1, {a[0], a[1], a[2], b[0], b[1], b[2]}});
    }
    void Text(const DxfPen& p, const double a[3], float, double, std::string_view) override {
        kinds[1].push_back({p.index + 1, {a[0], a[1], a[2]}});
    }
    void Symbol(const DxfPen& p, const double a[3], int, double) override {
        kinds[2].push_back({p.index + 1, {a[0], a[1], a[2]}});
    }
    void Circle(const DxfPen& p, const double a[3], double) override {
        kinds[3].push_back({p.index + 1, {a[0], a[1], a[2]}});
    }
};

const char* const kLayers[] = {"lines", "texts", "symbols", "circles"};

std::size_t CountOf(const std::string& text, const std::string& entity) {
    std::size_t n = 0;
    const std::string code = "  0\r\n" + entity + "\r\n";
    for (std::size_t at = text.find(code); at != std::string::npos; at = text.find(code, at + 1))
        ++n;
    return n;
}

DxfSettings Scaled() {
    DxfSettings s;
    s.conversionIndex = 1;
    s.originalScale = 1000;
    s.easting[0] = 500000;
    s.northing[0] = 5000000;
    return s;
}

// Three corners on a tilted plane, layers named apart from the pens.
DxfSettings Tilted() {
    DxfSettings s = Scaled();
    const double e[] = {500000, 500100, 500100}, n[] = {5000000, 5000000, 5000080};
    const double h[] = {10, 12, 15}, x[] = {1, 31, 31}, y[] = {1, 1, 21};
    for (int k = 0; k < 3; ++k) {
        s.easting[k] = e[k];
        s.northing[k] = n[k];
        s.elevation[k] = h[k];
        s.paperX[k] = x[k];
        s.paperY[k] = y[k];
    }
    for (int i = 0; i < 8; ++i) s.layerName[i] = "Pen " + std::to_string(i + 1);
    return s;
}

struct Case {
    const char* sample;
    const char* driver;
    const char* file;
    DxfSettings settings;
    const char* crs;
    bool tilted;
};
}  // namespace

TEST(GisExport, FeaturesAreTheDxfEntitiesVertexForVertex) {
    const Case cases[] = {
        {"site-plan", "GPKG", "a.gpkg", DxfSettings(), "", false},
        {"contours", "GPKG", "a.gpkg", Scaled(), "EPSG:32633", false},
        {"traverse", "GPKG", "a.gpkg", Tilted(), "EPSG:2263", true},
        {"site-plan", "GeoJSON", "a.geojson", Scaled(), "", false},
        {"traverse", "FlatGeobuf", "out", Tilted(), "EPSG:2263", true},
    };
    GDALAllRegister();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.sample) + " " + c.driver);
        RecordingFeedback feedback;
        CKorvaneDoc doc(feedback);
        std::ifstream plot(std::string(KORVANE_SOURCE_DIR) + "/samples/" + c.sample + ".plt",
                           std::ios::binary);
        std::stringstream bytes;
        bytes << plot.rdbuf();
        const std::string data = bytes.str();
        Archive in = Archive::FromMemory(data.data(), data.size());
        doc.Serialize(in);

        Recorded recorded;
        DrawDxfEntities(doc.Primitives(), c.settings, recorded);
        Archive dxf = Archive::ToMemory();
        WriteDxf(doc.Primitives(), c.settings, dxf);
        EXPECT_EQ(recorded.kinds[0].size(),
                  CountOf(dxf.Memory(), "POLYLINE") + CountOf(dxf.Memory(), "LINE"));
        EXPECT_EQ(recorded.kinds[1].size(), CountOf(dxf.Memory(), "TEXT"));
        EXPECT_EQ(recorded.kinds[3].size(), CountOf(dxf.Memory(), "CIRCLE"));

        TempFolder folder;
        const std::string path = folder.Path(c.file);
        ASSERT_TRUE(ExportGis(doc.Primitives(), c.settings, {c.driver, c.crs}, path).Ok());
        const bool combined = std::string(c.driver) == "GeoJSON";
        if (std::string(c.driver) == "GPKG") {
            // A default QGIS style per layer, in the table QGIS reads.
            GDALDatasetUniquePtr ds(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
            OGRLayer* styles = ds ? ds->GetLayerByName("layer_styles") : nullptr;
            ASSERT_TRUE(styles);
            int k = 0;
            for (const auto& style : *styles) {
                EXPECT_STREQ(style->GetFieldAsString("f_table_name"), kLayers[k++]);
                EXPECT_EQ(style->GetFieldAsInteger("useAsDefault"), 1);
            }
            EXPECT_EQ(k, 4);
        }
        for (int k = 0; k < 4; ++k) {
            const std::string file =
                std::string(c.driver) == "FlatGeobuf" ? path + "/" + kLayers[k] + ".fgb" : path;
            GDALDatasetUniquePtr ds(GDALDataset::Open(file.c_str(), GDAL_OF_VECTOR));
            ASSERT_TRUE(ds) << file;
            OGRLayer* layer = combined ? ds->GetLayer(0) : ds->GetLayerByName(kLayers[k]);
            ASSERT_TRUE(layer) << kLayers[k];
            if (*c.crs) {
                ASSERT_TRUE(layer->GetSpatialRef());
                EXPECT_EQ(std::string("EPSG:") + layer->GetSpatialRef()->GetAuthorityCode(nullptr),
                          c.crs);
            }
            if (combined)
                layer->SetAttributeFilter(("kind = '" + std::string(kLayers[k]) + "'").c_str());
            std::vector<Entity> expected = recorded.kinds[k], read;
            for (const auto& feature : *layer) {
                const OGRGeometry* g = feature->GetGeometryRef();
                EXPECT_EQ(g->Is3D(), c.tilted);
                read.push_back({feature->GetFieldAsInteger("pen"), {}});
                const auto add = [&](const OGRPoint& p) {
                    read.back().xyz.insert(read.back().xyz.end(), {p.getX(), p.getY(), p.getZ()});
                };
                if (k == 0) {
                    for (const OGRPoint& p : *g->toLineString()) add(p);
                } else {
                    add(*g->toPoint());
                }
            }
            // A spatial index orders FlatGeobuf's features by place.
            if (std::string(c.driver) == "FlatGeobuf") {
                const auto order = [](const Entity& a, const Entity& b) {
                    return std::tie(a.xyz, a.pen) < std::tie(b.xyz, b.pen);
                };
                std::sort(expected.begin(), expected.end(), order);
                std::sort(read.begin(), read.end(), order);
            }
            ASSERT_EQ(read.size(), expected.size()) << kLayers[k];
            for (std::size_t i = 0; i < read.size(); ++i) {
                ASSERT_EQ(read[i].pen, expected[i].pen) << kLayers[k] << " feature " << i;
                ASSERT_EQ(read[i].xyz, expected[i].xyz) << kLayers[k] << " feature " << i;
            }
        }
    }
}
