#pragma once

#include <string>

#include "plot/FileError.h"

// How saving or exporting a document ended. The message is what the user is told, as it stands.
struct SaveResult {
    enum class Error {
        kNone,
        kFile,           // the file could not be created or written; cause says why
        kExportRefused,  // the export settings cannot produce a sound file; nothing was written
    };

    Error error = Error::kNone;
    FileErrorCause cause = FileErrorCause::Other;
    std::string message;
    std::string path;  // the file a file error concerns

    bool Ok() const { return error == Error::kNone; }

    static SaveResult FromFileError(const FileError& e) {
        return {Error::kFile, e.Cause(), e.what(), e.Path()};
    }
};
