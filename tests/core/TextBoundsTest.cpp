// Bounded work for hostile text: numbers with thousands of decimals and long strings give the
// same text and the same drawing calls as the plain, unbounded computation.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "plot/NumberText.h"
#include "render/PlotContext.h"
#include "render/StrokeFont.h"
#include "render/TraceSurface.h"

namespace {
std::string Printf(int decimals, float value) {
    const int n = std::snprintf(nullptr, 0, "%.*f", decimals, static_cast<double>(value));
    std::string s(static_cast<std::size_t>(n), '\0');
    std::snprintf(s.data(), s.size() + 1, "%.*f", decimals, static_cast<double>(value));
    return s;
}

// Stroke text point by point with no shortcuts: what every glyph point does.
void PlainStrokeText(CPlotContext& ctx, float x, float y, float angle, const char* text,
                     float height, int length, float offsetX, float offsetY, double divisor) {
    constexpr double kDegToRad = 0.017453293;
    DrawSurface& dc = *ctx.GetDC();
    int rx = ctx.ToResolution(x), ry = ctx.ToResolution(y);
    ctx.UpdateExtents(rx, ry);
    int lx = CPlotContext::ToLogical(rx, offsetX, divisor);
    int ly = CPlotContext::ToLogical(ry, offsetY, divisor);
    if (!CPlotContext::InRange(lx) || !CPlotContext::InRange(ly)) return;
    dc.MoveTo(lx, ly);
    const double c = std::cos(-angle * kDegToRad), s = std::sin(-angle * kDegToRad);
    const double advanceX = height * std::cos(angle * kDegToRad);
    const double advanceY = height * std::sin(angle * kDegToRad);
    const CStrokeFont& font = g_strokeFont;
    for (int i = 0; i < length; ++i) {
        const signed char code = static_cast<signed char>(text[i]);
        if (code < 0) continue;
        const CStrokeFont::Glyph& glyph = font.m_glyphs[code];
        for (int j = glyph.m_first; glyph.m_last != 0 && j <= glyph.m_last; ++j) {
            const float xs = static_cast<float>(font.m_strokeX[j] / 100.0 * height);
            const float ys = static_cast<float>(font.m_strokeY[j] / 100.0 * height);
            rx = TruncToInt(ctx.GetResolution() * (x + xs * c + ys * s));
            ry = TruncToInt(ctx.GetResolution() * (y - xs * s + ys * c));
            ctx.UpdateExtents(rx, ry);
            lx = CPlotContext::ToLogical(rx, offsetX, divisor);
            ly = CPlotContext::ToLogical(ry, offsetY, divisor);
            if (!CPlotContext::InRange(lx) || !CPlotContext::InRange(ly)) continue;
            if (font.m_strokePen[j] == 'D') {
                dc.LineTo(lx, ly);
            } else {
                dc.MoveTo(lx, ly);
            }
        }
        x = static_cast<float>(x + advanceX);
        y = static_cast<float>(y + advanceY);
        rx = ctx.ToResolution(x);
        ry = ctx.ToResolution(y);
        ctx.UpdateExtents(rx, ry);
        lx = CPlotContext::ToLogical(rx, offsetX, divisor);
        ly = CPlotContext::ToLogical(ry, offsetY, divisor);
        if (CPlotContext::InRange(lx) && CPlotContext::InRange(ly)) dc.MoveTo(lx, ly);
    }
}
}  // namespace

// Negative decimals print the value truncated toward zero and saturated ("%d"; not a number
// gives 0); any other count is "%.*f", however many decimals a record asks for.
TEST(TextBounds, NumbersWithAnyCountOfDecimalsPrintAsPrintfDoes) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float values[] = {0.0f,     -0.0f,       1.0f / 3,     -2.5f,   3.14159f,
                            0.125f,   1e-8f,       1e-20f,       FLT_MIN, 1.4e-45f,
                            3.9e-43f, 88888888.0f, 123456789.0f, -1e30f,  FLT_MAX,
                            -FLT_MAX, nan,         inf,          -inf};
    const int decimals[] = {-1, 0, 1, 3, 6, 20, 60, 147, 148, 149, 150, 151, 400, 32767};
    for (float v : values) {
        const double t = std::isnan(v) ? 0 : std::trunc(static_cast<double>(v));
        const std::string whole = std::to_string(t >= 2147483647.0    ? 2147483647
                                                 : t <= -2147483648.0 ? -2147483647 - 1
                                                                      : static_cast<int>(t));
        for (int d : decimals) {
            SCOPED_TRACE(std::to_string(d) + " decimals of " + Printf(9, v));
            EXPECT_TRUE(FormatPlotNumber(static_cast<std::int16_t>(d), v) ==
                        (d < 0 ? whole : Printf(d, v)));
        }
    }
}

