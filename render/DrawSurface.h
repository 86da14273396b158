#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A colour as the surface takes it: red in bits 0-7, green 8-15, blue 16-23.
using ColorRef = std::uint32_t;

inline ColorRef MakeColorRef(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return ColorRef(red) | (ColorRef(green) << 8) | (ColorRef(blue) << 16);
}

struct SurfacePoint {
    int x;
    int y;
};

// A solid pen as the drawing asks for it.
struct PenRequest {
    int width = 0;  // logical units; 0 (or less) is one device pixel
    ColorRef color = 0;
};

// A device font as the drawing asks for it. Only the fields the drawing varies; the rest
// (weight 400, default character set, TrueType precision, pitch and family 0x70) are fixed.
struct DeviceFontRequest {
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
// Attached to a plot context for one pass and never owned by it.
//
// The surface itself keeps the mapping and the pens and fonts made on it; an implementation
// learns of changes through the protected hooks. Handle 0 is the stock pen or font, selected
// until something else is; handles count up from 1, pens and fonts separately, and are never
// reused within a surface.
class DrawSurface {
  public:
    using Handle = int;

    virtual ~DrawSurface() = default;

    // Mapping.
    void SetMapModeIsotropic() { SetMapping(Mapping::Isotropic, m_isotropic, true); }
    void SetWindowOrg(int x, int y) { SetMapping(Mapping::WindowOrg, m_windowOrg, {x, y}); }
    void SetWindowExt(int x, int y) { SetMapping(Mapping::WindowExt, m_windowExt, {x, y}); }
    void SetViewportExt(int x, int y) { SetMapping(Mapping::ViewportExt, m_viewportExt, {x, y}); }
    void SetViewportOrg(int x, int y) { SetMapping(Mapping::ViewportOrg, m_viewportOrg, {x, y}); }
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

    // Solid pens. Select returns the handle of the pen it replaces. A deleted pen is gone:
    // drawing with it selected draws with the stock pen.
    Handle CreatePen(int width, ColorRef color);
    Handle SelectPen(Handle pen);
    void DeletePen(Handle pen);

    Handle CreateFont(const DeviceFontRequest& font);
    Handle SelectFont(Handle font);
    void DeleteFont(Handle font);

    virtual void SetTextColor(ColorRef color) = 0;
    virtual void SetTextAlign(unsigned align) = 0;
    virtual void SetBkMode(int mode) = 0;
    virtual void ExtTextOut(int x, int y, const char* text, int length) = 0;

    virtual int GetDeviceCaps(int index) const = 0;
    // HORZSIZE or VERTSIZE unrounded: a printer's page in whole millimetres would make a 1:1
    // print up to half a percent too large or small.
    virtual double GetPageMillimetres(int index) const { return GetDeviceCaps(index); }
    // A printer or print-preview page rather than a window.
    virtual bool IsPrinting() const { return false; }
    // Nothing drawn shows anywhere: a pass onto it only measures the drawing and moves the
    // plotter, so the drawing may leave out whatever can change neither.
    virtual bool DrawsNothing() const { return false; }

  protected:
    enum class Mapping { Isotropic, WindowOrg, WindowExt, ViewportExt, ViewportOrg };
    enum class HandleCall { CreatePen, SelectPen, DeletePen, CreateFont, SelectFont, DeleteFont };

    // Called after a mapping setter has stored its values.
    virtual void OnMappingChanged(Mapping) {}
    // Called after a pen or font call has taken effect, with the handle it was given or made.
    virtual void OnHandleCall(HandleCall, Handle) {}

    // The pen or font a handle stands for; null for the stock one, a deleted one and a handle
    // never made.
    const PenRequest* PenOf(Handle pen) const { return Find(m_pens, pen); }
    const DeviceFontRequest* FontOf(Handle font) const { return Find(m_fonts, font); }
    Handle SelectedPen() const { return m_pens.selected; }
    Handle SelectedFont() const { return m_fonts.selected; }

  private:
    // The live objects of one kind. Only a few live at a time (a pass keeps two pens), so a
    // short list searched from the end serves better than a map.
    template <class Request>
    struct Table {
        std::vector<std::pair<Handle, Request>> live;
        Handle last = 0;
        Handle selected = 0;
    };
    template <class Request>
    static const Request* Find(const Table<Request>& table, Handle handle) {
        for (auto it = table.live.rbegin(); it != table.live.rend(); ++it) {
            if (it->first == handle) return &it->second;
        }
        return nullptr;
    }
    template <class Request>
    Handle Make(Table<Request>& table, const Request& request, HandleCall call) {
        table.live.push_back({++table.last, request});
        OnHandleCall(call, table.last);
        return table.last;
    }
    template <class Request>
    Handle Select(Table<Request>& table, Handle handle, HandleCall call) {
        const Handle old = table.selected;
        table.selected = handle;
        OnHandleCall(call, handle);
        return old;
    }
    template <class Request>
    void Delete(Table<Request>& table, Handle handle, HandleCall call) {
        for (auto it = table.live.begin(); it != table.live.end(); ++it) {
            if (it->first == handle) {
                table.live.erase(it);
                break;
            }
        }
        OnHandleCall(call, handle);
    }
    template <class Value>
    void SetMapping(Mapping which, Value& field, Value value) {
        field = value;
        OnMappingChanged(which);
    }

    bool m_isotropic = false;
    SurfacePoint m_windowOrg{0, 0};
    SurfacePoint m_windowExt{1, 1};
    SurfacePoint m_viewportOrg{0, 0};
    SurfacePoint m_viewportExt{1, 1};
    Table<PenRequest> m_pens;
    Table<DeviceFontRequest> m_fonts;
};

inline DrawSurface::Handle DrawSurface::CreatePen(int width, ColorRef color) {
    return Make(m_pens, PenRequest{width, color}, HandleCall::CreatePen);
}
inline DrawSurface::Handle DrawSurface::SelectPen(Handle pen) {
    return Select(m_pens, pen, HandleCall::SelectPen);
}
inline void DrawSurface::DeletePen(Handle pen) {
    Delete(m_pens, pen, HandleCall::DeletePen);
}
inline DrawSurface::Handle DrawSurface::CreateFont(const DeviceFontRequest& font) {
    return Make(m_fonts, font, HandleCall::CreateFont);
}
inline DrawSurface::Handle DrawSurface::SelectFont(Handle font) {
    return Select(m_fonts, font, HandleCall::SelectFont);
}
inline void DrawSurface::DeleteFont(Handle font) {
    Delete(m_fonts, font, HandleCall::DeleteFont);
}
