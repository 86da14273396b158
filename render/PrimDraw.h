#pragma once

#include "plot/Prim.h"
#include "render/PlotContext.h"

// The colour the view draws a Couleur of pen in, into rgb; false (rgb untouched) for a pen the
// view ignores, which keeps the colour before it.
bool CouleurColor(std::int16_t pen, std::uint8_t rgb[3]);

// Draws records through a plot context onto the surface attached to it, at the view's offset
// (resolution units) and zoom divisor. One painter serves a whole paint pass.
class PrimPainter final : public PrimVisitor {
  public:
    PrimPainter(CPlotContext& context, const PlotMapping& mapping)
        : m_context(context), m_mapping(mapping) {}

    void Visit(const Pinit& prim) override;
    void Visit(const Couleur& prim) override;
    void Visit(const Etendue&) override {}
    void Visit(const Ligne& prim) override;
    void Visit(const Posicourante&) override {}
    void Visit(const Facteur& prim) override;
    void Visit(const Nombre& prim) override;
    void Visit(const Symbole& prim) override;
    void Visit(const Symspecial& prim) override;
    void Visit(const Cercle& prim) override;
    void Visit(const NewColor& prim) override;

  private:
    CPlotContext& m_context;
    PlotMapping m_mapping;
};

// One record drawn on its own, as a paint pass would draw it at that point.
inline void DrawPrim(const Prim& prim, CPlotContext& context, const PlotMapping& mapping) {
    PrimPainter painter(context, mapping);
    prim.Accept(painter);
}

// Liang-Barsky clipping of a segment to a rectangle; false when wholly outside.
bool ClipLine(double& x0, double& y0, double& x1, double& y1, double xMin, double xMax, double yMin,
              double yMax);
