#include "plot/FileError.h"

#include <cerrno>

namespace {
std::string Compose(FileErrorCause cause, const std::string& path, const std::string& detail) {
    std::string text = path + ": " + FileError::Describe(cause);
    if (!detail.empty()) text += " (" + detail + ")";
    return text;
}
}  // namespace

FileError::FileError(FileErrorCause cause, const std::string& path, const std::string& detail)
    : std::runtime_error(Compose(cause, path, detail)), m_cause(cause), m_path(path) {}

FileErrorCause FileError::CauseOf(int err) {
    switch (err) {
        case ENOENT:
            return FileErrorCause::NotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case EISDIR:
        case ELOOP:
            return FileErrorCause::BadPath;
        case EACCES:
        case EPERM:
        case EROFS:
            return FileErrorCause::AccessDenied;
        case ETXTBSY:
        case EBUSY:
            return FileErrorCause::Sharing;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return FileErrorCause::DiskFull;
        default:
            return FileErrorCause::Other;
    }
}

const char* FileError::Describe(FileErrorCause cause) {
    switch (cause) {
        case FileErrorCause::NotFound:
            return "file not found";
        case FileErrorCause::BadPath:
            return "invalid path";
        case FileErrorCause::AccessDenied:
            return "access denied";
        case FileErrorCause::Sharing:
            return "file in use";
        case FileErrorCause::DiskFull:
            return "disk full";
        case FileErrorCause::Other:
            break;
    }
    return "file error";
}
