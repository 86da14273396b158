#include "cli/ModuleLoad.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "cli/Commands.h"

namespace {
// ../lib/korvane/<file> from the program's own folder, wherever it was installed.
std::string ModulePath(const char* file) {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return {};
    std::string path(self, static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    return path.substr(0, slash + 1) + "../lib/korvane/" + file;
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
}  // namespace

const void* LoadModuleTable(const char* file, const char* entry, const char* what,
                            bool& lackedMemory) {
    lackedMemory = false;
    const std::string path = ModulePath(file);
    void* handle = path.empty() ? nullptr : dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = path.empty() ? "the program's own path is unknown" : dlerror();
        if (LackOfMemory(why)) {
            lackedMemory = true;
        } else {
            Fail(std::string("the module for ") + what + " could not be loaded: " + why);
        }
        return nullptr;
    }
    using Entry = const void* (*)();
    auto entryPoint = reinterpret_cast<Entry>(dlsym(handle, entry));
    const void* table = entryPoint ? entryPoint() : nullptr;
    if (!table) Fail(path + " does not belong to this korvane-cli");
    return table;
}
