#pragma once

#include <string>

#include "cli/Commands.h"

// What korvane-cli's Qt module offers the program. Both sides are built from this one
// declaration; the version changes whenever the table does, so a stale module is refused.
struct QtModuleTable {
    int version;
    // Runs a whole command ("convert" to a picture, "fonts", "thumbnail", "print").
    int (*run)(const char* command, const Args& args);
    bool (*faceInstalled)(const std::string& face);
};

constexpr int kQtModuleVersion = 1;
#define KORVANE_QT_MODULE_ENTRY "korvane_cli_qt_table"

// The program's side: runs command in the module, or reports why it could not be loaded.
int RunInQtModule(const char* command, const Args& args);
