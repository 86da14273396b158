#include "view/PenSummary.h"

#include <algorithm>

#include "plot/PrimitiveList.h"
#include "render/PlotContext.h"
#include "render/PrimDraw.h"

namespace {
// The pen and colour changes go through the painter itself (they touch no surface), so the
// colours are those the view draws and the pens those the export and the paint pass use.
class PenScan final : public PrimVisitor {
  public:
    explicit PenScan(PenSummary& out) : m_out(out) {}

    void Visit(const Pinit& p) override { Follow(p); }
    void Visit(const Couleur& p) override { Follow(p); }
    void Visit(const NewColor& p) override { Follow(p); }
    void Visit(const Etendue&) override {}
    void Visit(const Posicourante&) override {}
    void Visit(const Facteur&) override {}
    void Visit(const Ligne& p) override {
        if (p.m_penCode == 2) Mark();  // the only code the view draws a line for
    }
    void Visit(const Nombre&) override { Mark(); }
    void Visit(const Symbole&) override { Mark(); }
    void Visit(const Symspecial&) override { Mark(); }
    void Visit(const Cercle&) override { Mark(); }

  private:
    template <class Change>
    void Follow(const Change& change) {
        m_painter.Visit(change);
        m_noted = false;
    }
    void Mark() {
        PenUse& use = m_out.pens[m_context.GetLayerPen() - 1];
        ++use.marks;
        if (m_noted) return;  // the colour has not changed since this pen's last mark
        m_noted = true;
        const ColorRef color =
            MakeColorRef(m_context.GetRed(), m_context.GetGreen(), m_context.GetBlue());
        if (std::find(use.colors.begin(), use.colors.end(), color) != use.colors.end()) return;
        if (use.colors.size() < PenUse::kMaxColors) {
            use.colors.push_back(color);
        } else {
            use.moreColors = true;
        }
    }

    PenSummary& m_out;
    CPlotContext m_context;
    PrimPainter m_painter{m_context, PlotMapping{0, 0, 1}};
    bool m_noted = false;
};
}  // namespace

PenSummary SummarizePens(const PrimitiveList& primitives) {
    PenSummary summary;
    PenScan scan(summary);
    primitives.ForEach([&](const Prim& prim) {
        prim.Accept(scan);
        return true;
    });
    return summary;
}
