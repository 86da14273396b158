// Zoom, scroll and history arithmetic of a view, without a window.
#include <gtest/gtest.h>

#include <cmath>

#include "view/ViewState.h"

namespace {
// A view of 1000 x 1000 resolution units on a square client of 2000 pixels: divisor 0.5, one
// pixel per logical unit, so client pixels convert exactly.
constexpr int kClient = 2000;
// A view whose rectangle runs from the origin to (right, top), its other geometry kept.
void Frame(ViewState& v, float right, float top, float extent = 0) {
    ViewGeometry g = v.Geometry();
    g.right = right;
    g.top = top;
    if (extent > 0) g.extentX = g.extentY = extent;
    v.SetGeometry(g);
}
ViewState Square(float extent = 1000) {
    ViewState v;
    Frame(v, extent, extent, extent);
    v.FitToClient(kClient, kClient);
    return v;
}
void MoveTo(ViewState& v, float left, float bottom) {
    ViewGeometry g = v.Geometry();
    g.left = left;
    g.bottom = bottom;
    v.SetGeometry(g);
}

struct Rect {
    float left, bottom, right, top;
};
void ExpectRect(const ViewState& v, Rect r) {
    EXPECT_FLOAT_EQ(v.Geometry().left, r.left);
    EXPECT_FLOAT_EQ(v.Geometry().bottom, r.bottom);
    EXPECT_FLOAT_EQ(v.Geometry().right, r.right);
    EXPECT_FLOAT_EQ(v.Geometry().top, r.top);
}
}  // namespace

TEST(ViewState, ZoomAboutAClickedPoint) {
    struct Case {
        int x, y;
        bool in;
        Rect expected;
        float extent;
    } cases[] = {
        {1000, 1000, true, {50, 50, 950, 950}, 900},        // centre: 10 % smaller
        {1000, 1000, false, {-50, -50, 1050, 1050}, 1100},  // centre: 10 % larger
        {1500, 1000, true, {300, 50, 1200, 950}, 900},      // the point moves to the centre
        {1000, 500, false, {-50, 200, 1050, 1300}, 1100},   // client y grows downward
    };
    for (const Case& c : cases) {
        ViewState v = Square();
        EXPECT_EQ(v.Geometry().divisor, 0.5);
        v.ZoomAbout(c.x, c.y, c.in, kClient, kClient);
        ExpectRect(v, c.expected);
        EXPECT_FLOAT_EQ(v.Geometry().extentX, c.extent);
        EXPECT_EQ(v.GetZoomHistory().size(), 1u);
    }
}

TEST(ViewState, ZoomPreviousRestoresExactly) {
    ViewState v = Square(1234.567f);
    const ViewState before = v;
    v.ZoomAbout(321, 1777, true, kClient, kClient);
    v.ZoomAbout(1900, 3, false, kClient, kClient);
    ASSERT_TRUE(v.ZoomPrevious());
    ASSERT_TRUE(v.ZoomPrevious());
    ExpectRect(v, {before.Geometry().left, before.Geometry().bottom, before.Geometry().right,
                   before.Geometry().top});
    EXPECT_EQ(v.Geometry().extentX, v.Geometry().right - v.Geometry().left);
    EXPECT_EQ(v.Geometry().extentY, v.Geometry().top - v.Geometry().bottom);
    EXPECT_EQ(v.Geometry().divisor, before.Geometry().divisor);
    EXPECT_FALSE(v.CanZoomPrevious());
    EXPECT_FALSE(v.ZoomPrevious());
}

TEST(ViewState, ZoomAllShowsTheFirstFitAgain) {
    ViewState v;
    v.FitToDrawing(3000, 1500, 1000, 500);
    ExpectRect(v, {0, 0, 3000, 1500});
    EXPECT_FLOAT_EQ(v.Geometry().extentX, 3037.500244f);
    EXPECT_EQ(v.Geometry().divisor, 1.5);
    v.SetZoomedView();
    EXPECT_FALSE(v.ZoomAll(1000, 500));  // already the whole drawing, margin and all
    v.ZoomAt(100, 100, true, 1000, 500);
    EXPECT_TRUE(v.ZoomAll(1000, 500));
    ExpectRect(v, {0, 0, 3000, 1500});
    EXPECT_FLOAT_EQ(v.Geometry().extentX, 3037.500244f);
    EXPECT_EQ(v.Geometry().divisor, 1.5);
    EXPECT_EQ(v.GetZoomMode(), ZOOM_NONE);
    EXPECT_EQ(v.GetZoomHistory().size(), 1u);  // the zoom's entry only
}

