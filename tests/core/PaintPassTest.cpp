// The view's paint pass: mapping, pens, fitting, interruption, printing and the copy pass.
#include <gtest/gtest.h>

#include <cstdio>

#include "plot/KorvaneDoc.h"
#include "render/CountingSurface.h"
#include "render/TraceSurface.h"
#include "support/DrawFixture.h"
#include "support/Golden.h"
#include "support/RecordingFeedback.h"
#include "view/FirstView.h"
#include "view/PlotView.h"
#include "view/ViewHost.h"

namespace {
struct Host : FixedSizeHost {
    Host(int w, int h) : FixedSizeHost(w, h) {}
    void Invalidate() override { ++invalidated; }
    void BeginWaitCursor() override { ++waits; }
    void EndWaitCursor() override { --waits; }
    bool ShouldStop() override { return ++asked > stopAfter; }

    int invalidated = 0;
    int waits = 0;
    int asked = 0;
    int stopAfter = 1 << 30;
};

// A drawing whose extents are 3000 x 1500 resolution units (10 x 5 inches).
void TenByFive(PrimitiveList& list) {
    list.Append<Couleur>(PrimCode::kCouleur, 2);
    list.Append<Ligne>(PrimCode::kLigne, 0.0f, 0.0f, 3);
    list.Append<Ligne>(PrimCode::kLigne, 10.0f, 5.0f, 2);
    list.Append<Couleur>(PrimCode::kCouleur, 2);
    list.Append<Couleur>(PrimCode::kCouleur, 6);
    list.Append<Ligne>(PrimCode::kLigne, 0.0f, 5.0f, 2);
}

std::string PenLines(const std::string& trace) {
    std::istringstream in(trace);
    std::string line, pens;
    while (std::getline(in, line)) {
        if (line.rfind("pen ", 0) == 0) pens += line + "\n";
    }
    return pens;
}
}  // namespace

TEST(PaintPass, FirstPaintFitsAndTheSecondUsesTheFittedMapping) {
    PrimitiveList list;
    TenByFive(list);
    PlotView view;
    EXPECT_EQ(view.State().Geometry().divisor, 12.0);
    Host host(1000, 500);
    TraceSurface first;
    view.OnDraw(first, host, list);
    EXPECT_EQ(first.Text().rfind("window -31000 -31002 2000 1500\nviewport 1000 -500 0 500\n", 0),
              0u);
    EXPECT_EQ(host.invalidated, 1);
    EXPECT_EQ(host.waits, 0);
    EXPECT_TRUE(view.State().IsFitted());
    EXPECT_EQ(view.GetDrawnCount(), 0);  // the fit clears it
    EXPECT_EQ(view.State().Geometry().right, 3000.0f);
    EXPECT_EQ(view.State().Geometry().top, 1500.0f);
    EXPECT_EQ(view.State().Home().right, 3000.0f);
    EXPECT_FLOAT_EQ(view.State().Geometry().extentX, 3037.500244f);
    EXPECT_FLOAT_EQ(view.State().Geometry().extentY, 1518.750122f);
    EXPECT_EQ(view.State().Geometry().divisor, 1.5);

    TraceSurface second;
    view.OnDraw(second, host, list);
    EXPECT_EQ(view.GetDrawnCount(), 6);
    EXPECT_EQ(host.invalidated, 1);
    EXPECT_EQ(second.Text(),
              "window -31000 -31002 2025 1012\nviewport 1000 -500 0 500\n"
              // the first pass left blue; its Couleur takes effect from the next primitive
              "pen 0 0 255 0\npen 255 0 0 0\nmove -31000 -31000\nmove -31000 -31000\n"
              "move -31000 -31000\nline -29000 -30000\n"
              "pen 0 0 255 0\nmove -29000 -30000\nline -31000 -30000\n");
}

