#include "gis/GisFeatures.h"

#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <cstdio>
#include <memory>

namespace {
const char* const kKindNames[] = {"lines", "texts", "symbols", "circles"};

struct FieldSpec {
    const char* name;
    OGRFieldType type;
    int kind;  // the kind the field belongs to, or -1 for every kind
};
// In the order the layers list them; a combined layer holds them all after "kind".
const FieldSpec kFields[] = {
    {"pen", OFTInteger, -1},
    {"layer", OFTString, -1},
    {"color", OFTString, -1},
    {"text", OFTString, GisFeatureSink::kTexts},
    {"height", OFTReal, GisFeatureSink::kTexts},
    {"angle", OFTReal, GisFeatureSink::kTexts},
    {"symbol", OFTInteger, GisFeatureSink::kSymbols},
    {"size", OFTReal, GisFeatureSink::kSymbols},
    {"radius", OFTReal, GisFeatureSink::kCircles},
};
enum Field { kPen, kLayer, kColor, kText, kHeight, kAngle, kSymbol, kSize, kRadius, kFieldCount };

[[noreturn]] void ThrowGdal(const char* what) {
    const char* why = CPLGetLastErrorMsg();
    throw GisError(std::string(what) + (why && *why ? std::string(": ") + why : std::string()));
}
}  // namespace

std::string Latin1ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

struct GisFeatureSink::Target {
    OGRLayer* layer = nullptr;
    int kindField = -1;
    int fields[kFieldCount] = {};
};

GisFeatureSink::GisFeatureSink(GDALDataset& dataset, const DxfSettings& settings,
                               const OGRSpatialReference* srs, bool combined,
                               std::vector<std::string> options)
    : m_dataset(dataset),
      m_settings(settings),
      m_srs(srs),
      m_combined(combined),
      m_options(std::move(options)) {}

GisFeatureSink::~GisFeatureSink() {
    if (m_inTransaction) m_dataset.RollbackTransaction();
}

void GisFeatureSink::BeginEntities(const PaperToWorld& world) {
    m_z = world.IsTilted();
    CPLStringList options;
    for (const std::string& o : m_options) options.AddString(o.c_str());
    const int layers = m_combined ? 1 : kKinds;
    m_targets.resize(static_cast<std::size_t>(layers));
    for (int k = 0; k < layers; ++k) {
        Target& target = m_targets[static_cast<std::size_t>(k)];
        const OGRwkbGeometryType type = m_combined    ? wkbUnknown
                                        : k == kLines ? wkbLineString
                                                      : wkbPoint;
        // GDAL 3.6 takes the reference without const; it only reads it.
        target.layer = m_dataset.CreateLayer(m_combined ? "drawing" : kKindNames[k],
                                             const_cast<OGRSpatialReference*>(m_srs),
                                             m_z ? OGR_GT_SetZ(type) : type, options.List());
        if (!target.layer) ThrowGdal("cannot create a layer");
        auto add = [&](const char* name, OGRFieldType fieldType) {
            OGRFieldDefn field(name, fieldType);
            if (target.layer->CreateField(&field) != OGRERR_NONE) ThrowGdal("cannot add a field");
            return target.layer->GetLayerDefn()->GetFieldIndex(name);
        };
        if (m_combined) target.kindField = add("kind", OFTString);
        for (int f = 0; f < kFieldCount; ++f) {
            const FieldSpec& field = kFields[f];
            target.fields[f] =
                m_combined || field.kind < 0 || field.kind == k ? add(field.name, field.type) : -1;
        }
    }
    m_inTransaction = m_dataset.StartTransaction() == OGRERR_NONE;
}

void GisFeatureSink::EndEntities() {
    if (m_inTransaction) {
        m_inTransaction = false;
        if (m_dataset.CommitTransaction() != OGRERR_NONE) ThrowGdal("cannot write the features");
    }
}

