#pragma once

#include <cstdint>
#include <string>

#include "dxf/DxfText.h"
#include "plot/DxfSettings.h"
#include "world/PaperToWorld.h"

class Archive;

// Turns the primitive stream of a drawing into the ENTITIES section of a DXF file. One writer
// serves one export: it reads the settings (layers, colours, conversion, correspondence points)
// it was made with, and keeps the state of the export in progress, which Begin resets. Points
// arrive in plot units and are written in world coordinates (DxfTransform.cpp). TEXT and CIRCLE
// lie flat (extrusion 0, 0, 1) at their world points even on a tilted plane: many CAD and GIS
// readers ignore their extrusion and would put them far off; the 3D polylines keep the plane.
class CDxfOut {
  public:
    explicit CDxfOut(const DxfSettings& settings = DxfSettings()) : m_settings(settings) {}

    // Resets the per-export state and puts the pen at the paper origin's world point; the first
    // call of an export writes the section header and sets up the transform, throwing
    // DxfExportError when the settings cannot make a sound file (CheckTransform).
    void Begin(Archive* output, std::int16_t param1, std::int16_t param2);
    void SetPen(std::int16_t pen);
    void SetPenRgb(std::int16_t r, std::int16_t g, std::int16_t b);
    void SetExtent(float x, float y);
    void SetPosition(float x, float y, float z);
    void SetFactor(float factor);
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

    // printf for every number instead of the fast route (same bytes, slower).
    void SetNumberStyle(DxfNumberStyle style) { m_text.SetStyle(style); }

  private:
    // The transform of the settings; throws DxfExportError when they cannot make a sound file.
    PaperToWorld MakeTransform() const;

    const std::string& Layer() const { return m_settings.layerName[m_penIndex]; }
    // "  0\r\n<kind>\r\n  8\r\n<layer>\r\n 62\r\n<colour>\r\n", the start of most entities.
    void EntityStart(const char* kind);
    void Line(const double from[3], const double to[3]);
    void TextEntity(float height, float angle, const char* text, std::size_t length);
    // Group 50 of a text at angle (degrees on paper).
    double TextRotation(float angle) const;
    void Flush() { m_text.FlushTo(m_archive); }

    const DxfSettings m_settings;
    Archive* m_archive = nullptr;
    double m_plotFactor = 1.0;
    double m_current[3] = {0, 0, 0};
    double m_previous[3] = {0, 0, 0};
    double m_shiftX = 0;
    double m_shiftY = 0;
    PaperToWorld m_world{DxfSettings()};
    int m_penIndex = 0;
    bool m_polylineOpen = false;
    bool m_headerWritten = false;
    DxfText m_text;
};
