#include "render/qt/Hairlines.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QRegion>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {
// x's four channels times a / 255, rounded as Qt's raster engine rounds.
inline std::uint32_t ByteMul(std::uint32_t x, std::uint32_t a) {
    std::uint32_t t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = x + ((x >> 8) & 0xff00ff) + 0x800080;
    x &= 0xff00ff00;
    return x | t;
}

// Fixed point with 6 fraction bits, truncated toward zero. A clipped end lies near the image;
// one that does not (a line grazing a corner from afar) is held where the maths cannot
// overflow.
inline int F26Dot6(double v) {
    constexpr double kFar = 1 << 23;
    return static_cast<int>(std::clamp(v, -kFar, kFar) * 64.);
}

// a / b with 16 fraction bits.
inline long long F16Dot16Div(long long a, long long b) {
    return (a << 16) / b;
}

enum Caps { kCapBegin = 1, kCapEnd = 2 };

inline int SwapCaps(int caps) {
    return ((caps & kCapBegin) << 1) | ((caps & kCapEnd) >> 1);
}

// A round or square cap lengthens the line by half a pixel at each end.
inline void CapAdjust(int caps, int& from, int& to, long long& across, long long step) {
    if (caps & kCapBegin) {
        from -= 32;
        across -= step >> 1;
    }
    if (caps & kCapEnd) to += 32;
}

// Clips a segment's ends to [low, high] along one axis (u), moving them along the segment (v
// follows), in Qt's order: the first end, then the second. Returns true when nothing is left.
bool ClipAxis(double& u1, double& v1, double& u2, double& v2, double low, double high) {
    if (u1 < low) {
        if (u2 <= low) return true;
        v1 += (v2 - v1) / (u2 - u1) * (low - u1);
        u1 = low;
    } else if (u1 > high) {
        if (u2 >= high) return true;
        v1 += (v2 - v1) / (u2 - u1) * (high - u1);
        u1 = high;
    }
    if (u2 < low) {
        v2 += (v2 - v1) / (u2 - u1) * (low - u2);
        u2 = low;
    } else if (u2 > high) {
        v2 += (v2 - v1) / (u2 - u1) * (high - u2);
        u2 = high;
    }
    return false;
}

QImage* ImageOf(QPainter& painter) {
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image) return nullptr;
    return static_cast<QImage*>(device);
}
}  // namespace

bool Hairlines::Applies(QPainter& painter) {
    const QImage* image = ImageOf(painter);
    if (!image || (image->format() != QImage::Format_RGB32 &&
                   image->format() != QImage::Format_ARGB32_Premultiplied)) {
        return false;
    }
    const QPen& pen = painter.pen();
    if (!pen.isCosmetic() || pen.widthF() != 0 || pen.style() != Qt::SolidLine ||
        pen.color().alpha() != 255 || pen.brush().style() != Qt::SolidPattern ||
        painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver ||
        painter.deviceTransform().type() > QTransform::TxTranslate) {
        return false;
    }
    // Qt caps a crisp flat-capped line after one in another direction: left to Qt.
    const bool antialiased = painter.renderHints() & QPainter::Antialiasing;
    if (!antialiased && pen.capStyle() == Qt::FlatCap) return false;
    return !painter.hasClipping() || painter.clipRegion().rectCount() == 1;
}

Hairlines::Hairlines(QPainter& painter, std::uint32_t color, bool caps)
    : m_antialiased(painter.renderHints() & QPainter::Antialiasing), m_caps(caps) {
    QImage& image = *ImageOf(painter);
    m_pixels = reinterpret_cast<std::uint32_t*>(image.bits());
    m_stride = image.bytesPerLine() / 4;
    const QTransform device = painter.deviceTransform();
    m_dx = device.dx();
    m_dy = device.dy();
    const QRect whole = image.rect();
    m_clip = whole;
    if (painter.hasClipping()) {
        m_clip &= painter.clipRegion().boundingRect().translated(int(m_dx), int(m_dy));
    }
    // Qt clips a line's ends to a pixel beyond the device on every side.
    m_xmin = whole.left() - 1;
    m_xmax = whole.right() + 2;
    m_ymin = whole.top() - 1;
    m_ymax = whole.bottom() + 2;
    for (unsigned a = 0; a < 256; ++a) m_color[a] = ByteMul(color | 0xff000000u, a);
}

std::uint32_t Hairlines::Blend(std::uint32_t dest, unsigned coverage) const {
    const std::uint32_t c = m_color[coverage];
    return c + ByteMul(dest, (~c) >> 24);
}

