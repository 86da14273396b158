#pragma once

#include <stdexcept>
#include <string>

// A failure of the file under an archive, with the cause the user is told about.
enum class FileErrorCause { NotFound, BadPath, AccessDenied, Sharing, DiskFull, Other };

class FileError : public std::runtime_error {
  public:
    FileError(FileErrorCause cause, const std::string& path, const std::string& detail);

    FileErrorCause Cause() const { return m_cause; }
    const std::string& Path() const { return m_path; }

    // Maps an errno value to the cause it stands for.
    static FileErrorCause CauseOf(int err);
    static const char* Describe(FileErrorCause cause);

  private:
    FileErrorCause m_cause;
    std::string m_path;
};
