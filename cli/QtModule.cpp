#include "cli/QtModule.h"

#include "cli/Converters.h"
#include "cli/ModuleLoad.h"

namespace {
// The module's table, or null after a failure, reported unless it was the lack of memory
// (which the caller reports with the file it concerns).
struct LoadedModule {
    const QtModuleTable* table = nullptr;
    bool lackedMemory = false;
};

LoadedModule Load() {
    LoadedModule module;
    const auto* loaded = static_cast<const QtModuleTable*>(
        LoadModuleTable("korvane-cli-qt.so", KORVANE_QT_MODULE_ENTRY,
                        "pictures, fonts and printing", module.lackedMemory));
    if (loaded && loaded->version != kQtModuleVersion) {
        Fail("korvane-cli-qt.so does not belong to this korvane-cli");
        return module;
    }
    module.table = loaded;
    return module;
}

// Loaded on first use and kept for the rest of the process.
const LoadedModule& Module() {
    static const LoadedModule module = Load();
    return module;
}
}  // namespace

int RunInQtModule(const char* command, const Args& args) {
    const LoadedModule& module = Module();
    if (module.table) return module.table->run(command, args);
    return module.lackedMemory ? OutOfMemory(args) : kExitFailure;
}

int RunFonts(const Args& args) {
    return RunInQtModule("fonts", args);
}

int RunThumbnail(const Args& args) {
    return RunInQtModule("thumbnail", args);
}

int RunPrint(const Args& args) {
    return RunInQtModule("print", args);
}

// Without the module no face can be checked; the conversion that needs one reports the
// module's absence itself.
bool FaceInstalled(const std::string& face) {
    const QtModuleTable* module = Module().table;
    return !module || module->faceInstalled(face);
}
