#include <cstring>

#include "cli/GisModule.h"

namespace {
int Run(const char* command, const Args& args) {
    // Caught on this side: the module's exceptions are its own.
    if (!std::strcmp(command, "convert")) return RunGuarded(RunConvert, args);
    return Fail(std::string("the GIS module has no command '") + command + "'");
}
}  // namespace

extern "C" __attribute__((visibility("default"))) const GisModuleTable* korvane_cli_gis_table() {
    static const GisModuleTable table = {kGisModuleVersion, Run};
    return &table;
}
