#include <cstdio>

#include "cli/CliFeedback.h"
#include "cli/Commands.h"
#include "plot/FileError.h"
#include "plot/KorvaneDoc.h"

int RunInfo(const Args& args) {
    if (args.size() != 1) return Fail("usage: korvane-cli info FILE");
    CliFeedback feedback(args[0]);
    CKorvaneDoc doc(feedback);
    try {
        doc.OnOpenDocument(args[0]);
    } catch (const FileError& e) {
        return Fail(e.what());
    }
    std::printf("primitives: %zu\n", doc.m_primitives.size());
    return feedback.Messages() ? kExitInvalidRecord : kExitOk;
}