TEST(PaintPass, EmptyDocumentPaintsNothingAndStaysUnfitted) {
    PrimitiveList list;
    PlotView view;
    Host host(1000, 800);
    TraceSurface dc;
    PrimitiveList earlier;  // a drawing painted before leaves its count and its pen behind
    TenByFive(earlier);
    view.State().SetFitted(true);
    view.OnDraw(dc, host, earlier);
    ASSERT_GT(view.GetDrawnCount(), 0);
    view.State().SetFitted(false);
    TraceSurface fresh;
    view.OnDraw(fresh, host, list);
    EXPECT_TRUE(fresh.Calls().empty());
    EXPECT_FALSE(view.State().IsFitted());
    EXPECT_EQ(view.GetDrawnCount(), 0);
    EXPECT_EQ(view.Context().GetLastX(), -31000.0f);
}

TEST(PaintPass, PensAreRemadeOnlyWhenTheColourChanges) {
    PrimitiveList list;
    list.Append<Ligne>(PrimCode::kLigne, 1.0f, 1.0f, 2);
    list.Append<Couleur>(PrimCode::kCouleur, 1);
    list.Append<Ligne>(PrimCode::kLigne, 2.0f, 1.0f, 2);
    PlotView view;
    view.State().SetFitted(true);
    view.SetLineWidth(3);
    Host host(100, 100);
    // A colour of (1, 1, 1) left by an earlier pass: the first primitives use the stock pen.
    view.Context().SetColor(1, 1, 1);
    TraceSurface dc;
    view.OnDraw(dc, host, list);
    EXPECT_EQ(PenLines(dc.Text()), "pen 0 0 0 3\n");
    // The spare pen is made first, black, of the line width; every pen is deselected and
    // deleted at the end.
    const auto& calls = dc.Calls();
    int created = 0, deleted = 0;
    for (const TraceCall& c : calls) {
        if (c.op == TraceCall::CreatePen) ++created;
        if (c.op == TraceCall::DeletePen) ++deleted;
    }
    EXPECT_EQ(created, 2);
    EXPECT_EQ(deleted, 2);
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[calls.size() - 3].op, TraceCall::SelectPen);
    EXPECT_EQ(calls[calls.size() - 3].v[0], 0);
}

TEST(PaintPass, IncrementalZoomStopsBetweenPrimitives) {
    PrimitiveList list;
    TenByFive(list);
    PlotView view;
    Host host(1000, 500);
    view.State().SetZoomedView();
    host.stopAfter = 2;
    TraceSurface dc;
    view.OnDraw(dc, host, list);
    // Interrupted after two primitives, and the fit still happens on what was measured.
    EXPECT_TRUE(view.State().IsFitted());
    EXPECT_EQ(view.State().Geometry().right, 0.0f);
    view.State().SetFitted(true);
    host.asked = 0;
    view.OnDraw(dc, host, list);
    EXPECT_EQ(view.GetDrawnCount(), 2);

    view.State().LeaveZoomedView();  // not consulted outside incremental zoom
    host.asked = 0;
    view.OnDraw(dc, host, list);
    EXPECT_EQ(host.asked, 0);
    EXPECT_EQ(view.GetDrawnCount(), 6);
}

TEST(PaintPass, ScaleAndColourCarryOverToTheNextPass) {
    PrimitiveList list;
    list.Append<Ligne>(PrimCode::kLigne, 1.0f, 0.0f, 2);
    list.Append<Facteur>(PrimCode::kFacteur, 2.0f);
    PlotView view;
    view.State().SetFitted(true);
    ViewGeometry g = view.State().Geometry();
    g.divisor = 1.0;
    view.State().SetGeometry(g);
    Host host(100, 100);
    TraceSurface a, b;
    view.OnDraw(a, host, list);
    view.OnDraw(b, host, list);
    EXPECT_NE(a.Text().find("line -30700 -31000"), std::string::npos);
    EXPECT_NE(b.Text().find("line -30400 -31000"), std::string::npos);
}

TEST(PaintPass, PrinterMappingAndDivisorOne) {
    PrimitiveList list;
    list.Append<Ligne>(PrimCode::kLigne, 1.0f, 1.0f, 2);
    PlotView view;
    view.State().SetFitted(true);
    ViewGeometry g = view.State().Geometry();
    g.left = 150;  // panned: the page starts there
    view.State().SetGeometry(g);
    Host host(100, 100);
    TraceSurface page(true);  // 216 x 279 mm, 2550 x 3300 pixels
    view.OnDraw(page, host, list, 0);
    EXPECT_EQ(page.Text(),
              "window -31000 -31002 2551 3295\n"
              "viewport 2550 -3300 3 3299\npen 0 0 0 0\nmove -31000 -31000\n"
              "line -30850 -30700\n");

    TraceSurface fit(true);
    view.OnDraw(fit, host, list, 1);
    EXPECT_EQ(fit.Text().rfind("window -31000 -31002 24000 18000\nviewport 2548 -3298 3 3297\n", 0),
              0u);
}

