#include "render/SurfaceRecording.h"

#include <algorithm>
#include <limits>

enum SurfaceRecording::Op : std::int32_t {
    kMoveTo,
    kLineTo,
    kArc,
    kTextColor,
    kTextAlign,
    kBkMode,
    kText,
    kIsotropic,
    kWindowOrg,
    kWindowExt,
    kViewportExt,
    kViewportOrg,
    kCreatePen,
    kSelectPen,
    kDeletePen,
    kCreateFont,
    kSelectFont,
    kDeleteFont
};

namespace {
constexpr std::size_t kGone = std::numeric_limits<std::size_t>::max();
// Room past a full chunk for the longest call: an arc, its operation and eight numbers.
constexpr std::size_t kLongestCall = 9;
}  // namespace

SurfaceRecording::SurfaceRecording(const DrawSurface& device, int players, std::size_t chunkCalls,
                                   std::size_t chunksAhead)
    : m_device(device),
      m_chunkCalls(chunkCalls),
      m_chunksAhead(std::max<std::size_t>(chunksAhead, 1)),
      m_recording(std::make_unique<Chunk>(chunkCalls + kLongestCall)),
      m_played(static_cast<std::size_t>(std::max(players, 0)), 0) {}

SurfaceRecording::~SurfaceRecording() {
    Stop();
}

void SurfaceRecording::Put(Op op, std::initializer_list<std::int32_t> args) {
    Chunk& chunk = *m_recording;
    std::int32_t* p = chunk.calls.get() + chunk.used;
    *p++ = op;
    for (const std::int32_t arg : args) *p++ = arg;
    chunk.used = static_cast<std::size_t>(p - chunk.calls.get());
    if (chunk.used >= m_chunkCalls) Publish();
}

std::int32_t SurfaceRecording::PutText(std::string text) {
    m_recording->texts.push_back(std::move(text));
    return static_cast<std::int32_t>(m_recording->texts.size() - 1);
}

void SurfaceRecording::Publish() {
    std::unique_ptr<Chunk> next;
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        if (!m_spare.empty()) {
            next = std::move(m_spare.back());
            m_spare.pop_back();
        }
    }
    // Made before the chunk is handed on: a failure here loses nothing.
    if (!next) next = std::make_unique<Chunk>(m_chunkCalls + kLongestCall);
    std::unique_lock<std::mutex> hold(m_lock);
    // Waits while the slowest player is too far behind.
    m_changed.wait(hold, [&] {
        if (m_played.empty()) return true;
        const std::size_t slowest = *std::min_element(m_played.begin(), m_played.end());
        return slowest == kGone || m_chunks.size() - slowest < m_chunksAhead;
    });
    m_chunks.push_back(std::move(m_recording));
    m_recording = std::move(next);
    m_changed.notify_all();
}

void SurfaceRecording::Close() {
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        if (m_closed) return;
    }
    if (m_recording->used != 0) Publish();
    Stop();
}

void SurfaceRecording::Stop() noexcept {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_closed = true;
    m_changed.notify_all();
}

void SurfaceRecording::Play(DrawSurface& target, int player) {
    const std::size_t me = static_cast<std::size_t>(player);
    for (std::size_t next = 0;; ++next) {
        const Chunk* chunk = nullptr;
        {
            std::unique_lock<std::mutex> hold(m_lock);
            m_changed.wait(hold, [&] { return next < m_chunks.size() || m_closed; });
            if (next >= m_chunks.size()) break;
            chunk = m_chunks[next].get();
        }
        PlayChunk(*chunk, target);  // a published chunk stays put until every player is past it
        const std::lock_guard<std::mutex> hold(m_lock);
        m_played[me] = next + 1;
        if (*std::min_element(m_played.begin(), m_played.end()) == next + 1) {
            // Kept for the pass to fill again: fresh memory costs a page fault per 4 KB.
            std::unique_ptr<Chunk>& done = m_chunks[next];
            done->used = 0;
            done->texts.clear();
            m_spare.push_back(std::move(done));
        }
        m_changed.notify_all();
    }
    Leave(player);
}

void SurfaceRecording::Leave(int player) {
    const std::lock_guard<std::mutex> hold(m_lock);
    m_played[static_cast<std::size_t>(player)] = kGone;
    m_changed.notify_all();
}

