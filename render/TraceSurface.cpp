#include "render/TraceSurface.h"

#include <cstdio>

void TraceSurface::Add(TraceCall::Op op, std::initializer_list<int> values, std::string text) {
    TraceCall call{op, {0, 0, 0, 0, 0, 0, 0, 0}, std::move(text)};
    int i = 0;
    for (int v : values) call.v[i++] = v;
    if (!m_sink) {
        m_calls.push_back(std::move(call));
        return;
    }
    m_stream.Add(call);
    if (m_stream.Text().size() >= 64 * 1024) {
        m_sink(m_stream.Text());
        m_stream.Text().clear();
    }
}

void TraceSurface::EndStream() {
    if (!m_sink) return;
    m_stream.Finish();
    m_sink(m_stream.Text());
    m_stream.Text().clear();
}

void TraceSurface::SetMapModeIsotropic() {
    DrawSurface::SetMapModeIsotropic();
    Add(TraceCall::MapModeIsotropic, {});
}
void TraceSurface::SetWindowOrg(int x, int y) {
    DrawSurface::SetWindowOrg(x, y);
    Add(TraceCall::WindowOrg, {x, y});
}
void TraceSurface::SetWindowExt(int x, int y) {
    DrawSurface::SetWindowExt(x, y);
    Add(TraceCall::WindowExt, {x, y});
}
void TraceSurface::SetViewportExt(int x, int y) {
    DrawSurface::SetViewportExt(x, y);
    Add(TraceCall::ViewportExt, {x, y});
}
void TraceSurface::SetViewportOrg(int x, int y) {
    DrawSurface::SetViewportOrg(x, y);
    Add(TraceCall::ViewportOrg, {x, y});
}
void TraceSurface::MoveTo(int x, int y) {
    Add(TraceCall::MoveTo, {x, y});
}
void TraceSurface::LineTo(int x, int y) {
    Add(TraceCall::LineTo, {x, y});
}
void TraceSurface::Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd,
                       int yEnd) {
    Add(TraceCall::Arc, {left, top, right, bottom, xStart, yStart, xEnd, yEnd});
}

DrawSurface::Handle TraceSurface::CreatePen(int width, ColorRef color) {
    m_pens.push_back({width, color});
    const Handle h = static_cast<Handle>(m_pens.size());
    Add(TraceCall::CreatePen, {h, width, static_cast<int>(color)});
    return h;
}

DrawSurface::Handle TraceSurface::SelectPen(Handle pen) {
    const Handle old = m_pen;
    m_pen = pen;
    if (pen > 0 && pen <= static_cast<Handle>(m_pens.size())) {
        const Pen& p = m_pens[pen - 1];
        Add(TraceCall::SelectPen,
            {pen, static_cast<int>(p.color & 0xFF), static_cast<int>((p.color >> 8) & 0xFF),
             static_cast<int>((p.color >> 16) & 0xFF), p.width});
    } else {
        Add(TraceCall::SelectPen, {pen});
    }
    return old;
}

void TraceSurface::DeletePen(Handle pen) {
    Add(TraceCall::DeletePen, {pen});
}

DrawSurface::Handle TraceSurface::CreateFont(const FontSpec& font) {
    m_fonts.push_back(font);
    const Handle h = static_cast<Handle>(m_fonts.size());
    Add(TraceCall::CreateFont, {h, font.height, font.escapement}, font.faceName);
    return h;
}

DrawSurface::Handle TraceSurface::SelectFont(Handle font) {
    const Handle old = m_font;
    m_font = font;
    Add(TraceCall::SelectFont, {font});
    return old;
}

void TraceSurface::DeleteFont(Handle font) {
    Add(TraceCall::DeleteFont, {font});
}

void TraceSurface::SetTextColor(ColorRef color) {
    Add(TraceCall::TextColor, {static_cast<int>(color)});
}
void TraceSurface::SetTextAlign(unsigned align) {
    Add(TraceCall::TextAlign, {static_cast<int>(align)});
}
void TraceSurface::SetBkMode(int mode) {
    Add(TraceCall::BkMode, {mode});
}

