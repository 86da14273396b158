#include "gis/GisStore.h"

#include <cpl_string.h>
#include <cpl_vsi.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "plot/Archive.h"
#include "plot/FileError.h"

namespace {
std::string BaseName(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const std::size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void MakeFolder(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return;
    if (mkdir(path.c_str(), 0777) != 0) {
        throw FileError(FileError::CauseOf(errno), path, "cannot create the folder");
    }
}

void StoreFile(const std::string& memoryPath, const std::string& path) {
    vsi_l_offset length = 0;
    const GByte* data = VSIGetMemFileBuffer(memoryPath.c_str(), &length, FALSE);
    Archive archive = Archive::CreateForStore(path);
    if (data && length) archive.Write(data, static_cast<std::size_t>(length));
    archive.Commit();
}
}  // namespace

MemoryFolder::MemoryFolder() {
    static std::atomic<unsigned> next{0};
    m_folder = "/vsimem/korvane-gis-" + std::to_string(getpid()) + "-" +
               std::to_string(next.fetch_add(1)) + "/";
    VSIMkdir(m_folder.c_str(), 0777);
}

MemoryFolder::~MemoryFolder() {
    VSIRmdirRecursive(m_folder.c_str());
}

std::string MemoryFolder::PathFor(const std::string& output) const {
    return m_folder + BaseName(output);
}

void MemoryFolder::StoreAt(const std::string& output) const {
    const std::string name = BaseName(output);
    const std::string beside = FolderOf(output);
    char** entries = VSIReadDirRecursive(m_folder.c_str());
    try {
        // Folders in the first pass, so the files of the second have where to go.
        for (const bool folders : {true, false}) {
            for (char** e = entries; e && *e; ++e) {
                std::string relative = *e;
                while (!relative.empty() && relative.back() == '/') relative.pop_back();
                const std::string memoryPath = m_folder + relative;
                VSIStatBufL st;
                if (VSIStatL(memoryPath.c_str(), &st) != 0) continue;
                if (static_cast<bool>(VSI_ISDIR(st.st_mode)) != folders) continue;
                const std::string target = relative == name ? output
                                           : relative.rfind(name + "/", 0) == 0
                                               ? output + relative.substr(name.size())
                                               : beside + relative;
                if (folders) {
                    MakeFolder(target);
                } else {
                    StoreFile(memoryPath, target);
                }
            }
        }
    } catch (...) {
        CSLDestroy(entries);
        throw;
    }
    CSLDestroy(entries);
}
