#pragma once

#include <string>

class CDxfOut;

// The path of the configuration file last loaded or saved, read by every new document.
extern std::string g_cfgFilePath;

// The 34 export settings as the export dialog and the configuration file hold them.
struct DxfParameters {
    static constexpr int kFieldCount = 34;

    std::string layerName[8];
    int layerColor[8] = {};
    double easting[3] = {}, northing[3] = {}, elevation[3] = {}, paperX[3] = {}, paperY[3] = {};
    int unitsIndex = 0;  // 0 metric, 1 imperial
    double originalScale = 0;
    int conversionIndex = 0;  // 0 normal, 1 scaled
};

// The writer's settings as the export dialog shows them, and back ('S' and 'I' for non-zero).
DxfParameters ParametersOf(const CDxfOut& writer);
void ApplyParameters(const DxfParameters& parameters, CDxfOut& writer);

// Reads a configuration file into parameters as far as its text matches; the fields after the
// first mismatch keep their values. Returns the number of fields read, or -1 when the file
// cannot be opened. A layer name keeps at most its first kMaxLayerName bytes.
constexpr std::size_t kMaxLayerName = 255;
int ReadDxfConfig(const std::string& path, DxfParameters& parameters);
// The 20-line text; false when the file cannot be written, in which case an existing file at
// path is left as it was.
std::string DxfConfigText(const DxfParameters& parameters);
bool WriteDxfConfig(const std::string& path, const DxfParameters& parameters);

// A new document's load: the settings of the file at path over the writer's, nothing when path
// is empty or unreadable. Returns what ReadDxfConfig returned (-1 for an empty path).
int LoadDocumentConfig(CDxfOut& writer, const std::string& path);