void SurfaceRecording::PlayChunk(const Chunk& chunk, DrawSurface& t) {
    const std::int32_t* p = chunk.calls.get();
    const std::int32_t* const end = p + chunk.used;
    while (p < end) {
        switch (*p++) {
            case kMoveTo:
                t.MoveTo(p[0], p[1]);
                p += 2;
                break;
            case kLineTo:
                t.LineTo(p[0], p[1]);
                p += 2;
                break;
            case kArc:
                t.Arc(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]);
                p += 8;
                break;
            case kTextColor:
                t.SetTextColor(static_cast<ColorRef>(*p++));
                break;
            case kTextAlign:
                t.SetTextAlign(static_cast<unsigned>(*p++));
                break;
            case kBkMode:
                t.SetBkMode(*p++);
                break;
            case kText: {
                const std::string& text = chunk.texts[static_cast<std::size_t>(p[2])];
                t.ExtTextOut(p[0], p[1], text.data(), static_cast<int>(text.size()));
                p += 3;
                break;
            }
            case kIsotropic:
                t.SetMapModeIsotropic();
                break;
            case kWindowOrg:
                t.SetWindowOrg(p[0], p[1]);
                p += 2;
                break;
            case kWindowExt:
                t.SetWindowExt(p[0], p[1]);
                p += 2;
                break;
            case kViewportExt:
                t.SetViewportExt(p[0], p[1]);
                p += 2;
                break;
            case kViewportOrg:
                t.SetViewportOrg(p[0], p[1]);
                p += 2;
                break;
            // Handles count up alike on every fresh surface, so a replayed pen or font gets the
            // handle it was recorded with.
            case kCreatePen:
                t.CreatePen(p[0], static_cast<ColorRef>(p[1]));
                p += 2;
                break;
            case kSelectPen:
                t.SelectPen(*p++);
                break;
            case kDeletePen:
                t.DeletePen(*p++);
                break;
            case kCreateFont:
                t.CreateFont({p[0], p[1], chunk.texts[static_cast<std::size_t>(p[2])]});
                p += 3;
                break;
            case kSelectFont:
                t.SelectFont(*p++);
                break;
            case kDeleteFont:
                t.DeleteFont(*p++);
                break;
            default:
                return;
        }
    }
}

void SurfaceRecording::MoveTo(int x, int y) {
    Put(kMoveTo, {x, y});
}

void SurfaceRecording::LineTo(int x, int y) {
    Put(kLineTo, {x, y});
}

void SurfaceRecording::Arc(int left, int top, int right, int bottom, int xStart, int yStart,
                           int xEnd, int yEnd) {
    Put(kArc, {left, top, right, bottom, xStart, yStart, xEnd, yEnd});
}

void SurfaceRecording::SetTextColor(ColorRef color) {
    Put(kTextColor, {static_cast<std::int32_t>(color)});
}

void SurfaceRecording::SetTextAlign(unsigned align) {
    Put(kTextAlign, {static_cast<std::int32_t>(align)});
}

void SurfaceRecording::SetBkMode(int mode) {
    Put(kBkMode, {mode});
}

void SurfaceRecording::ExtTextOut(int x, int y, const char* text, int length) {
    Put(kText, {x, y, PutText(std::string(text, static_cast<std::size_t>(std::max(length, 0))))});
}

void SurfaceRecording::OnMappingChanged(Mapping which) {
    switch (which) {
        case Mapping::Isotropic:
            return Put(kIsotropic, {});
        case Mapping::WindowOrg:
            return Put(kWindowOrg, {GetWindowOrg().x, GetWindowOrg().y});
        case Mapping::WindowExt:
            return Put(kWindowExt, {GetWindowExt().x, GetWindowExt().y});
        case Mapping::ViewportExt:
            return Put(kViewportExt, {GetViewportExt().x, GetViewportExt().y});
        case Mapping::ViewportOrg:
            return Put(kViewportOrg, {GetViewportOrg().x, GetViewportOrg().y});
    }
}

void SurfaceRecording::OnHandleCall(HandleCall call, Handle handle) {
    switch (call) {
        case HandleCall::CreatePen: {
            const PenRequest* pen = PenOf(handle);
            return Put(kCreatePen, {pen->width, static_cast<std::int32_t>(pen->color)});
        }
        case HandleCall::SelectPen:
            return Put(kSelectPen, {handle});
        case HandleCall::DeletePen:
            return Put(kDeletePen, {handle});
        case HandleCall::CreateFont: {
            const DeviceFontRequest* font = FontOf(handle);
            return Put(kCreateFont, {font->height, font->escapement, PutText(font->faceName)});
        }
        case HandleCall::SelectFont:
            return Put(kSelectFont, {handle});
        case HandleCall::DeleteFont:
            return Put(kDeleteFont, {handle});
    }
}
