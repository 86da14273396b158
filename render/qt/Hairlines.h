#pragma once

#include <QLineF>
#include <QRect>
#include <cstdint>

class QPainter;

// One-pixel lines drawn straight into a 32-bit image, pixel for pixel as the raster engine's
// cosmetic stroker draws them, antialiased or not as the painter is. Qt hands such a line's
// pixels to its blending one span at a time (an antialiased line flushes every other pixel when
// nearer horizontal than vertical); that costs several times the pixel's own arithmetic, and
// long lines are almost nothing else.
class Hairlines {
  public:
    // Whether the painter's state lets its pen's lines be drawn here: a painter on an RGB32 or
    // premultiplied ARGB32 image, with no transform but a translation, an opaque colour drawn over
    // at full opacity, no clip or a rectangular one, and capped ends unless antialiased.
    static bool Applies(QPainter& painter);

    // Set up for the painter's current state; Applies must hold.
    Hairlines(QPainter& painter, std::uint32_t color, bool caps);

    void Draw(const QLineF* lines, int count);

  private:
    void Line(double x1, double y1, double x2, double y2);
    void AliasedLine(double x1, double y1, double x2, double y2);
    // A line's pixel pairs from along = from to to, across starting at across (16.16) and
    // moving step each pixel; the end pairs weighted by the line's share of them (of 64).
    struct Run {
        int from, to;
        long long across, step;
        unsigned alphaStart, alphaEnd;
    };
    template <bool kSteep, bool kClipped>
    void Pairs(Run run);
    // Narrows the run of pixel pairs from a (across at b, moving step a pixel) up to to to
    // those that may meet the clip: a band paints only its share of a long line.
    void VisibleRun(bool steep, long long step, int& a, long long& b, int& to) const;
    void Dot(double x, double y);
    // Rough clipping to just outside the image, as Qt clips before its fixed-point maths.
    bool ClipToDevice(double& x1, double& y1, double& x2, double& y2) const;
    void Pixel(int x, int y, unsigned coverage) {
        if (x < m_clip.left() || x > m_clip.right() || y < m_clip.top() || y > m_clip.bottom())
            return;
        std::uint32_t& d = m_pixels[static_cast<std::ptrdiff_t>(y) * m_stride + x];
        d = Blend(d, coverage);
    }
    std::uint32_t Blend(std::uint32_t dest, unsigned coverage) const;

    std::uint32_t* m_pixels;
    std::ptrdiff_t m_stride;  // in pixels
    QRect m_clip;             // pixels that may be written
    double m_xmin, m_xmax, m_ymin, m_ymax;
    double m_dx, m_dy;           // the painter's translation
    std::uint32_t m_color[256];  // the colour at each coverage, premultiplied
    bool m_antialiased;
    bool m_caps;
};
