#pragma once

#include <cstdint>
#include <string_view>

#include "plot/DxfSettings.h"
#include "world/PaperToWorld.h"

// The pen an entity is drawn with: the DXF layer's index (pen 1 to 8 is 0 to 7) and the colour
// the view draws it in.
struct DxfPen {
    int index = 0;
    std::uint8_t rgb[3] = {0, 0, 0};
};

// Receives the entities of an export in world coordinates, in the order the DXF holds them.
// The DXF writer turns them into text, the GIS export into features, so both agree vertex for
// vertex. Flush ends each operation of the drawing that may have produced entities.
class DxfEntitySink {
  public:
    virtual ~DxfEntitySink() = default;
    virtual void BeginEntities(const PaperToWorld& world) = 0;
    virtual void EndEntities() = 0;
    // A run of connected pen-down moves: its first two vertices, each further one, its end.
    virtual void PolylineStart(const DxfPen& pen, const double from[3], const double to[3]) = 0;
    virtual void PolylineVertex(const DxfPen& pen, const double at[3]) = 0;
    virtual void PolylineEnd(const DxfPen& pen) = 0;
    virtual void Line(const DxfPen& pen, const double from[3], const double to[3]) = 0;
    // height in world units; rotation in degrees counter-clockwise from east.
    virtual void Text(const DxfPen& pen, const double at[3], float height, double rotation,
                      std::string_view text) = 0;
    virtual void Circle(const DxfPen& pen, const double centre[3], double radius) = 0;
    // A special symbol's position, before its strokes arrive as lines.
    virtual void Symbol(const DxfPen&, const double[3], int, double) {}
    virtual void Flush() {}
};

// The geometry of the DXF export: follows the plotter's state through the operations of a
// drawing and hands each entity, in world coordinates, to its sink. One object serves one
// export; Begin resets the per-drawing state.
class CDxfGeometry {
  public:
    CDxfGeometry(const DxfSettings& settings, DxfEntitySink& sink)
        : m_settings(settings), m_sink(sink) {}

    // Resets the per-export state and puts the pen at the paper origin's world point; the first
    // call of an export sets up the transform (throwing DxfExportError when the settings cannot
    // make a sound file, CheckTransform) and begins the sink's entities.
    void Begin(std::int16_t param1, std::int16_t param2);
    void SetPen(std::int16_t pen);
    void SetPenRgb(std::int16_t r, std::int16_t g, std::int16_t b);
    void SetExtent(float x, float y);
    void SetPosition(float x, float y, float z);
    void SetFactor(float factor);
    // A pen code of 14 or more ends the drawing (and the sink's entities).
    void Plot(float x, float y, std::int16_t penCode);
    void WriteText(float x, float y, float height, float angle, std::int16_t length,
                   const char* text);
    void WriteNumber(float x, float y, float height, float angle, std::int16_t decimals,
                     float value);
    void WriteSymbol(float x, float y, float height, float angle, std::int16_t penAction,
                     std::int16_t symbol);
    void WriteCircle(float x, float y, float radius);
    // Closes the open polyline, if any.
    void EndPolyline();
    // Plot units to world coordinates, as the next entity will be placed.
    void TransformPoint(float x, float y);
    const double* World() const { return m_current; }

    // Throws DxfExportError when the settings define no transform or hold a layer name readers
    // refuse (DxfLayers.h); lets an export be refused before its file is created.
    void CheckTransform() const;

  private:
    // The transform of the settings; throws DxfExportError when they cannot make a sound file.
    PaperToWorld MakeTransform() const;
    void TextEntity(float height, float angle, const char* text, std::size_t length);
    // The text's rotation in degrees from a paper angle.
    double TextRotation(float angle) const;

    const DxfSettings m_settings;
    DxfEntitySink& m_sink;
    double m_plotFactor = 1.0;
    double m_current[3] = {0, 0, 0};
    double m_previous[3] = {0, 0, 0};
    double m_shiftX = 0;
    double m_shiftY = 0;
    PaperToWorld m_world{DxfSettings()};
    DxfPen m_pen;
    bool m_polylineOpen = false;
    bool m_begun = false;
};
