#include "plot/SaveAlongRead.h"

#include <exception>

#include "plot/FileError.h"
#include "plot/KorvaneDoc.h"

void SaveAlongRead::WriteNew(const PrimitiveList& records) {
    if (!m_archive) {
        m_archive =
            std::make_unique<Archive>(Archive::CreateForStore(m_path, CKorvaneDoc::kFileBlock));
    }
    CKorvaneDoc::StorePrimitives(records, *m_archive, m_written);
    m_written = records.size();
}

void SaveAlongRead::Follow(const PrimitiveList& records) noexcept {
    if (m_failed) return;
    try {
        WriteNew(records);
    } catch (const std::exception&) {  // FileError, or no memory for the store's buffer
        m_failed = true;
        m_archive.reset();  // the temporary goes; Finish meets the failure again
    }
}

SaveResult SaveAlongRead::Finish(const PrimitiveList& records) {
    if (m_failed) m_written = 0;  // saved anew, to report the failure as a save does
    m_failed = false;
    try {
        WriteNew(records);
        m_archive->Commit();
        m_archive.reset();
    } catch (const FileError& e) {
        m_archive.reset();
        return SaveResult::FromFileError(e);
    }
    return {};
}
