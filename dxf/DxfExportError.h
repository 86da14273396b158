#pragma once

#include <stdexcept>
#include <string>

// An export the writer refuses because its settings cannot produce a sound file. Thrown before
// anything is written; the desktop and the command-line tool show what() as it stands.
class DxfExportError : public std::runtime_error {
  public:
    explicit DxfExportError(const std::string& message) : std::runtime_error(message) {}
};
