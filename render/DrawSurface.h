#pragma once

#include <cstdint>
#include <string>

// A colour as the surface takes it: red in bits 0-7, green 8-15, blue 16-23.
using ColorRef = std::uint32_t;

inline ColorRef MakeColorRef(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return ColorRef(red) | (ColorRef(green) << 8) | (ColorRef(blue) << 16);
}

struct SurfacePoint {
    int x;
    int y;
};

// What a device font is made of. Only the fields the drawing varies; the rest (weight 400,
// default character set, TrueType precision, pitch and family 0x70) are fixed.
struct FontSpec {
    int height = 0;      // logical units
    int escapement = 0;  // tenths of a degree, counterclockwise
    std::string faceName;
};

// Indices of GetDeviceCaps.
enum DeviceCap { HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, LOGPIXELSY = 90 };

constexpr unsigned TA_BASELINE_LEFT = 24;
constexpr int BK_TRANSPARENT = 1;

// The narrow device-context interface the drawing pass speaks: an isotropic mapping, a current
// position with lines and arcs in logical units, pens and fonts made by handle, and text.
// Attached to a plot context for one pass and never owned by it. Handle 0 is the surface's
// stock object, selected until something else is; handles are never reused within a surface.
class DrawSurface {
  public:
    using Handle = int;

    virtual ~DrawSurface() = default;

    // Mapping. The surface keeps what was set; implementations extend the setters to apply it.
    virtual void SetMapModeIsotropic() { m_isotropic = true; }
    virtual void SetWindowOrg(int x, int y) { m_windowOrg = {x, y}; }
    virtual void SetWindowExt(int x, int y) { m_windowExt = {x, y}; }
    virtual void SetViewportExt(int x, int y) { m_viewportExt = {x, y}; }
    virtual void SetViewportOrg(int x, int y) { m_viewportOrg = {x, y}; }
    SurfacePoint GetWindowOrg() const { return m_windowOrg; }
    SurfacePoint GetWindowExt() const { return m_windowExt; }
    SurfacePoint GetViewportOrg() const { return m_viewportOrg; }
    SurfacePoint GetViewportExt() const { return m_viewportExt; }
    bool IsIsotropic() const { return m_isotropic; }

    // Lines from the current position; an arc neither uses nor moves it. Start and end on the
    // same radial make a full ellipse.
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual void Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd,
                     int yEnd) = 0;

    // Solid pens; width in logical units, 0 is one device pixel. Select returns the handle of
    // the pen it replaces.
    virtual Handle CreatePen(int width, ColorRef color) = 0;
    virtual Handle SelectPen(Handle pen) = 0;
    virtual void DeletePen(Handle pen) = 0;

    virtual Handle CreateFont(const FontSpec& font) = 0;
    virtual Handle SelectFont(Handle font) = 0;
    virtual void DeleteFont(Handle font) = 0;
    virtual void SetTextColor(ColorRef color) = 0;
    virtual void SetTextAlign(unsigned align) = 0;
    virtual void SetBkMode(int mode) = 0;
    virtual void ExtTextOut(int x, int y, const char* text, int length) = 0;

    virtual int GetDeviceCaps(int index) const = 0;
    // A printer or print-preview page rather than a window.
    virtual bool IsPrinting() const { return false; }

  private:
    bool m_isotropic = false;
    SurfacePoint m_windowOrg{0, 0};
    SurfacePoint m_windowExt{1, 1};
    SurfacePoint m_viewportOrg{0, 0};
    SurfacePoint m_viewportExt{1, 1};
};
