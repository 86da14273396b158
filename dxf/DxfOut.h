#pragma once

#include <cstdint>
#include <string>

#include "dxf/DxfGeometry.h"
#include "dxf/DxfText.h"
#include "plot/Archive.h"
#include "plot/DxfSettings.h"

// The ENTITIES section of a DXF file, entity by entity, as the geometry hands them over. TEXT
// and CIRCLE lie flat (extrusion 0, 0, 1) at their world points even on a tilted plane: many CAD
// and GIS readers ignore their extrusion and would put them far off; the 3D polylines keep the
// plane.
class DxfEntityWriter final : public DxfEntitySink {
  public:
    explicit DxfEntityWriter(const DxfSettings& settings) : m_settings(settings) {}

    void SetOutput(Archive* output) { m_archive = output; }
    void SetNumberStyle(DxfNumberStyle style) { m_text.SetStyle(style); }

    void BeginEntities(const PaperToWorld& world) override;
    void EndEntities() override;
    void PolylineStart(const DxfPen& pen, const double from[3], const double to[3]) override;
    void PolylineVertex(const DxfPen& pen, const double at[3]) override;
    void PolylineEnd(const DxfPen& pen) override;
    void Line(const DxfPen& pen, const double from[3], const double to[3]) override;
    void Text(const DxfPen& pen, const double at[3], float height, double rotation,
              std::string_view text) override;
    void Circle(const DxfPen& pen, const double centre[3], double radius) override;
    // A file gets the text in blocks of at least kBlock bytes, written straight from its buffer,
    // and whole once the entities end; a memory store, read between entities, gets each.
    void Flush() override {
        if (m_ended || m_text.Size() >= kBlock || !m_archive || !m_archive->IsFileStore()) {
            m_text.FlushTo(m_archive);
        }
    }

  private:
    // "  0\r\n<kind>\r\n  8\r\n<layer>\r\n 62\r\n<colour>\r\n", the start of most entities.
    void EntityStart(const char* kind, const DxfPen& pen);

    const DxfSettings m_settings;
    static constexpr std::size_t kBlock = 1 << 20;
    Archive* m_archive = nullptr;
    DxfText m_text;
    bool m_ended = false;
};

// The writer's entity text ahead of the geometry that drives it (bases are made in order).
struct DxfEntityWriterBase {
    DxfEntityWriter m_writer;
};

// Turns the primitive stream of a drawing into the ENTITIES section of a DXF file. One writer
// serves one export: it reads the settings (layers, colours, conversion, correspondence points)
// it was made with, and keeps the state of the export in progress, which Begin resets. Points
// arrive in plot units and are written in world coordinates (DxfTransform.cpp).
class CDxfOut : private DxfEntityWriterBase, public CDxfGeometry {
  public:
    explicit CDxfOut(const DxfSettings& settings = DxfSettings())
        : DxfEntityWriterBase{DxfEntityWriter(settings)}, CDxfGeometry(settings, m_writer) {}

    // As the geometry's Begin, writing from now on to output; the first call of an export
    // writes the section header.
    void Begin(Archive* output, std::int16_t param1, std::int16_t param2) {
        m_writer.SetOutput(output);
        CDxfGeometry::Begin(param1, param2);
    }

    // printf for every number instead of the fast route (same bytes, slower).
    void SetNumberStyle(DxfNumberStyle style) { m_writer.SetNumberStyle(style); }
};
