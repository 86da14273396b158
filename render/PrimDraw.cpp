#include "plot/Prim.h"
#include "render/PlotContext.h"

// Drawing arrives with the rendering work; until then primitives draw nothing.
void Prim::Draw(CPlotContext&, float, float, double) const {}
void Pinit::Draw(CPlotContext&, float, float, double) const {}
void Couleur::Draw(CPlotContext&, float, float, double) const {}
void Ligne::Draw(CPlotContext&, float, float, double) const {}
void Facteur::Draw(CPlotContext&, float, float, double) const {}
void Nombre::Draw(CPlotContext&, float, float, double) const {}
void Symbole::Draw(CPlotContext&, float, float, double) const {}
void Symspecial::Draw(CPlotContext&, float, float, double) const {}
void Cercle::Draw(CPlotContext&, float, float, double) const {}
void NewColor::Draw(CPlotContext&, float, float, double) const {}
bool Prim::ClipEdge(double, double, double&, double&) { return true; }
bool Prim::ClipLine(double&, double&, double&, double&, double, double, double, double) {
    return true;
}
