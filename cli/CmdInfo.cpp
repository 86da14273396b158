#include "cli/Arguments.h"
#include "cli/CliFeedback.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "plot/KorvaneDoc.h"
#include "render/CountingSurface.h"
#include "view/FirstView.h"

int RunInfo(const Args& args) {
    std::vector<std::string> files;
    ConvertOptions options;
    if (int status = ParseArguments(args, 1, {}, "usage: korvane-cli info FILE", files, options)) {
        return status;
    }
    CliFeedback feedback(files[0]);
    CKorvaneDoc doc(feedback);
    if (!OpenPlot(doc, feedback, files[0])) return kExitFailure;
    // The figures of Drawing Status in a new 1000 x 800 view, once it has fitted and repainted.
    FirstView view(doc, 1000, 800);
    CountingSurface surface;
    view.Paint(surface);
    const CPlotContext& context = view.m_view.Context();
    StdOutput out;
    out.Print("primitives: %d\n", view.m_view.GetDrawnCount());
    out.Print("size: %.2f x %.2f inches\n",
              static_cast<double>(context.GetMaxX()) / context.GetResolution(),
              static_cast<double>(context.GetMaxY()) / context.GetResolution());
    return out.Finish(feedback.Messages() ? kExitInvalidRecord : kExitOk);
}