void TraceSurface::ExtTextOut(int x, int y, const char* text, int length) {
    int height = 0, escapement = 0;
    if (m_font > 0 && m_font <= static_cast<Handle>(m_fonts.size())) {
        height = m_fonts[m_font - 1].height;
        escapement = m_fonts[m_font - 1].escapement;
    }
    Add(TraceCall::TextOut, {x, y, height, escapement},
        std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0));
}

int TraceSurface::GetDeviceCaps(int index) const {
    switch (index) {
        case LOGPIXELSY:
            return 96;
        case HORZSIZE:
            return 216;  // letter, millimetres
        case VERTSIZE:
            return 279;
        case HORZRES:
            return 2550;  // at 300 dots per inch
        case VERTRES:
            return 3300;
        default:
            return 0;
    }
}

namespace {
std::string Quote(const std::string& bytes) {
    std::string out = "\"";
    char buf[8];
    for (char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 32 || c >= 127) {
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}
}  // namespace

void TraceText::FlushMapping(TraceCall::Op next) {
    char buf[96];
    if (m_windowPending && next != TraceCall::WindowOrg && next != TraceCall::WindowExt) {
        std::snprintf(buf, sizeof buf, "window %d %d %d %d\n", m_windowOrg.x, m_windowOrg.y,
                      m_windowExt.x, m_windowExt.y);
        m_out += buf;
        m_windowPending = false;
    }
    if (m_viewportPending && next != TraceCall::ViewportOrg && next != TraceCall::ViewportExt) {
        std::snprintf(buf, sizeof buf, "viewport %d %d %d %d\n", m_viewportExt.x, m_viewportExt.y,
                      m_viewportOrg.x, m_viewportOrg.y);
        m_out += buf;
        m_viewportPending = false;
    }
}

void TraceText::Finish() {
    FlushMapping(TraceCall::MapModeIsotropic);
}

void TraceText::Add(const TraceCall& c) {
    char buf[160];
    const int* v = c.v;
    FlushMapping(c.op);
    buf[0] = 0;
    switch (c.op) {
        case TraceCall::WindowOrg:
            m_windowOrg = {v[0], v[1]};
            m_windowPending = true;
            break;
        case TraceCall::WindowExt:
            m_windowExt = {v[0], v[1]};
            m_windowPending = true;
            break;
        case TraceCall::ViewportExt:
            m_viewportExt = {v[0], v[1]};
            m_viewportPending = true;
            break;
        case TraceCall::ViewportOrg:
            m_viewportOrg = {v[0], v[1]};
            m_viewportPending = true;
            break;
        case TraceCall::CreatePen:
            if (m_sparePen == 0) m_sparePen = v[0];
            break;
        case TraceCall::SelectPen:
            if (v[0] != 0 && v[0] != m_sparePen) {
                std::snprintf(buf, sizeof buf, "pen %d %d %d %d\n", v[1], v[2], v[3], v[4]);
            }
            break;
        case TraceCall::MoveTo:
            std::snprintf(buf, sizeof buf, "move %d %d\n", v[0], v[1]);
            break;
        case TraceCall::LineTo:
            std::snprintf(buf, sizeof buf, "line %d %d\n", v[0], v[1]);
            break;
        case TraceCall::Arc:
            std::snprintf(buf, sizeof buf, "arc %d %d %d %d %d %d %d %d\n", v[0], v[1], v[2], v[3],
                          v[4], v[5], v[6], v[7]);
            break;
        case TraceCall::TextOut:
            std::snprintf(buf, sizeof buf, "text %d %d %d %d ", v[0], v[1], v[2], v[3]);
            m_out += buf;
            m_out += Quote(c.text);
            m_out += '\n';
            buf[0] = 0;
            break;
        default:
            break;
    }
    m_out += buf;
}

std::string TraceSurface::Text() const {
    TraceText text;
    for (const TraceCall& c : m_calls) text.Add(c);
    text.Finish();
    return std::move(text.Text());
}
