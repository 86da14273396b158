#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "plot/DxfSettings.h"
#include "plot/PrimitiveList.h"
#include "plot/SaveResult.h"

class Archive;
class UserFeedback;

// One open plot file: the drawing in file order, and the settings of its next DXF export.
class CKorvaneDoc {
  public:
    static constexpr const char* kCorruptionMessage = "Error: file corrumption suspected";

    // A new document starts with the export settings its creator hands it: those of the last
    // configuration file, or the defaults.
    explicit CKorvaneDoc(UserFeedback& feedback, const DxfSettings& dxfSettings = DxfSettings());
    ~CKorvaneDoc();
    CKorvaneDoc(const CKorvaneDoc&) = delete;
    CKorvaneDoc& operator=(const CKorvaneDoc&) = delete;

    // Loading runs the plot reader; storing writes every primitive as a plot record.
    void Serialize(Archive& archive);
    // Appends one primitive per record; stops at the end of the input or an invalid code.
    void ReadPrimitives(Archive& archive);
    // Stores primitives as plot records, from the one at index from on: a save's writing, also on
    // records shared with a worker.
    static void StorePrimitives(const PrimitiveList& primitives, Archive& archive,
                                std::size_t from = 0);
    // Files are read and written in blocks this large: few system calls, and a block stays in
    // the processor's cache.
    static constexpr std::size_t kFileBlock = 64 * 1024;

    // Opens path into this (empty) document; a file error leaves the drawing empty and throws.
    void OnOpenDocument(const std::string& path);
    // Writes the drawing as plot records to path, replacing it only once everything is written,
    // and makes path the document's file. A failure leaves any file at path as it was.
    SaveResult OnSaveDocument(const std::string& path);
    // Save As to the plot type: the records to path, replacing it only once everything is
    // written. The document keeps its own file; it is marked unmodified.
    SaveResult ExportPlot(const std::string& path);
    // The writing of both, changing nothing of the document: for a worker, whose caller marks
    // the document saved (MarkSaved) or unmodified on the window's thread.
    SaveResult WriteCopy(const std::string& path) const {
        return WriteRecords(*m_primitives, path);
    }
    // The writing of records alone, as background work does it on a shared drawing.
    static SaveResult WriteRecords(const PrimitiveList& primitives, const std::string& path);
    // The document's file is now path, as written.
    void MarkSaved(const std::string& path) {
        m_pathName = path;
        m_modified = false;
    }
    // Appends the records of the file at path to the drawing. A file that cannot be opened
    // throws FileError with the drawing unchanged; a damaged one keeps what was read.
    void InsertFile(const std::string& path);
    // Appends the records inserted, read by InsertFile into a document of their own, with that
    // read's outcome (a damaged record, the read limit); inserted is left empty.
    void TakeInserted(CKorvaneDoc& inserted);
    // Deletes the drawing.
    void OnCloseDocument();

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }
    const std::string& GetPathName() const { return m_pathName; }

    const PrimitiveList& Primitives() const { return *m_primitives; }
    // The records shared read-only with background work. Nothing changes them while a share is
    // held: reading or inserting into a shared drawing throws std::logic_error, closing it gives
    // the document a new, empty list.
    SharedRecords Records() const { return m_primitives; }
    // The settings of the next DXF export, changed by its dialog or a configuration file.
    const DxfSettings& GetDxfSettings() const { return m_dxfSettings; }
    void SetDxfSettings(const DxfSettings& settings) { m_dxfSettings = settings; }

    // Byte offset in its input of the record that stopped the last read as invalid; -1 if none.
    std::int64_t GetInvalidRecordAt() const { return m_invalidRecordAt; }
    // Reading stops before the first record that starts this many bytes or more into the input,
    // which bounds the memory and drawing work a file can ask for (the thumbnailer sets it).
    void SetReadLimit(std::uint64_t limit) { m_readLimit = limit; }
    // Whether the last read stopped at the read limit with input left unread.
    bool IsReadLimited() const { return m_readLimited; }
    // For a read off the window's thread: observer is told the input's position now and then
    // and stops the read by returning false; WasReadStopped then says so, and the drawing keeps
    // what was read (the caller drops it).
    void SetReadObserver(std::function<bool(std::uint64_t)> observer) {
        m_readObserver = std::move(observer);
    }
    bool WasReadStopped() const { return m_readStopped; }

  private:
    // Decodes the run of whole line records at the front of the archive's buffer, as far as the
    // read limit lets them start.
    void ReadBufferedLines(Archive& archive);
    // Appends the record of code whose payload follows; false when the record is corrupt.
    bool ReadRecord(Archive& archive, std::int16_t code, std::int16_t& lastPen);
    void MarkCorrupt(std::uint64_t at);

    std::int64_t m_invalidRecordAt = -1;
    std::uint64_t m_readLimit = UINT64_MAX;
    bool m_readLimited = false;
    bool m_readStopped = false;
    std::function<bool(std::uint64_t)> m_readObserver;
    // The list records are read into, which nobody else may hold then.
    PrimitiveList& Writable();

    std::shared_ptr<PrimitiveList> m_primitives = std::make_shared<PrimitiveList>();
    DxfSettings m_dxfSettings;
    UserFeedback& m_feedback;
    std::string m_pathName;
    bool m_modified = false;
};
