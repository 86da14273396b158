#include <cstdio>

#include "cli/Arguments.h"
#include "cli/CliFeedback.h"
#include "cli/Commands.h"
#include "plot/KorvaneDoc.h"
#include "render/CountingSurface.h"
#include "view/FirstView.h"

int RunInfo(const Args& args) {
    if (args.size() != 1) return Fail("usage: korvane-cli info FILE");
    CliFeedback feedback(args[0]);
    CKorvaneDoc doc(feedback);
    if (!OpenPlot(doc, args[0])) return kExitFailure;
    // The figures of Drawing Status in a new 1000 x 800 view, once it has fitted and repainted.
    FirstView view(doc, 1000, 800);
    CountingSurface surface;
    view.Paint(surface);
    const CPlotContext& context = view.m_view.m_context;
    std::printf("primitives: %d\n", view.m_view.m_drawnCount);
    std::printf("size: %.2f x %.2f inches\n",
                static_cast<double>(context.GetMaxX()) / context.GetResolution(),
                static_cast<double>(context.GetMaxY()) / context.GetResolution());
    return feedback.Messages() ? kExitInvalidRecord : kExitOk;
}
