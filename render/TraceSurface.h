#pragma once

#include <functional>
#include <string>
#include <vector>

#include "render/DrawSurface.h"

// One recorded surface call. The meaning of v[] follows the operation (see TraceSurface).
struct TraceCall {
    enum Op {
        MapModeIsotropic,
        WindowOrg,    // x, y
        WindowExt,    // x, y
        ViewportExt,  // x, y
        ViewportOrg,  // x, y
        MoveTo,       // x, y
        LineTo,       // x, y
        Arc,          // left, top, right, bottom, xStart, yStart, xEnd, yEnd
        CreatePen,    // handle, width, colour
        SelectPen,    // handle, red, green, blue, width (of the pen selected; 0 for stock)
        DeletePen,    // handle
        CreateFont,   // handle, height, escapement; text = face
        SelectFont,   // handle
        DeleteFont,   // handle
        TextColor,    // colour
        TextAlign,    // alignment
        BkMode,       // mode
        TextOut,      // x, y, height, escapement of the selected font; text = the bytes
    };
    Op op;
    int v[8];
    std::string text;
};

// The lines `korvane-cli trace` prints for a sequence of calls, made as the calls come: the
// mapping as "window" and "viewport" lines, each pen selected other than the first one made (the
// pass's spare pen), moves, lines, arcs and text.
class TraceText {
  public:
    void Add(const TraceCall& call);
    // Writes the mapping lines still pending; call once after the last Add.
    void Finish();
    std::string& Text() { return m_out; }

  private:
    void FlushMapping(TraceCall::Op next);

    std::string m_out;
    SurfacePoint m_windowOrg{0, 0}, m_windowExt{1, 1}, m_viewportOrg{0, 0}, m_viewportExt{1, 1};
    // A window or viewport line stands for the whole of a run of settings of that pair, in
    // whatever order they were made, and is written once the run ends.
    bool m_windowPending = false, m_viewportPending = false;
    int m_sparePen = 0;
};

// A surface that draws nothing and records every call in order, for tests; or, streaming, hands
// the trace text on in pieces as it goes, so a pass of any size needs little memory. It answers
// LOGPIXELSY with 96 and a letter-size page otherwise.
class TraceSurface : public DrawSurface {
  public:
    explicit TraceSurface(bool printing = false) : m_printing(printing) {}

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd,
             int yEnd) override;
    void SetTextColor(ColorRef color) override;
    void SetTextAlign(unsigned align) override;
    void SetBkMode(int mode) override;
    void ExtTextOut(int x, int y, const char* text, int length) override;
    int GetDeviceCaps(int index) const override;
    bool IsPrinting() const override { return m_printing; }

    const std::vector<TraceCall>& Calls() const { return m_calls; }
    // The recorded calls as `korvane-cli trace` prints them (see TraceText).
    std::string Text() const;

    // From now on the calls are not recorded: their text goes to sink in pieces of some tens of
    // kilobytes. EndStream hands over the rest.
    void StreamTo(std::function<void(const std::string&)> sink) { m_sink = std::move(sink); }
    void EndStream();

  protected:
    void OnMappingChanged(Mapping which) override;
    void OnHandleCall(HandleCall call, Handle handle) override;

  private:
    void Add(TraceCall::Op op, std::initializer_list<int> values, std::string text = {});

    bool m_printing;
    std::vector<TraceCall> m_calls;
    std::function<void(const std::string&)> m_sink;
    TraceText m_stream;
};
