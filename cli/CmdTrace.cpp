#include <cstdio>
#include <string>

#include "cli/Arguments.h"
#include "cli/CliFeedback.h"
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
    CliFeedback feedback(files[0]);
    CKorvaneDoc doc(feedback);
    if (!OpenPlot(doc, files[0])) return kExitFailure;
    FirstView view(doc, options.width, options.height, options.face, options.lineWidth);
    std::fputs(view.Trace().c_str(), stdout);
    return feedback.Messages() ? kExitInvalidRecord : kExitOk;
}
