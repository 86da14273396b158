#pragma once

#include <cstddef>
#include <string>

#include "plot/DxfSettings.h"

// The configuration file: a set of export settings as 20 lines of text. A new document starts
// with the settings of the file last loaded or saved, read by whoever creates the document.

// Reads a configuration file into settings as far as its text matches; the fields after the
// first mismatch keep their values. Returns the number of fields read (DxfSettings::kFieldCount
// for a whole file), or -1 when the file cannot be opened (an empty path included). A layer name
// keeps at most its first kMaxLayerName bytes.
constexpr std::size_t kMaxLayerName = 255;
int ReadDxfConfig(const std::string& path, DxfSettings& settings);
// The 20-line text.
std::string DxfConfigText(const DxfSettings& settings);
// false when the file cannot be written, in which case an existing file at path is left as it
// was.
bool WriteDxfConfig(const std::string& path, const DxfSettings& settings);

// The settings a new document starts with: the defaults, overlaid by what the configuration
// file last loaded or saved holds (nothing when the path is empty or the file unreadable).
DxfSettings NewDocumentSettings(const std::string& lastConfigPath);