TEST(ViewState, ZoomAtKeepsThePointUnderTheCursor) {
    // Notches one after another, on a client of other proportions than the drawing.
    const struct {
        int x, y;
        bool in;
    } notches[] = {{900, 100, true}, {900, 100, true}, {20, 650, true}, {999, 699, false}};
    ViewState v;
    v.FitToDrawing(3000, 1500, 1000, 700);
    for (const auto& n : notches) {
        double x, y, afterX, afterY;
        v.ClientToPlot(n.x, n.y, 1000, 700, x, y);
        v.ZoomAt(n.x, n.y, n.in, 1000, 700);
        v.ClientToPlot(n.x, n.y, 1000, 700, afterX, afterY);
        EXPECT_NEAR(afterX, x, 0.01);
        EXPECT_NEAR(afterY, y, 0.01);
    }
    EXPECT_EQ(v.GetZoomHistory().size(), 4u);
}

TEST(ViewState, ZoomWindow) {
    ViewState v = Square();
    v.BeginZoomWindow();
    EXPECT_EQ(v.GetZoomMode(), ZOOM_WINDOW);
    // Dragged from (1500, 1500) up to (500, 500): a quarter of the view about its centre.
    EXPECT_TRUE(v.EndZoomWindow(true, 1500, 1500, 500, 500, kClient, kClient));
    ExpectRect(v, {250, 250, 750, 750});
    EXPECT_EQ(v.Geometry().extentX, 500.0f);
    EXPECT_EQ(v.GetZoomMode(), ZOOM_NONE);

    // Cancelled, or without width or height: nothing changes, the history entry stays.
    for (int right : {900, 700}) {
        const bool accepted = right == 700;
        v.BeginZoomWindow();
        EXPECT_FALSE(
            v.EndZoomWindow(accepted, 700, 100, right, 100 + (right - 700), kClient, kClient));
        ExpectRect(v, {250, 250, 750, 750});
        EXPECT_EQ(v.GetZoomMode(), ZOOM_NONE);
    }
    EXPECT_EQ(v.GetZoomHistory().size(), 3u);
}

TEST(ViewState, ScrollingStepsRefusalsAndRepaint) {
    ViewState v;
    Frame(v, 3000, 3000, 3000);
    struct Step {
        ScrollBar bar;
        int code;
        int position;
        ScrollResult result;
        float left, bottom;
    } steps[] = {
        {ScrollBar::Horizontal, SB_LINELEFT, 0, ScrollResult::Refused, 0, 0},
        {ScrollBar::Horizontal, SB_ENDSCROLL, 0, ScrollResult::Done, 0, 0},  // no repaint
        {ScrollBar::Horizontal, SB_LINERIGHT, 0, ScrollResult::Done, 30, 0},
        {ScrollBar::Horizontal, SB_ENDSCROLL, 0, ScrollResult::Repaint, 30, 0},
        {ScrollBar::Horizontal, SB_PAGERIGHT, 0, ScrollResult::Done, 330, 0},
        {ScrollBar::Horizontal, SB_THUMBTRACK, 0, ScrollResult::Done, 330, 0},
        {ScrollBar::Horizontal, SB_THUMBPOSITION, 70000, ScrollResult::Done, 70000, 0},  // whole
        {ScrollBar::Horizontal, SB_LINERIGHT, 0, ScrollResult::Refused, 70000, 0},       // past end
        {ScrollBar::Horizontal, SB_LINELEFT, 0, ScrollResult::Done, 69970, 0},
        {ScrollBar::Horizontal, SB_ENDSCROLL, 0, ScrollResult::Done, 69970, 0},  // refused above
        {ScrollBar::Vertical, SB_LINEDOWN, 0, ScrollResult::Refused, 69970, 0},
        {ScrollBar::Vertical, SB_LINEUP, 0, ScrollResult::Done, 69970, 30},
        {ScrollBar::Vertical, SB_PAGEDOWN, 0, ScrollResult::Done, 69970, -270},  // may end below 0
        {ScrollBar::Vertical, SB_PAGEDOWN, 0, ScrollResult::Refused, 69970, -270},
        {ScrollBar::Vertical, SB_ENDSCROLL, 0, ScrollResult::Done, 69970, -270},
        {ScrollBar::Vertical, SB_THUMBTRACK, 0, ScrollResult::Done, 69970, -270},  // a drag
        {ScrollBar::Vertical, SB_THUMBTRACK, 0, ScrollResult::Done, 69970, -270},
        {ScrollBar::Vertical, SB_THUMBPOSITION, 500, ScrollResult::Done, 69970, 500},
        {ScrollBar::Vertical, SB_ENDSCROLL, 0, ScrollResult::Repaint, 69970, 500},
    };
    ScrollOutcome last{};
    for (const Step& s : steps) {
        last = v.Scroll(s.bar, s.code, s.position);
        EXPECT_EQ(last.result, s.result) << s.code;
        EXPECT_FLOAT_EQ(v.Geometry().left, s.left);
        EXPECT_FLOAT_EQ(v.Geometry().bottom, s.bottom);
    }
    // One entry for each of the four actions that moved.
    EXPECT_EQ(v.GetZoomHistory().size(), 4u);
    EXPECT_TRUE(last.hScrollRepaint);
    EXPECT_TRUE(last.vScrollRepaint);
}

