#include <cstdio>
#include <string>

#include "cli/CliFeedback.h"
#include "cli/Commands.h"
#include "plot/FileError.h"
#include "plot/KorvaneDoc.h"
#include "view/FirstView.h"

namespace {
const char* kUsage = "usage: korvane-cli trace FILE [--size WxH] [--face NAME] [--line-width N]";
}

int RunTrace(const Args& args) {
    std::string file, face = "Velmaro";
    int width = 1000, height = 800, lineWidth = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--size" || a == "--face" || a == "--line-width") {
            if (i + 1 >= args.size()) return Fail("trace: " + a + " needs a value");
            const std::string& value = args[++i];
            if (a == "--size" && !ParseSize(value, width, height)) {
                return Fail("trace: --size takes WxH, for example 1000x800");
            }
            if (a == "--face") face = value;
            if (a == "--line-width") {
                char tail = 0;
                if (std::sscanf(value.c_str(), "%d%c", &lineWidth, &tail) != 1 || lineWidth < 0 ||
                    lineWidth > 1000) {
                    return Fail("trace: --line-width takes a whole number from 0 to 1000");
                }
            }
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            return Fail("trace: unknown option " + a);
        } else if (file.empty()) {
            file = a;
        } else {
            return Fail(kUsage);
        }
    }
    if (file.empty()) return Fail(kUsage);

    CliFeedback feedback(file);
    CKorvaneDoc doc(feedback);
    try {
        doc.OnOpenDocument(file);
    } catch (const FileError& e) {
        return Fail(e.what());
    }
    FirstView view(doc, width, height, face, lineWidth);
    std::fputs(view.Trace().c_str(), stdout);
    return feedback.Messages() ? kExitInvalidRecord : kExitOk;
}
