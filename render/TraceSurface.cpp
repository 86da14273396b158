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

void TraceSurface::OnMappingChanged(Mapping which) {
    switch (which) {
        case Mapping::Isotropic:
            return Add(TraceCall::MapModeIsotropic, {});
        case Mapping::WindowOrg:
            return Add(TraceCall::WindowOrg, {GetWindowOrg().x, GetWindowOrg().y});
        case Mapping::WindowExt:
            return Add(TraceCall::WindowExt, {GetWindowExt().x, GetWindowExt().y});
        case Mapping::ViewportExt:
            return Add(TraceCall::ViewportExt, {GetViewportExt().x, GetViewportExt().y});
        case Mapping::ViewportOrg:
            return Add(TraceCall::ViewportOrg, {GetViewportOrg().x, GetViewportOrg().y});
    }
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

void TraceSurface::OnHandleCall(HandleCall call, Handle handle) {
    switch (call) {
        case HandleCall::CreatePen: {
            const PenRequest& pen = *PenOf(handle);
            return Add(TraceCall::CreatePen, {handle, pen.width, static_cast<int>(pen.color)});
        }
        case HandleCall::SelectPen:
            if (const PenRequest* pen = PenOf(handle)) {
                const ColorRef c = pen->color;
                return Add(TraceCall::SelectPen,
                           {handle, static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                            static_cast<int>((c >> 16) & 0xFF), pen->width});
            }
            return Add(TraceCall::SelectPen, {handle});
        case HandleCall::DeletePen:
            return Add(TraceCall::DeletePen, {handle});
        case HandleCall::CreateFont: {
            const DeviceFontRequest& font = *FontOf(handle);
            return Add(TraceCall::CreateFont, {handle, font.height, font.escapement},
                       font.faceName);
        }
        case HandleCall::SelectFont:
            return Add(TraceCall::SelectFont, {handle});
        case HandleCall::DeleteFont:
            return Add(TraceCall::DeleteFont, {handle});
    }
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
    if (const DeviceFontRequest* font = FontOf(SelectedFont())) {
        height = font->height;
        escapement = font->escapement;
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
