#include "gis/GisStyles.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <string>

#include "gis/GisFeatures.h"

namespace {
// QGIS's data-defined property: a field, or an expression.
std::string Property(const char* name, const char* field, const char* expression = nullptr) {
    return std::string("<Option type=\"Map\" name=\"") + name +
           "\"><Option type=\"bool\" name=\"active\" value=\"true\"/>" +
           (expression ? std::string("<Option type=\"QString\" name=\"expression\" value=\"") +
                             expression + "\"/><Option type=\"int\" name=\"type\" value=\"3\"/>"
                       : std::string("<Option type=\"QString\" name=\"field\" value=\"") + field +
                             "\"/><Option type=\"int\" name=\"type\" value=\"2\"/>") +
           "</Option>";
}

std::string Properties(const std::string& inner) {
    return "<data_defined_properties><Option type=\"Map\"><Option type=\"QString\" name=\"name\" "
           "value=\"\"/><Option type=\"Map\" name=\"properties\">" +
           inner +
           "</Option><Option type=\"QString\" name=\"type\" value=\"collection\"/></Option>"
           "</data_defined_properties>";
}

std::string Option(const char* name, const char* value) {
    return std::string("<Option type=\"QString\" name=\"") + name + "\" value=\"" + value + "\"/>";
}

std::string SingleSymbol(const char* type, const char* layerClass, const std::string& options,
                         const std::string& properties) {
    return std::string(
               "<renderer-v2 type=\"singleSymbol\" symbollevels=\"0\"><symbols>"
               "<symbol type=\"") +
           type + "\" name=\"0\" alpha=\"1\" clip_to_extent=\"1\"><layer class=\"" + layerClass +
           "\" enabled=\"1\" locked=\"0\" pass=\"0\"><Option type=\"Map\">" + options +
           "</Option>" + Properties(properties) + "</layer></symbol></symbols></renderer-v2>";
}

const char kNothing[] = "<renderer-v2 type=\"nullSymbol\"/>";

// Labels in map units at the DXF TEXT's insertion point (its lower left), turned as it is:
// QGIS turns labels clockwise, the angle field counts counter-clockwise.
const char kLabels[] =
    "<labeling type=\"simple\"><settings><text-style fieldName=\"text\" isExpression=\"0\" "
    "fontSize=\"1\" fontSizeUnit=\"MapUnit\" textColor=\"0,0,0,255\"/><placement "
    "placement=\"1\" quadOffset=\"2\" dist=\"0\" offsetType=\"0\"/><rendering drawLabels=\"1\" "
    "obstacle=\"0\" displayAll=\"1\" upsidedownLabels=\"2\"/>";

std::string StyleOf(int kind) {
    std::string body;
    switch (kind) {
        case GisFeatureSink::kLines:
            body = SingleSymbol("line", "SimpleLine",
                                Option("line_color", "0,0,0,255") + Option("line_width", "0.26"),
                                Property("outlineColor", "color"));
            break;
        case GisFeatureSink::kTexts:
            body = std::string(kNothing) + kLabels +
                   Properties(Property("Size", "height") +
                              Property("LabelRotation", nullptr, "-&quot;angle&quot;") +
                              Property("Color", "color")) +
                   "</settings></labeling>";
            break;
        case GisFeatureSink::kCircles:
            body = SingleSymbol("marker", "SimpleMarker",
                                Option("name", "circle") + Option("color", "0,0,0,0") +
                                    Option("outline_color", "0,0,0,255") +
                                    Option("size_unit", "MapUnit"),
                                Property("outlineColor", "color") +
                                    Property("size", nullptr, "2 * &quot;radius&quot;"));
            break;
        default:
            body = kNothing;
    }
    return "<!DOCTYPE qgis PUBLIC 'http://mrcc.com/qgis.dtd' 'SYSTEM'><qgis version=\"3.22\" "
           "styleCategories=\"Symbology|Labeling\">" +
           body + "</qgis>";
}
}  // namespace

void WriteQgisStyles(GDALDataset& dataset) {
    OGRLayer* styles = dataset.CreateLayer("layer_styles", nullptr, wkbNone, nullptr);
    if (!styles) throw GisError("cannot create the layer styles");
    const struct {
        const char* name;
        OGRFieldType type;
    } fields[] = {{"f_table_catalog", OFTString},
                  {"f_table_schema", OFTString},
                  {"f_table_name", OFTString},
                  {"f_geometry_column", OFTString},
                  {"styleName", OFTString},
                  {"styleQML", OFTString},
                  {"styleSLD", OFTString},
                  {"useAsDefault", OFTInteger},
                  {"description", OFTString},
                  {"owner", OFTString},
                  {"ui", OFTString}};
    for (const auto& f : fields) {
        OGRFieldDefn field(f.name, f.type);
        if (f.type == OFTInteger) field.SetSubType(OFSTBoolean);
        if (styles->CreateField(&field) != OGRERR_NONE) throw GisError("cannot add a field");
    }
    const char* const kinds[] = {"lines", "texts", "symbols", "circles"};
    for (int k = 0; k < GisFeatureSink::kKinds; ++k) {
        OGRLayer* layer = dataset.GetLayerByName(kinds[k]);
        OGRFeature style(styles->GetLayerDefn());
        style.SetField("f_table_catalog", "");
        style.SetField("f_table_schema", "");
        style.SetField("f_table_name", kinds[k]);
        style.SetField("f_geometry_column", layer ? layer->GetGeometryColumn() : "geom");
        style.SetField("styleName", kinds[k]);
        style.SetField("styleQML", StyleOf(k).c_str());
        style.SetField("styleSLD", "");
        style.SetField("useAsDefault", 1);
        style.SetField("description", "as the plot draws it");
        style.SetField("owner", "");
        style.SetField("ui", "");
        if (styles->CreateFeature(&style) != OGRERR_NONE) throw GisError("cannot write a style");
    }
}