TEST(PaintPass, CopyPassIsUnclippedWithThinPensAndALargerWindow) {
    PrimitiveList list;
    list.Append<Couleur>(PrimCode::kCouleur, 3);
    list.Append<Ligne>(PrimCode::kLigne, 500.0f, 1.0f, 2);
    PlotView view;
    view.SetLineWidth(4);
    ViewGeometry g = view.State().Geometry();
    g.extentX = 3037.5f;
    g.extentY = 1518.75f;
    g.divisor = 1.5;
    view.State().SetGeometry(g);
    TraceSurface dc;
    view.DrawCopy(dc, 1000, 500, list);
    EXPECT_EQ(dc.Text(),
              "window -31000 -31000 2035 1022\nviewport 1000 -500 3 499\npen 0 0 0 0\n"
              "pen 255 255 0 0\n"
              "move -31000 -31000\nline 69000 -30800\n");
    EXPECT_FALSE(view.Context().IsNoClip());
    EXPECT_EQ(view.GetDrawnCount(), 0);
}

// The samples' second paint, compared byte for byte with tests/golden/NAME.trace. Set
// KORVANE_UPDATE_GOLDEN=1 to rewrite the files after an intended change.
TEST(PaintPass, SampleTracesMatchTheGoldenFiles) {
    for (const char* name : {"site-plan", "contours", "traverse"}) {
        RecordingFeedback feedback;
        CKorvaneDoc doc(feedback);
        doc.OnOpenDocument(std::string(KORVANE_SOURCE_DIR) + "/samples/" + name + ".plt");
        FirstView view(doc, 1000, 800);
        const std::string trace = view.Trace();
        ExpectGolden(std::string(KORVANE_GOLDEN_DIR) + "/" + name + ".trace", trace);
    }
}

// The page size in millimetres is taken unrounded: whole millimetres would make a 1:1 print up
// to half a percent too large or small.
TEST(PrinterMapping, PagesInExactMillimetres) {
    struct Case {
        PageMetrics page;
        int fit;
        SurfaceMapping expected;
    };
    const Case cases[] = {
        {{2400, 3200, 203, 271}, 0, {{-31000, -31002}, {2397, 3200}, {2400, -3200}, {3, 3199}}},
        // 8.5 x 11 inches at 300 dpi: the same millimetres rounded would give 2551 x 3295.
        {{2550, 3300, 215.9, 279.4}, 0, {{-31000, -31002}, {2550, 3300}, {2550, -3300}, {3, 3299}}},
        {{2400, 3200, 203, 271}, 1, {{-31000, -31002}, {24000, 18000}, {2398, -3198}, {3, 3197}}},
    };
    ViewState state;
    for (const Case& c : cases) {
        const SurfaceMapping m = state.PrinterMapping(c.page, 300, c.fit);
        EXPECT_EQ(m.windowExt.x, c.expected.windowExt.x) << c.page.horzSize << " fit " << c.fit;
        EXPECT_EQ(m.windowExt.y, c.expected.windowExt.y) << c.page.vertSize << " fit " << c.fit;
        EXPECT_EQ(m.viewportExt.x, c.expected.viewportExt.x);
        EXPECT_EQ(m.viewportExt.y, c.expected.viewportExt.y);
        EXPECT_EQ(m.viewportOrg.x, c.expected.viewportOrg.x);
        EXPECT_EQ(m.viewportOrg.y, c.expected.viewportOrg.y);
        EXPECT_EQ(m.windowOrg.y, c.expected.windowOrg.y);
    }
}

