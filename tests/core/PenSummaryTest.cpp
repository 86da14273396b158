// Each record's DXF pen, as the pens panel counts it, the export layers it and the paint pass
// hides it; and what the panel counts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxf/DxfExport.h"
#include "plot/Archive.h"
#include "plot/DxfSettings.h"
#include "plot/PrimitiveList.h"
#include "render/CountingSurface.h"
#include "view/PenSummary.h"
#include "view/PlotView.h"
#include "view/ViewHost.h"

namespace {
constexpr ColorRef kBlack = 0, kRed = 0x0000FF, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

// Before one circle: 'p' pen a, 'c' colour a, b, c, 'i' a drawing start.
struct Change {
    char kind;
    std::int16_t a = 0, b = 0, c = 0;
};
struct PenCase {
    const char* name;
    std::vector<Change> changes;
    int pen;
    ColorRef color;  // as the view draws it
};

// The layer of the export's first CIRCLE.
std::string CircleLayer(const PrimitiveList& list, const DxfSettings& settings) {
    Archive out = Archive::ToMemory();
    WriteDxf(list, settings, out);
    const std::string& dxf = out.Memory();
    const std::size_t at = dxf.find("CIRCLE\r\n  8\r\n") + 13;
    return dxf.substr(at, dxf.find("\r\n", at) - at);
}
}  // namespace

TEST(PenSummary, PanelExportAndPaintPassPutEveryMarkOnTheSamePen) {
    const PenCase cases[] = {
        {"drawing start", {}, 1, kBlack},
        {"pen 2", {{'p', 2}}, 2, kRed},
        {"pen 9 is pen 8, drawn orange", {{'p', 9}}, 8, 0x0080FF},
        {"pen 12 is pen 8, colour kept", {{'p', 6}, {'p', 12}}, 8, kBlue},
        {"pen -5 is pen 1", {{'p', 4}, {'p', -5}}, 1, kBlack},
        {"red", {{'c', 255, 0, 0}}, 2, kRed},
        {"magenta", {{'c', 255, 0, 255}}, 7, 0xFF00FF},
        {"white, no pen's colour", {{'c', 255, 255, 255}}, 1, kWhite},
        {"511 is drawn red but is no pen's colour", {{'c', 511, 0, 0}}, 1, kRed},
        {"a drawing start resets the pen", {{'p', 5}, {'i'}}, 1, kBlack},
    };
    DxfSettings settings;
    for (int p = 0; p < kDxfPens; ++p) settings.layerName[p] = "L" + std::to_string(p + 1);
    for (const PenCase& c : cases) {
        SCOPED_TRACE(c.name);
        PrimitiveList list;
        for (const Change& ch : c.changes) {
            if (ch.kind == 'p') list.Append<Couleur>(PrimCode::kCouleur, ch.a);
            if (ch.kind == 'c') list.Append<NewColor>(PrimCode::kNewColor, ch.a, ch.b, ch.c);
            if (ch.kind == 'i') list.Append<Pinit>(PrimCode::kPinit, 0, 0);
        }
        list.Append<Cercle>(PrimCode::kCercle, 4.0f, 3.0f, 1.0f);
        const PenSummary summary = SummarizePens(list);
        for (int p = 1; p <= kDxfPens; ++p) {
            EXPECT_EQ(summary.pens[p - 1].marks, p == c.pen ? 1u : 0u) << "pen " << p;
        }
        EXPECT_EQ(summary.pens[c.pen - 1].colors, std::vector<ColorRef>{c.color});
        EXPECT_EQ(CircleLayer(list, settings), settings.layerName[c.pen - 1]);

        // Hidden, it loses its pixels, not its extents or count; hiding the others leaves it.
        for (const PenSet hidden : {PenSet().set(c.pen - 1), ~PenSet().set(c.pen - 1)}) {
            PlotView view;
            view.State().SetFitted(true);
            view.SetHiddenPens(hidden);
            FixedSizeHost host(800, 600);
            CountingSurface surface;
            view.OnDraw(surface, host, list);
            EXPECT_EQ(surface.m_arcs, hidden[c.pen - 1] ? 0 : 1);
            EXPECT_EQ(view.Context().GetMaxX(), 4.0f * RESOLUTION);
            EXPECT_EQ(view.GetDrawnCount(), static_cast<int>(list.size()));
        }
    }
}

TEST(PenSummary, CountsWhatIsDrawnWithItsColoursInOrder) {
    PrimitiveList list;
    list.Append<Ligne>(PrimCode::kLigne, 1.0f, 1.0f, 3);  // moves draw nothing
    list.Append<Ligne>(PrimCode::kLigne, 2.0f, 1.0f, 2);
    list.Append<Couleur>(PrimCode::kCouleur, 6);
    list.Append<Couleur>(PrimCode::kCouleur, 1);  // blue set, never drawn in
    list.Append<Symspecial>(PrimCode::kSymspecial, 1.0f, 1.0f, 0.1f, 0.0f, -1, 3);
    list.Append<Nombre>(PrimCode::kNombre, 1.0f, 1.0f, 0.1f, 0.0f, 2, 1.5f);
    list.Append<NewColor>(PrimCode::kNewColor, 255, 255, 255);
    list.Append<Ligne>(PrimCode::kLigne, 3.0f, 1.0f, 2);
    list.Append<Couleur>(PrimCode::kCouleur, 1);
    list.Append<Ligne>(PrimCode::kLigne, 4.0f, 1.0f, 2);  // black again: listed once
    const PenSummary summary = SummarizePens(list);
    EXPECT_EQ(summary.pens[0].marks, 5u);
    EXPECT_EQ(summary.pens[0].colors, (std::vector<ColorRef>{kBlack, kWhite}));
}
