#pragma once

#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Converters.h"

class CKorvaneDoc;

// Splits a command's arguments into exactly fileCount file names and the options it accepts
// (a subset of --size, --face, --line-width, --config). Returns kExitOk, or reports the misuse
// with usage on stderr and returns kExitFailure.
int ParseArguments(const Args& args, std::size_t fileCount,
                   const std::vector<std::string>& accepted, const char* usage,
                   std::vector<std::string>& files, ConvertOptions& options);

// Opens path into doc; false after reporting the file error on stderr.
bool OpenPlot(CKorvaneDoc& doc, const std::string& path);
