#include "cli/QtModule.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cstring>

#include "cli/Converters.h"

namespace {
// ../lib/korvane/korvane-cli-qt.so from the program's own folder, wherever it was installed.
std::string ModulePath() {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return {};
    std::string path(self, static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    return path.substr(0, slash + 1) + "../lib/korvane/korvane-cli-qt.so";
}

// Whether the loader's complaint is about memory: the module and its libraries are mapped, and
// an address-space limit makes the mapping fail.
bool LackOfMemory(const char* why) {
    for (const char* sign :
         {"failed to map segment", "cannot map zero-fill pages",
          "cannot create shared object descriptor", "allocate memory", "out of memory"}) {
        if (std::strstr(why, sign)) return true;
    }
    return false;
}

// The module's table, or null after a failure, reported unless it was the lack of memory
// (which the caller reports with the file it concerns).
struct LoadedModule {
    const QtModuleTable* table = nullptr;
    bool lackedMemory = false;
};

LoadedModule Load() {
    const std::string path = ModulePath();
    void* handle = path.empty() ? nullptr : dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = path.empty() ? "the program's own path is unknown" : dlerror();
        if (LackOfMemory(why)) return {nullptr, true};
        Fail(std::string("the module for pictures, fonts and printing could not be loaded: ") +
             why);
        return {};
    }
    using Entry = const QtModuleTable* (*)();
    auto entry = reinterpret_cast<Entry>(dlsym(handle, KORVANE_QT_MODULE_ENTRY));
    const QtModuleTable* loaded = entry ? entry() : nullptr;
    if (!loaded || loaded->version != kQtModuleVersion) {
        Fail(path + " does not belong to this korvane-cli");
        return {};
    }
    return {loaded, false};
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
