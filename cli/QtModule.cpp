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

bool g_moduleLackedMemory = false;

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

// Loaded on first use and kept for the rest of the process; null after reporting a failure
// (except lack of memory, which the caller reports with the file it concerns).
const QtModuleTable* Module() {
    static const QtModuleTable* table = nullptr;
    static bool tried = false;
    if (tried) return table;
    tried = true;
    const std::string path = ModulePath();
    void* handle = path.empty() ? nullptr : dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = path.empty() ? "the program's own path is unknown" : dlerror();
        g_moduleLackedMemory = LackOfMemory(why);
        if (g_moduleLackedMemory) return nullptr;
        Fail(std::string("the module for pictures, fonts and printing could not be loaded: ") +
             why);
        return nullptr;
    }
    using Entry = const QtModuleTable* (*)();
    auto entry = reinterpret_cast<Entry>(dlsym(handle, KORVANE_QT_MODULE_ENTRY));
    const QtModuleTable* loaded = entry ? entry() : nullptr;
    if (!loaded || loaded->version != kQtModuleVersion) {
        Fail(path + " does not belong to this korvane-cli");
        return nullptr;
    }
    table = loaded;
    return table;
}
}  // namespace

int RunInQtModule(const char* command, const Args& args) {
    const QtModuleTable* module = Module();
    if (module) return module->run(command, args);
    return g_moduleLackedMemory ? OutOfMemory(args) : kExitFailure;
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
    const QtModuleTable* module = Module();
    return !module || module->faceInstalled(face);
}
