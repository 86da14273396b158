#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "plot/Archive.h"
#include "plot/PrimitiveList.h"
#include "plot/SaveResult.h"

// A save of a drawing that follows its read, for a conversion from plot file to plot file: the
// records go out as they come in, so the disk is at work from the start instead of after the
// whole input is read. The writing is the save's own (StorePrimitives through the safe file
// store), and nothing replaces the target before Finish. Only a head start: on any failure it
// stops quietly, and Finish saves anew, which meets the failure again and reports it as a save
// does.
class SaveAlongRead {
  public:
    explicit SaveAlongRead(std::string path) : m_path(std::move(path)) {}

    // Writes the records appended since the last call; for the document's read observer.
    void Follow(const PrimitiveList& records) noexcept;
    // Writes the rest and puts the file in place of the target; the result of a save.
    SaveResult Finish(const PrimitiveList& records);

  private:
    // Writes the records not yet written, creating the file first.
    void WriteNew(const PrimitiveList& records);

    std::string m_path;
    std::unique_ptr<Archive> m_archive;  // from the first Follow on
    std::size_t m_written = 0;           // records written so far
    bool m_failed = false;
};
