#pragma once

#include <cstring>
#include <string>

#include "plot/Prim.h"
#include "render/PlotContext.h"
#include "render/PrimDraw.h"
#include "render/TraceSurface.h"

// A context drawing on a trace surface mapped like a screen paint with divisor 1 and the view's
// corner at resolution (0, 0): logical = resolution units - 31000.
struct DrawFixture {
    DrawFixture() {
        surface.SetMapModeIsotropic();
        surface.SetWindowOrg(-31000, -31002);
        surface.SetWindowExt(2000, 1000);
        context.SetDC(&surface);
        Drawn();
    }
    void Draw(const Prim& prim, double divisor = 1.0) { DrawPrim(prim, context, {0, 0, divisor}); }
    // What has been drawn since the last call, as trace lines.
    std::string Drawn() {
        std::string all = surface.Text();
        std::string fresh = all.substr(seen);
        seen = all.size();
        return fresh;
    }

    TraceSurface surface;
    CPlotContext context;
    std::size_t seen = 0;
};

inline Symbole MakeSymbole(float x, float y, float height, float angle, const std::string& text) {
    std::string buffer = text + '\0';
    return Symbole(PrimCode::kSymbole, x, y, height, angle, static_cast<std::int16_t>(text.size()),
                   buffer.data());
}