TEST(TextBounds, LongStringsDrawWhatEveryPointWouldDraw) {
    const std::string eights(511, '8');
    // Only the last character reaches the cap height, far off the view.
    const std::string lowThenTall = std::string(20, 'a') + "T";
    const std::string mixed = "SITE 8 @#%&*() \x01\x02\x0b\x80\xff abc" + std::string(60, 'W');
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // (x, y, angle, height, divisor, offset, extents already reached): on the view, beyond its
    // logical range on every side, under and beyond the extents, and not numbers at all.
    const struct {
        float x, y, angle, height;
        double divisor;
        float offset, maxX, maxY;
    } cases[] = {
        {10, 10, 0, 0.2f, 1, 0, 0, 0},
        {10, 10, 33, 0.2f, 1, 0, 9e5f, 9e5f},
        {200, 10, 0, 0.2f, 1, 0, 9e5f, 9e5f},
        {-200, -200, 180, 0.2f, 1, 0, 9e5f, 9e5f},
        {200, 150, 90, 5, 0.5, 1000, 1e9f, 1e9f},
        {50, 300, 270, 40, 3.7, 0, 1e7f, 1e7f},
        {1e6f, 1e6f, 45, 3e4f, 1, 0, 0, 0},
        {1e6f, 1e6f, 10, 3e4f, 25000, 0, 3e12f, 3e12f},
        {150, 150, -30, 1e-4f, 2, 0, 9e5f, 9e5f},
        {107, 107, 0, 1, 1, 0, 9e5f, 9e5f},  // starting on the range's edge
        // Starting on the view and running off it, the extents first below, then above.
        {100, 100, 0, 40, 1, 0, 0, 0},
        {100, 100, 0, 40, 1, 0, 9e5f, 9e5f},
        {100, 100, 180, 40, 1, 0, 9e5f, 9e5f},
        {100, 100, 93, 3, 1, 0, 5e5f, 9e5f},
        {100, 100, 0, std::numeric_limits<float>::infinity(), 1, 0, 9e5f, 9e5f},
        // Resolution units beyond the int range saturate, and so land on the view again.
        {-3.5e6f, -8.4e6f, 0, 3e4f, 2.5e6, 0, 2.1e9f, 2.1e9f},
        {-3.5e6f, -8.4e6f, 200, 3e4f, 2.5e6, 0, 2.1e9f, 2.1e9f},
        {10, 10, nan, 1, 1, 0, 9e5f, 9e5f},
        {nan, 10, 0, 1, 1, 0, 9e5f, 9e5f},
        {10, 10, 0, nan, 1, 0, 9e5f, 9e5f},
    };
    for (const std::string* text : {&eights, &mixed, &lowThenTall}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y) + " angle " +
                         std::to_string(c.angle) + " height " + std::to_string(c.height));
            TraceSurface fast, plain;
            CPlotContext a, b;
            a.SetDC(&fast);
            b.SetDC(&plain);
            a.UpdateExtents(c.maxX, c.maxY);
            b.UpdateExtents(c.maxX, c.maxY);
            const int n = static_cast<int>(text->size());
            a.DrawStrokeText(c.x, c.y, c.angle, text->data(), c.height, n,
                             {c.offset, c.offset, c.divisor});
            PlainStrokeText(b, c.x, c.y, c.angle, text->data(), c.height, n, c.offset, c.offset,
                            c.divisor);
            EXPECT_TRUE(fast.Text() == plain.Text());
            EXPECT_EQ(a.GetMaxX(), b.GetMaxX());
            EXPECT_EQ(a.GetMaxY(), b.GetMaxY());
        }
    }
}
