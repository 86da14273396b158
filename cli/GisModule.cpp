#include "cli/GisModule.h"

#include "cli/ModuleLoad.h"

int RunInGisModule(const char* command, const Args& args) {
    bool lackedMemory = false;
    const auto* module = static_cast<const GisModuleTable*>(LoadModuleTable(
        "korvane-cli-gis.so", KORVANE_GIS_MODULE_ENTRY, "GIS formats (GDAL)", lackedMemory));
    if (module && module->version != kGisModuleVersion) {
        return Fail("korvane-cli-gis.so does not belong to this korvane-cli");
    }
    if (module) return module->run(command, args);
    return lackedMemory ? OutOfMemory(args) : kExitFailure;
}
