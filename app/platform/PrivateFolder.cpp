#include "app/platform/PrivateFolder.h"

#include <sys/stat.h>

bool IsPrivateFolder(const std::string& folder, uid_t uid) {
    struct stat st;
    if (folder.empty() || folder[0] != '/' || ::lstat(folder.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == uid && (st.st_mode & 0777) == 0700;
}

std::string PrivateSocketFolder(const char* runtimeDir, const std::string& tempDir, uid_t uid) {
    std::string folder;
    if (runtimeDir && *runtimeDir) {
        folder = runtimeDir;
    } else {
        folder = tempDir + "/korvane-" + std::to_string(uid);
        ::mkdir(folder.c_str(), 0700);  // one already there, whoever made it, is checked below
    }
    return IsPrivateFolder(folder, uid) ? folder : std::string();
}
