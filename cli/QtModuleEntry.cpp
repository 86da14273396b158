#include <cstring>

#include "cli/Converters.h"
#include "cli/QtModule.h"

namespace {
int Run(const char* command, const Args& args) {
    // Caught on this side: the module's exceptions are its own.
    if (!std::strcmp(command, "convert")) return RunGuarded(RunConvert, args);
    if (!std::strcmp(command, "fonts")) return RunGuarded(RunFonts, args);
    if (!std::strcmp(command, "thumbnail")) return RunGuarded(RunThumbnail, args);
    if (!std::strcmp(command, "print")) return RunGuarded(RunPrint, args);
    return Fail(std::string("the Qt module has no command '") + command + "'");
}
}  // namespace

extern "C" __attribute__((visibility("default"))) const QtModuleTable* korvane_cli_qt_table() {
    static const QtModuleTable table = {kQtModuleVersion, Run, FaceInstalled};
    return &table;
}
