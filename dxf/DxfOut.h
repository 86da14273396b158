#pragma once

#include <cstdint>

class Archive;

// Turns the primitive stream of a drawing into DXF entities. Placeholder operations: they
// accept every call and write nothing yet.
class CDxfOut {
public:
    virtual ~CDxfOut() = default;

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
    void EndPolyline();

    bool m_polylineOpen = false;
};
