#include "dxf/DxfOut.h"

namespace {
// The extrusion of every TEXT and CIRCLE (see the class comment).
constexpr double kFlat[3] = {0, 0, 1};
}  // namespace

void DxfEntityWriter::BeginEntities(const PaperToWorld&) {
    m_ended = false;
    m_text.Group("  0", "SECTION");
    m_text.Group("  2", "ENTITIES");
}

void DxfEntityWriter::EndEntities() {
    m_ended = true;
    m_text.Group("  0", "ENDSEC");
    m_text.Group("  0", "EOF");
}

void DxfEntityWriter::EntityStart(const char* kind, const DxfPen& pen) {
    m_text.Group("  0", kind);
    m_text.Group("  8", m_settings.layerName[pen.index]);
    m_text.Color(m_settings.layerColor[pen.index]);
}

void DxfEntityWriter::PolylineStart(const DxfPen& pen, const double from[3], const double to[3]) {
    // A 3D polyline (flag 8) of world-coordinate vertices (flag 32).
    const std::string& layer = m_settings.layerName[pen.index];
    m_text.Group("  0", "POLYLINE");
    m_text.Group("  8", layer);
    m_text.Color(m_settings.layerColor[pen.index]);
    m_text.Group(" 66", "     1");
    m_text.Group(" 70", "     8");
    for (const double* p : {from, to}) {
        m_text.Group("  0", "VERTEX");
        m_text.Group("  8", layer);
        m_text.Group(" 70", "    32");
        m_text.Point(p);
    }
}

void DxfEntityWriter::PolylineVertex(const DxfPen& pen, const double at[3]) {
    EntityStart("VERTEX", pen);
    m_text.Group(" 70", "   32");
    m_text.Point(at);
}

void DxfEntityWriter::PolylineEnd(const DxfPen& pen) {
    EntityStart("SEQEND", pen);
}

void DxfEntityWriter::Line(const DxfPen& pen, const double from[3], const double to[3]) {
    EntityStart("LINE", pen);
    m_text.Point(from);
    m_text.EndPoint(to);
}

void DxfEntityWriter::Text(const DxfPen& pen, const double at[3], float height, double rotation,
                           std::string_view text) {
    EntityStart("TEXT", pen);
    m_text.Point(at);
    m_text.Height(height);
    m_text.Extrusion(kFlat);
    m_text.Text(text);
    m_text.Rotation(rotation);
    m_text.WidthFactor();
}

void DxfEntityWriter::Circle(const DxfPen& pen, const double centre[3], double radius) {
    EntityStart("CIRCLE", pen);
    m_text.Point(centre);
    m_text.Radius(radius);
    m_text.Extrusion(kFlat);
}
