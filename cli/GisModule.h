#pragma once

#include "cli/Commands.h"

// What korvane-cli's GIS module (GDAL) offers the program; the version changes whenever the
// table does, so a stale module is refused.
struct GisModuleTable {
    int version;
    // Runs a whole command ("convert" to a GIS format).
    int (*run)(const char* command, const Args& args);
};

constexpr int kGisModuleVersion = 1;
#define KORVANE_GIS_MODULE_ENTRY "korvane_cli_gis_table"

// The program's side: runs command in the module, or reports why it could not be loaded.
int RunInGisModule(const char* command, const Args& args);
