#include "gis/GisExport.h"

#include <cpl_error.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <memory>
#include <mutex>

#include "dxf/DxfExport.h"
#include "dxf/DxfExportError.h"
#include "dxf/DxfOut.h"
#include "gis/GisFeatures.h"
#include "gis/GisStore.h"
#include "gis/GisStyles.h"

namespace {
class Refusal : public std::runtime_error {
  public:
    explicit Refusal(const std::string& why) : std::runtime_error("GIS export refused: " + why) {}
};

// GDAL reports through its error handler; the export tells its own messages, so GDAL's are
// kept quiet (and read back with CPLGetLastErrorMsg) while it runs.
struct QuietGdal {
    QuietGdal() { CPLPushErrorHandler(CPLQuietErrorHandler); }
    ~QuietGdal() { CPLPopErrorHandler(); }
};

struct CloseDataset {
    void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};

GDALDriver* DriverOf(const std::string& name) {
    static std::once_flag registered;
    std::call_once(registered, [] { GDALAllRegister(); });
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(name.c_str());
    if (!driver || !driver->GetMetadataItem(GDAL_DCAP_VECTOR)) {
        throw Refusal("GDAL has no vector driver '" + name + "'");
    }
    if (!driver->GetMetadataItem(GDAL_DCAP_CREATE)) {
        throw Refusal("GDAL's driver " + name + " cannot create files");
    }
    return driver;
}

// The settings' transform, refused with the DXF export's reason.
void CheckSettings(const DxfSettings& settings) {
    try {
        CDxfOut(settings).CheckTransform();
    } catch (const DxfExportError& e) {
        std::string why = e.what();
        const std::string dxfRefusal = "DXF export refused: ";
        if (why.rfind(dxfRefusal, 0) == 0) why.erase(0, dxfRefusal.size());
        throw Refusal(why);
    }
}

bool IsGeoJson(const std::string& driver) {
    return driver == "GeoJSON" || driver == "GeoJSONSeq";
}

// GeoJSON with a coordinate system is RFC 7946's: GDAL reprojects to longitude and latitude.
// Without one the world coordinates go as they are, every digit of their doubles kept.
std::vector<std::string> LayerOptions(const std::string& driver, bool hasCrs) {
    if (!IsGeoJson(driver)) return {};
    if (hasCrs) return {"RFC7946=YES"};
    return {"SIGNIFICANT_FIGURES=17", "COORDINATE_PRECISION=17"};
}
}  // namespace

std::string GisDriverOf(const std::string& extension) {
    if (extension == "gpkg") return "GPKG";
    if (extension == "geojson") return "GeoJSON";
    return "";
}

SaveResult ExportGis(const PrimitiveList& primitives, const DxfSettings& settings,
                     const GisOptions& options, const std::string& path) {
    QuietGdal quiet;
    try {
        CheckSettings(settings);
        GDALDriver* driver = DriverOf(options.driver);
        OGRSpatialReference srs;
        const bool hasCrs = !options.crs.empty();
        if (hasCrs) {
            if (srs.SetFromUserInput(options.crs.c_str()) != OGRERR_NONE) {
                throw Refusal("unknown coordinate system '" + options.crs + "'");
            }
            srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        }
        MemoryFolder memory;
        {
            std::unique_ptr<GDALDataset, CloseDataset> dataset(
                driver->Create(memory.PathFor(path).c_str(), 0, 0, 0, GDT_Unknown, nullptr));
            if (!dataset) {
                throw GisError(std::string("cannot create the output: ") + CPLGetLastErrorMsg());
            }
            {
                GisFeatureSink sink(*dataset, settings, hasCrs ? &srs : nullptr,
                                    IsGeoJson(options.driver),
                                    LayerOptions(options.driver, hasCrs));
                DrawDxfEntities(primitives, settings, sink);
            }
            if (options.driver == "GPKG") WriteQgisStyles(*dataset);
            // Drivers write much of a file only when it closes.
            CPLErrorReset();
            dataset.reset();
            if (CPLGetLastErrorType() == CE_Failure) {
                throw GisError(std::string("cannot finish the output: ") + CPLGetLastErrorMsg());
            }
        }
        memory.StoreAt(path);
    } catch (const Refusal& e) {
        return {SaveResult::Error::kExportRefused, FileErrorCause::Other, e.what(), path};
    } catch (const GisError& e) {
        return {SaveResult::Error::kFile, FileErrorCause::Other, path + ": " + e.what(), path};
    } catch (const FileError& e) {
        return SaveResult::FromFileError(e);
    }
    return {};
}
