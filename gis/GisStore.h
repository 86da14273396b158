#pragma once

#include <string>

// A folder of GDAL's in-memory file system that an export wrote into, removed with all it holds
// when this goes.
class MemoryFolder {
  public:
    MemoryFolder();
    ~MemoryFolder();
    MemoryFolder(const MemoryFolder&) = delete;
    MemoryFolder& operator=(const MemoryFolder&) = delete;

    // The in-memory path standing for the output path: its file name inside this folder.
    std::string PathFor(const std::string& output) const;

    // Stores what the export wrote through the safe-write routine, file after file: the output
    // itself, a folder of the output's name as that folder (made if missing), side files beside
    // the output. Throws FileError for the first file that cannot be stored.
    void StoreAt(const std::string& output) const;

  private:
    std::string m_folder;
};
