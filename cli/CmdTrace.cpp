#include <string>

#include "cli/Arguments.h"
#include "cli/CliFeedback.h"
#include "cli/Output.h"
#include "plot/KorvaneDoc.h"
#include "view/FirstView.h"

int RunTrace(const Args& args) {
    std::vector<std::string> files;
    ConvertOptions options;
    if (int status = ParseArguments(
            args, 1, {"--size", "--face", "--line-width"},
            "usage: korvane-cli trace FILE [--size WxH] [--face NAME] [--line-width N]", files,
            options)) {
        return status;
    }
    WarnUnknownFace(options);
    CliFeedback feedback(files[0]);
    CKorvaneDoc doc(feedback);
    if (!OpenPlot(doc, feedback, files[0])) return kExitFailure;
    FirstView view(doc, options.width, options.height, options.face, options.lineWidth);
    // Streamed: the trace of a large drawing is many times its size.
    StdOutput out;
    view.Trace([&](const std::string& piece) { out.Write(piece); });
    return out.Finish(feedback.Messages() ? kExitInvalidRecord : kExitOk);
}