// A drawing whose texts and markers reach beyond its lines, at angles, after an origin move.
void TextsPastTheLines(PrimitiveList& list) {
    char label[] = "WMX";
    list.Append<Ligne>(PrimCode::kLigne, 0.f, 0.f, std::int16_t(3));
    list.Append<Ligne>(PrimCode::kLigne, 5.f, 5.f, std::int16_t(2));
    list.Append<Symbole>(PrimCode::kSymbole, 1.f, 1.f, 0.2f, 0.f, std::int16_t(3), label);
    list.Append<Symbole>(PrimCode::kSymbole, 4.8f, 4.7f, 0.5f, 30.f, std::int16_t(3), label);
    list.Append<Ligne>(PrimCode::kLigne, 1.f, 0.5f, std::int16_t(-3));
    list.Append<Symspecial>(PrimCode::kSymspecial, 4.3f, 4.6f, 0.4f, 120.f, -2, 3);
    list.Append<Symbole>(PrimCode::kSymbole, 0.5f, 4.6f, 0.6f, -90.f, std::int16_t(3), label);
}

// A pass onto a surface where nothing shows skips what cannot show, yet leaves the view as a
// pass that draws does: the same extents, plotter state and count, whether it measures, paints
// fitted or zoomed in past the drawing's edges, with device text and with hidden pens.
TEST(PaintPass, APassWhereNothingShowsLeavesTheViewAsADrawnPass) {
    struct Case {
        const char* sample;  // empty: TextsPastTheLines
        const char* face;
        int hiddenPen;  // 0: none
    };
    for (const Case& c : {Case{"", "Velmaro", 0}, Case{"", "Sans", 0}, Case{"", "Velmaro", 1},
                          Case{"site-plan", "Velmaro", 0}, Case{"contours", "Velmaro", 0},
                          Case{"traverse", "Velmaro", 0}, Case{"site-plan", "Sans", 0},
                          Case{"site-plan", "Velmaro", 3}}) {
        SCOPED_TRACE(std::string(c.sample) + " " + c.face + " " + std::to_string(c.hiddenPen));
        RecordingFeedback feedback;
        CKorvaneDoc doc(feedback);
        PrimitiveList texts;
        if (*c.sample) {
            doc.OnOpenDocument(std::string(KORVANE_SOURCE_DIR) + "/samples/" + c.sample + ".plt");
        } else {
            TextsPastTheLines(texts);
        }
        const PrimitiveList& list = *c.sample ? doc.Primitives() : texts;
        PlotView drawn;
        drawn.Context().SetFaceName(c.face);
        PenSet hidden;
        if (c.hiddenPen) hidden.set(c.hiddenPen - 1);
        drawn.SetHiddenPens(hidden);
        const std::unique_ptr<PlotView> blind = drawn.Snapshot();
        Host host(1000, 800);
        for (int pass = 0; pass < 3; ++pass) {
            if (pass == 2) {  // zoomed in twice about a corner: most of the drawing lies outside
                for (PlotView* view : {&drawn, blind.get()}) {
                    view->State().ZoomAt(100, 700, true, 1000, 800);
                    view->State().ZoomAt(100, 700, true, 1000, 800);
                }
            }
            TraceSurface traced;
            BlindSurface nothing;
            drawn.OnDraw(traced, host, list);
            blind->OnDraw(nothing, host, list);
            const CPlotContext &a = drawn.Context(), &b = blind->Context();
            EXPECT_EQ(a.GetMaxX(), b.GetMaxX());
            EXPECT_EQ(a.GetMaxY(), b.GetMaxY());
            EXPECT_EQ(a.GetOriginX(), b.GetOriginX());
            EXPECT_EQ(a.GetOriginY(), b.GetOriginY());
            EXPECT_EQ(a.GetScale(), b.GetScale());
            EXPECT_EQ(a.GetLastX(), b.GetLastX());
            EXPECT_EQ(a.GetLastY(), b.GetLastY());
            EXPECT_EQ(a.GetLayerPen(), b.GetLayerPen());
            EXPECT_EQ(MakeColorRef(a.GetRed(), a.GetGreen(), a.GetBlue()),
                      MakeColorRef(b.GetRed(), b.GetGreen(), b.GetBlue()));
            EXPECT_EQ(drawn.GetDrawnCount(), blind->GetDrawnCount());
        }
    }
}
