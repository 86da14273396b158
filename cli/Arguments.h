#pragma once

#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Converters.h"

class CKorvaneDoc;
class CliFeedback;

// Splits a command's arguments into exactly fileCount file names and the options it accepts
// (a subset of --size, --face, --line-width, --config); "--" ends the options, so later
// arguments are file names even when they start with a dash. Returns kExitOk, or reports the
// misuse with usage on stderr and returns kExitFailure.
int ParseArguments(const Args& args, std::size_t fileCount,
                   const std::vector<std::string>& accepted, const char* usage,
                   std::vector<std::string>& files, ConvertOptions& options);

// Warns on stderr when the text face asked for is none of the installed font families.
void WarnUnknownFace(const ConvertOptions& options);

// Opens path into doc; false after reporting the file error on stderr. The feedback the
// document was made with learns where an invalid record lies, for its message.
bool OpenPlot(CKorvaneDoc& doc, CliFeedback& feedback, const std::string& path);

// For a command whose output is of one kind only: exit status 1 after saying why on stderr when
// out is the input itself (by device and inode) or an existing file that is neither empty nor
// starts with magic (a file of another kind, most likely named by a slip); kExitOk otherwise.
int RefuseForeignOutput(const std::string& in, const std::string& out, const std::string& magic,
                        const char* kind);

// For a conversion of an input whose reading reported an invalid record: exit status 2 after
// saying why on stderr when nothing must be written (not a single record was read, or out is
// the input file itself, by device and inode); kExitOk when out may get what was read.
int RefuseDamagedOverwrite(const CKorvaneDoc& doc, const CliFeedback& feedback,
                           const std::string& in, const std::string& out);