void Hairlines::VisibleRun(bool steep, long long step, int& a, long long& b, int& to) const {
    const int alongLow = steep ? m_clip.top() : m_clip.left();
    const int alongHigh = steep ? m_clip.bottom() : m_clip.right();
    const int acrossLow = steep ? m_clip.left() : m_clip.top();
    const int acrossHigh = steep ? m_clip.right() : m_clip.bottom();
    int from = std::max(a, alongLow);
    to = std::min(to, alongHigh + 1);
    // Where the pixel pair [b, b + 1] meets the clip's rows (or columns), a step wider each side.
    if (step != 0) {
        const double t1 = ((acrossLow - 1) * 65536.0 - static_cast<double>(b)) / step;
        const double t2 = ((acrossHigh + 1) * 65536.0 - static_cast<double>(b)) / step;
        const double first = std::floor(std::min(t1, t2)) - 1;
        const double last = std::ceil(std::max(t1, t2)) + 1;
        if (first > 0) from = static_cast<int>(std::min<double>(to, a + first));
        if (last < to - a) to = static_cast<int>(std::max<double>(from, a + last + 1));
    } else if ((b >> 16) + 1 < acrossLow || (b >> 16) > acrossHigh) {
        from = to;
    }
    if (from > to) from = to;
    b += (from - a) * step;
    a = from;
}

void Hairlines::Draw(const QLineF* lines, int count) {
    for (int i = 0; i < count; ++i) {
        const QPointF a(lines[i].x1() + m_dx, lines[i].y1() + m_dy);
        const QPointF b(lines[i].x2() + m_dx, lines[i].y2() + m_dy);
        if (a == b) {
            Dot(lines[i].x1() + m_dx, lines[i].y1() + m_dy);
        } else {
            if (m_antialiased) {
                Line(a.x(), a.y(), b.x(), b.y());
            } else {
                AliasedLine(a.x(), a.y(), b.x(), b.y());
            }
        }
    }
}

void Hairlines::Dot(double x, double y) {
    // Only a dot near the image can round into it; one far off would overflow the rounding.
    if (!(x > m_xmin && x < m_xmax && y > m_ymin && y < m_ymax)) return;
    Pixel(qRound(x), qRound(y), 255);
}

bool Hairlines::ClipToDevice(double& x1, double& y1, double& x2, double& y2) const {
    return ClipAxis(x1, y1, x2, y2, m_xmin, m_xmax) || ClipAxis(y1, x1, y2, x2, m_ymin, m_ymax);
}

// Wu's line in 26.6 fixed point: along the major axis one pixel at a time, two pixels across it
// sharing the coverage by where the line passes between them; the end pixels weighted by how
// much of them the line covers along its length.
void Hairlines::Line(double rx1, double ry1, double rx2, double ry2) {
    if (ClipToDevice(rx1, ry1, rx2, ry2)) return;
    int x1 = F26Dot6(rx1), y1 = F26Dot6(ry1), x2 = F26Dot6(rx2), y2 = F26Dot6(ry2);
    const int dx = x2 - x1, dy = y2 - y1;
    int caps = m_caps ? kCapBegin | kCapEnd : 0;
    const bool steep = std::abs(dx) < std::abs(dy);
    if (!steep && dx == 0) return;
    // Walk along the major axis ("along", a) with the minor ("across", b) in 16.16.
    int a1 = steep ? y1 : x1, a2 = steep ? y2 : x2;
    int b1 = steep ? x1 : y1;
    const long long step = steep ? F16Dot16Div(dx, dy) : F16Dot16Div(dy, dx);
    if (a1 > a2) {
        std::swap(a1, a2);
        b1 = steep ? x2 : y2;
        caps = SwapCaps(caps);
    }
    long long b = static_cast<long long>(b1 - 32) << 10;
    b -= (((a1 & 63) - 32) * step) >> 6;
    CapAdjust(caps, a1, a2, b, step);
    int a = a1 >> 6;
    const int aEnd = a2 >> 6;
    int alphaStart, alphaEnd;
    if (a == aEnd) {
        alphaStart = a2 - a1;
        alphaEnd = 0;
    } else {
        alphaStart = 64 - (a1 & 63);
        alphaEnd = a2 & 63;
    }
    // The pixels the line can touch: with all of them inside the clip, no test per pixel.
    const long long bLast = b + (aEnd - a) * step;
    const int acrossLow = static_cast<int>(std::min(b, bLast) >> 16);
    const int acrossHigh = static_cast<int>(std::max(b, bLast) >> 16) + 1;
    const bool inside = steep ? m_clip.top() <= a && aEnd <= m_clip.bottom() &&
                                    m_clip.left() <= acrossLow && acrossHigh <= m_clip.right()
                              : m_clip.left() <= a && aEnd <= m_clip.right() &&
                                    m_clip.top() <= acrossLow && acrossHigh <= m_clip.bottom();
    const Run run{
        a, aEnd, b, step, static_cast<unsigned>(alphaStart), static_cast<unsigned>(alphaEnd)};
    if (inside) {
        steep ? Pairs<true, false>(run) : Pairs<false, false>(run);
    } else {
        steep ? Pairs<true, true>(run) : Pairs<false, true>(run);
    }
}