TEST(ViewState, ScrollBarsShowTheVisiblePartTopDown) {
    ViewState v = Square();  // 1000 units visible of a scroll range of 3000 either way
    Frame(v, 3000, 3000);
    MoveTo(v, 0, 2000);  // the view's top at the range's top: the thumb at the top
    const ScrollBarShown bar = v.ScrollBars(kClient, kClient).vertical;
    EXPECT_EQ(bar.maximum, 2000);
    EXPECT_EQ(bar.pageStep, 1000);
    EXPECT_EQ(bar.value, 0);
    MoveTo(v, 0, -270);  // arrows may pass an end; the thumb stays at it
    EXPECT_EQ(v.ScrollBars(kClient, kClient).vertical.value, 2000);
    EXPECT_EQ(v.ScrollPosition(ScrollBar::Vertical, 500, kClient, kClient), 1500);
}

TEST(ViewState, FitToClientWidensTheNarrowerSide) {
    ViewState v;
    Frame(v, 2000, 2000);
    v.FitToClient(1000, 500);  // wider client: the width grows
    EXPECT_EQ(v.Geometry().right, 4000.0f);
    EXPECT_EQ(v.Geometry().divisor, 2.0);
    v.FitToClient(500, 1000);  // taller client: the height grows
    EXPECT_EQ(v.Geometry().top, 8000.0f);
    EXPECT_EQ(v.Geometry().divisor, 4.0);
}

TEST(ViewState, ClientPointsInPlotUnits) {
    ViewState v = Square();
    MoveTo(v, 100, 0);
    double x, y;
    // The corner is drawn at the left edge, 2 logical units above the bottom.
    v.ClientToPlot(0, kClient - 2, kClient, kClient, x, y);
    EXPECT_DOUBLE_EQ(x, 100);
    EXPECT_DOUBLE_EQ(y, 0);
    v.ClientToPlot(2000, 2, kClient, kClient, x, y);
    EXPECT_DOUBLE_EQ(x, 1100);
    EXPECT_DOUBLE_EQ(y, 998);
}

// A found text is centred, zoomed in to a twentieth of the view's width at least, or out until
// it fits, and one Zoom Previous undoes it.
TEST(ViewState, ZoomToBoxCentresTheBox) {
    struct Case {
        double left, bottom, right, top;
        double width;  // visible width afterwards, resolution units
    } cases[] = {
        {400, 400, 440, 420, 800},   // a small box: zoomed in to 20 box widths
        {100, 100, 300, 150, 1000},  // already a fifth of the view: the zoom stays
        {0, 0, 3000, 100, 3750},     // wider than the view: zoomed out to fit
        {500, 0, 510, 4000, 5000},   // taller than the view: zoomed out to fit its height
        {700, 700, 700, 700, 600},   // no size: a tenth of an inch, twenty times
    };
    for (const Case& c : cases) {
        ViewState v = Square();
        EXPECT_TRUE(v.ZoomToBox(c.left, c.bottom, c.right, c.top, kClient, kClient));
        double x0, y0, x1, y1, cx, cy;
        v.ClientToPlot(0, kClient, kClient, kClient, x0, y0);
        v.ClientToPlot(kClient, 0, kClient, kClient, x1, y1);
        v.ClientToPlot(kClient / 2.0, kClient / 2.0, kClient, kClient, cx, cy);
        EXPECT_NEAR(x1 - x0, c.width, c.width * 1e-3) << c.left;
        EXPECT_NEAR(cx, (c.left + c.right) / 2, c.width * 1e-4) << c.left;
        EXPECT_NEAR(cy, (c.bottom + c.top) / 2, c.width * 1e-4) << c.left;
        EXPECT_EQ(v.GetZoomHistory().size(), 1u);
        EXPECT_TRUE(v.ZoomPrevious());
        ExpectRect(v, {0, 0, 1000, 1000});
    }
    // Text a hostile file puts beyond any view leaves the view as it was.
    ViewState v = Square();
    EXPECT_FALSE(v.ZoomToBox(0, 0, 1e300, 10, kClient, kClient));
    EXPECT_FALSE(v.ZoomToBox(std::nan(""), 0, 10, 10, kClient, kClient));
    EXPECT_TRUE(v.GetZoomHistory().empty());
    ExpectRect(v, {0, 0, 1000, 1000});
}
