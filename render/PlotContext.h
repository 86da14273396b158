#pragma once

#include <cstdint>
#include <string>

#include "render/PlotMapping.h"
#include "render/StrokeFont.h"
#include "render/Truncate.h"

class DrawSurface;

constexpr int RESOLUTION = 300;      // resolution units per inch
constexpr int LOGICAL_BIAS = 31000;  // the view's lower-left corner is logical (-31000, -31000)

// The plotter state through which primitives draw, in file order: scale, origin, colour and pen
// position, the surface of the current pass, the text face, and the extents reached so far.
class CPlotContext {
  public:
    CPlotContext() = default;
    // The plotter state as a value, for a view's snapshot (which draws on no surface yet).
    CPlotContext(const CPlotContext&) = default;
    CPlotContext& operator=(const CPlotContext&) = delete;

    void SetScale(float scale) { m_scale = scale; }
    float GetScale() const { return m_scale; }
    void SetOrigin(float x, float y) {
        m_originX = x;
        m_originY = y;
    }
    // A move with pen code -3 carries the origin along by the scaled point.
    void MoveOrigin(float x, float y) {
        m_originX += static_cast<float>(static_cast<double>(m_scale) * x);
        m_originY += static_cast<float>(static_cast<double>(m_scale) * y);
    }
    float GetOriginX() const { return m_originX; }
    float GetOriginY() const { return m_originY; }
    float GetMaxX() const { return m_maxX; }
    float GetMaxY() const { return m_maxY; }
    int GetResolution() const { return m_resolution; }
    void SetDC(DrawSurface* dc);
    DrawSurface* GetDC() const { return m_pDC; }
    // The surface draws nothing that shows (DrawSurface::DrawsNothing).
    bool IsBlind() const { return m_blind; }
    void SetColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        m_red = red;
        m_green = green;
        m_blue = blue;
    }
    std::uint8_t GetRed() const { return m_red; }
    std::uint8_t GetGreen() const { return m_green; }
    std::uint8_t GetBlue() const { return m_blue; }
    // The pen (1..8) the DXF export puts the next mark on: views hide marks by it.
    int GetLayerPen() const { return m_layerPen; }
    void SetLayerPen(int pen) { m_layerPen = pen; }
    // The plot's pen in logical units; every pass starts it at the view's corner.
    float GetLastX() const { return m_lastX; }
    float GetLastY() const { return m_lastY; }
    void SetLastPoint(float x, float y) {
        m_lastX = x;
        m_lastY = y;
    }
    void ResetPen() { SetLastPoint(-LOGICAL_BIAS, -LOGICAL_BIAS); }
    // The clipboard copy draws unclipped.
    bool IsNoClip() const { return m_noClip; }
    void SetNoClip(bool noClip) { m_noClip = noClip; }
    // The face chosen by Font: "Velmaro" is the stroke font.
    const std::string& GetFaceName() const { return m_faceName; }
    void SetFaceName(const std::string& face) { m_faceName = face; }
    // Continues where another context's pass left the plotter: extents, scale, origin, colour.
    void TakePlotterState(const CPlotContext& other) {
        m_maxX = other.m_maxX;
        m_maxY = other.m_maxY;
        m_scale = other.m_scale;
        SetOrigin(other.m_originX, other.m_originY);
        SetColor(other.m_red, other.m_green, other.m_blue);
    }

    // The mapping every primitive uses, one axis at a time.
    // Absolute plot coordinate of a plot value: origin + scale x value, kept as a float.
    float AbsoluteX(float v) const { return Absolute(m_originX, v); }
    float AbsoluteY(float v) const { return Absolute(m_originY, v); }
    // Resolution units of an absolute coordinate, truncated.
    int ToResolution(float absolute) const {
        return TruncToInt(static_cast<double>(m_resolution) * absolute);
    }
    void UpdateExtents(double rx, double ry) {
        if (m_maxX < rx) m_maxX = static_cast<float>(rx);
        if (m_maxY < ry) m_maxY = static_cast<float>(ry);
    }
    // Logical coordinate of a resolution-unit value, truncated.
    static int ToLogical(int r, float offset, double divisor) {
        return TruncToInt((r - static_cast<double>(offset)) / divisor - LOGICAL_BIAS);
    }
    static bool InRange(int d) { return d > -32000 && d < 32000; }

    // Text at absolute (x, y): the stroke font for the face "Velmaro", a device font otherwise.
    void DrawString(float x, float y, float angle, const char* text, float height, int length,
                    const PlotMapping& mapping);
    void DrawStrokeText(float x, float y, float angle, const char* text, float height, int length,
                        const PlotMapping& mapping);
    void DrawDeviceText(float x, float y, float angle, const char* text, float height, int length,
                        const PlotMapping& mapping);

  private:
    // The stroke font's points scaled to one text height and turned by one angle, filled in
    // glyph by glyph as a string needs them (a string of 511 characters repeats few glyphs),
    // with each glyph's extent about its reference point. A point is at
    // (x + m_xc + m_ys, y - m_xs + m_yc) from a reference point (x, y), summed in that order.
    struct ScaledGlyphs {
        struct Box {
            double minX, maxX, minY, maxY;
            bool finite;  // every point a number: only then can the box rule a glyph out
        };
        const Box& Get(int code, float height, double c, double s);

        std::uint64_t m_ready[2] = {0, 0};  // one bit per code
        Box m_boxes[128];
        double m_xc[CStrokeFont::kPoints], m_ys[CStrokeFont::kPoints];
        double m_xs[CStrokeFont::kPoints], m_yc[CStrokeFont::kPoints];
    };
    // True when no point of a glyph with box at (x, y) can be drawn or raise the extents.
    bool LandsNowhere(const ScaledGlyphs::Box& box, float x, float y,
                      const PlotMapping& mapping) const;

    float Absolute(float origin, float v) const {
        return static_cast<float>(origin + static_cast<double>(m_scale) * v);
    }

    float m_scale = 1.0f;
    float m_originX = 0;
    float m_originY = 0;
    float m_maxX = 0;
    float m_maxY = 0;
    int m_resolution = RESOLUTION;
    DrawSurface* m_pDC = nullptr;
    bool m_blind = false;
    std::uint8_t m_red = 0;
    std::uint8_t m_green = 0;
    std::uint8_t m_blue = 0;
    int m_layerPen = 1;
    float m_lastX = -LOGICAL_BIAS;
    float m_lastY = -LOGICAL_BIAS;
    bool m_noClip = false;
    std::string m_faceName = "Velmaro";
};