// One feature on its way into its layer: the pen's fields set, then those of its kind.
class GisFeatureSink::Feature {
  public:
    Feature(const GisFeatureSink& sink, int kind, const DxfPen& pen)
        : m_target(sink.m_targets[sink.m_combined ? 0 : static_cast<std::size_t>(kind)]),
          m_feature(m_target.layer->GetLayerDefn()) {
        if (m_target.kindField >= 0) m_feature.SetField(m_target.kindField, kKindNames[kind]);
        char color[8];
        std::snprintf(color, sizeof color, "#%02X%02X%02X", pen.rgb[0], pen.rgb[1], pen.rgb[2]);
        m_feature.SetField(m_target.fields[kPen], pen.index + 1);
        m_feature.SetField(m_target.fields[kLayer], sink.m_settings.layerName[pen.index].c_str());
        m_feature.SetField(m_target.fields[kColor], color);
    }
    void Set(Field field, double value) { m_feature.SetField(m_target.fields[field], value); }
    void Set(Field field, int value) { m_feature.SetField(m_target.fields[field], value); }
    void Set(Field field, const char* value) { m_feature.SetField(m_target.fields[field], value); }
    void Geometry(OGRGeometry* geometry) { m_feature.SetGeometryDirectly(geometry); }
    void Store() {
        if (m_target.layer->CreateFeature(&m_feature) != OGRERR_NONE) {
            ThrowGdal("cannot write a feature");
        }
    }

  private:
    const Target& m_target;
    OGRFeature m_feature;
};

namespace {
OGRPoint* MakePoint(const double p[3], bool z) {
    return z ? new OGRPoint(p[0], p[1], p[2]) : new OGRPoint(p[0], p[1]);
}

OGRLineString* MakeLine(const double* points, std::size_t count, bool z) {
    auto line = std::make_unique<OGRLineString>();
    line->setNumPoints(static_cast<int>(count), FALSE);
    for (std::size_t i = 0; i < count; ++i) {
        const double* p = points + 3 * i;
        if (z) {
            line->setPoint(static_cast<int>(i), p[0], p[1], p[2]);
        } else {
            line->setPoint(static_cast<int>(i), p[0], p[1]);
        }
    }
    if (!z) line->flattenTo2D();
    return line.release();
}
}  // namespace

void GisFeatureSink::PolylineStart(const DxfPen&, const double from[3], const double to[3]) {
    m_run.assign(from, from + 3);
    m_run.insert(m_run.end(), to, to + 3);
}

void GisFeatureSink::PolylineVertex(const DxfPen&, const double at[3]) {
    m_run.insert(m_run.end(), at, at + 3);
}

void GisFeatureSink::PolylineEnd(const DxfPen& pen) {
    Feature feature(*this, kLines, pen);
    feature.Geometry(MakeLine(m_run.data(), m_run.size() / 3, m_z));
    feature.Store();
    m_run.clear();
}

void GisFeatureSink::Line(const DxfPen& pen, const double from[3], const double to[3]) {
    const double points[6] = {from[0], from[1], from[2], to[0], to[1], to[2]};
    Feature feature(*this, kLines, pen);
    feature.Geometry(MakeLine(points, 2, m_z));
    feature.Store();
}

void GisFeatureSink::Text(const DxfPen& pen, const double at[3], float height, double rotation,
                          std::string_view text) {
    Feature feature(*this, kTexts, pen);
    feature.Set(kText, Latin1ToUtf8(text).c_str());
    feature.Set(kHeight, static_cast<double>(height));
    feature.Set(kAngle, rotation);
    feature.Geometry(MakePoint(at, m_z));
    feature.Store();
}

void GisFeatureSink::Circle(const DxfPen& pen, const double centre[3], double radius) {
    Feature feature(*this, kCircles, pen);
    feature.Set(kRadius, radius);
    feature.Geometry(MakePoint(centre, m_z));
    feature.Store();
}

void GisFeatureSink::Symbol(const DxfPen& pen, const double at[3], int symbol, double size) {
    Feature feature(*this, kSymbols, pen);
    feature.Set(kSymbol, symbol);
    feature.Set(kSize, size);
    feature.Geometry(MakePoint(at, m_z));
    feature.Store();
}
