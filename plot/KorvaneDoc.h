#pragma once

#include <cstdint>
#include <string>

#include "dxf/DxfOut.h"
#include "plot/PrimitiveList.h"

class Archive;
class UserFeedback;

// One open plot file: the drawing in file order, and the DXF writer with its export settings.
class CKorvaneDoc {
  public:
    static constexpr const char* kCorruptionMessage = "Error: file corrumption suspected";

    explicit CKorvaneDoc(UserFeedback& feedback);
    ~CKorvaneDoc();
    CKorvaneDoc(const CKorvaneDoc&) = delete;
    CKorvaneDoc& operator=(const CKorvaneDoc&) = delete;

    // Loading runs the plot reader; storing writes every primitive in mode m_exportMode.
    void Serialize(Archive& archive);
    // Appends one primitive per record; stops at the end of the input or an invalid code.
    void ReadPrimitives(Archive& archive);

    // Opens path into this (empty) document; a file error leaves the drawing empty and throws.
    void OnOpenDocument(const std::string& path);
    // Writes the drawing in mode to path, replacing it only once everything is written. A DXF
    // export (mode 2) whose settings define no transform throws DxfExportError before the file
    // is created.
    void OnSaveDocument(const std::string& path, int mode = 1);
    // Deletes the drawing.
    void OnCloseDocument();

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }
    const std::string& GetPathName() const { return m_pathName; }

    // Byte offset in its input of the record that stopped the last read as invalid; -1 if none.
    std::int64_t m_invalidRecordAt = -1;

    PrimitiveList m_primitives;
    CDxfOut m_dxfOut;
    int m_exportMode = 1;

  private:
    UserFeedback& m_feedback;
    std::string m_pathName;
    bool m_modified = false;
};