template <bool kSteep, bool kClipped>
void Hairlines::Pairs(Run run) {
    const auto pair = [this](int along, long long across, unsigned weight) {
        const unsigned alpha = static_cast<std::uint8_t>(across >> 8);
        const int b0 = static_cast<int>(across >> 16);
        const unsigned near = (255 - alpha) * weight >> 6, far = alpha * weight >> 6;
        const int x = kSteep ? b0 : along, y = kSteep ? along : b0;
        if (kClipped) {
            Pixel(x, y, near);
            kSteep ? Pixel(x + 1, y, far) : Pixel(x, y + 1, far);
        } else {
            std::uint32_t* p = m_pixels + static_cast<std::ptrdiff_t>(y) * m_stride + x;
            p[0] = Blend(p[0], near);
            std::uint32_t& q = kSteep ? p[1] : p[m_stride];
            q = Blend(q, far);
        }
    };
    int a = run.from;
    long long b = run.across;
    pair(a, b, run.alphaStart);
    if (++a < run.to) {
        int to = run.to;
        b += run.step;
        if (kClipped) VisibleRun(kSteep, run.step, a, b, to);  // a band's share of it
        for (; a < to; ++a, b += run.step) pair(a, b, 64);
    }
    if (run.alphaEnd) {
        a = run.to;
        b = run.across + static_cast<long long>(run.to - run.from) * run.step;
        pair(a, b, run.alphaEnd);
    }
}

// Bresenham's line in 26.6 fixed point from pixel centre to pixel centre, each end lengthened by
// half a pixel for its cap; the last pixel is left for the next line of a path.
void Hairlines::AliasedLine(double rx1, double ry1, double rx2, double ry2) {
    if (ClipToDevice(rx1, ry1, rx2, ry2)) return;
    int x1 = F26Dot6(rx1), y1 = F26Dot6(ry1), x2 = F26Dot6(rx2), y2 = F26Dot6(ry2);
    const bool steep = std::abs(x2 - x1) < std::abs(y2 - y1);
    if (!steep && x2 == x1) return;
    int a1 = steep ? y1 : x1, a2 = steep ? y2 : x2;
    int b1 = steep ? x1 : y1, b2 = steep ? x2 : y2;
    int caps = m_caps ? kCapBegin | kCapEnd : 0;
    if (a1 > a2) {
        std::swap(a1, a2);
        std::swap(b1, b2);
        caps = SwapCaps(caps);
    }
    const long long step = F16Dot16Div(b2 - b1, a2 - a1);
    long long b = static_cast<long long>(b1) << 10;
    CapAdjust(caps, a1, a2, b, step);
    int a = (a1 + 32) >> 6;
    const int aEnd = (a2 + 32) >> 6;
    if (a == aEnd) return;
    b += ((static_cast<long long>(a) * 64 + (step > 0 ? 32 : 0) - a1) * step) >> 6;
    const std::uint32_t color = m_color[255];
    const long long bLast = b + (aEnd - 1 - a) * step;
    const int acrossLow = static_cast<int>(std::min(b, bLast) >> 16);
    const int acrossHigh = static_cast<int>(std::max(b, bLast) >> 16);
    const bool inside = steep ? m_clip.top() <= a && aEnd - 1 <= m_clip.bottom() &&
                                    m_clip.left() <= acrossLow && acrossHigh <= m_clip.right()
                              : m_clip.left() <= a && aEnd - 1 <= m_clip.right() &&
                                    m_clip.top() <= acrossLow && acrossHigh <= m_clip.bottom();
    if (inside) {
        for (; a < aEnd; ++a, b += step) {
            const int across = static_cast<int>(b >> 16);
            m_pixels[steep ? static_cast<std::ptrdiff_t>(a) * m_stride + across
                           : static_cast<std::ptrdiff_t>(across) * m_stride + a] = color;
        }
        return;
    }
    int to = aEnd;
    VisibleRun(steep, step, a, b, to);
    for (; a < to; ++a, b += step) {
        const int across = static_cast<int>(b >> 16);
        const int x = steep ? across : a, y = steep ? a : across;
        if (x < m_clip.left() || x > m_clip.right() || y < m_clip.top() || y > m_clip.bottom())
            continue;
        m_pixels[static_cast<std::ptrdiff_t>(y) * m_stride + x] = color;
    }
}
