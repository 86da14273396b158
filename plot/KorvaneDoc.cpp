#include "plot/KorvaneDoc.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "plot/Archive.h"
#include "plot/UserFeedback.h"

namespace {
// A payload read in one go: bytes missing at the end of the file stay zero, exactly as if each
// field had been read on its own.
struct Payload {
    std::uint8_t bytes[24] = {};
    std::int16_t I16(int at) const { return Archive::DecodeInt16(bytes + at); }
    float F32(int at) const { return Archive::DecodeFloat(bytes + at); }
};

// Payload sizes by code, -1 to -15; 0 for the codes that carry nothing.
constexpr int kPayloadSize[16] = {0, 4, 2, 8, 10, 12, 4, 0, 22, 18, 20, 0, 12, 0, 0, 6};
constexpr int kMaxText = 511;

class WaitCursor {
  public:
    explicit WaitCursor(UserFeedback& feedback) : m_feedback(feedback) {
        feedback.BeginWaitCursor();
    }
    ~WaitCursor() { m_feedback.EndWaitCursor(); }

  private:
    UserFeedback& m_feedback;
};
}  // namespace

CKorvaneDoc::CKorvaneDoc(UserFeedback& feedback, const DxfSettings& dxfSettings)
    : m_dxfSettings(dxfSettings), m_feedback(feedback) {}

CKorvaneDoc::~CKorvaneDoc() = default;

void CKorvaneDoc::ReadPrimitives(Archive& archive) {
    Writable().ExpectInput(archive.FileSize());  // refused before anything is read
    WaitCursor wait(m_feedback);
    // The last pen of 1 or more, for Couleur records that repeat it; pen 1 before any.
    std::int16_t lastPen = 1;
    m_invalidRecordAt = -1;
    m_readLimited = false;
    m_readStopped = false;
    std::uint64_t nextObserved = 0;  // told every megabyte
    for (;;) {
        ReadBufferedLines(archive);
        const std::uint64_t at = archive.Position();
        std::uint8_t codeBytes[2];
        if (archive.Read(codeBytes, 2) < 2) break;
        if (at >= m_readLimit) {
            m_readLimited = true;
            break;
        }
        if (m_readObserver && at >= nextObserved) {
            nextObserved = at + (std::uint64_t(1) << 20);
            if (!m_readObserver(at)) {
                m_readStopped = true;
                break;
            }
        }
        const std::int16_t code = Archive::DecodeInt16(codeBytes);
        if (code >= 0 || code < -15) {
            MarkCorrupt(at);
            break;
        }
        if (code == -7 || code == -11 || code == -13 || code == -14) continue;
        if (!ReadRecord(archive, code, lastPen)) {
            MarkCorrupt(at);
            return;
        }
    }
}

void CKorvaneDoc::MarkCorrupt(std::uint64_t at) {
    m_invalidRecordAt = static_cast<std::int64_t>(at);
    m_feedback.ShowMessage(kCorruptionMessage);
}

void CKorvaneDoc::ReadBufferedLines(Archive& archive) {
    // Lines are nearly all of a large drawing: a run of whole ones buffered is copied into the
    // list as it stands. The others, and a line cut by the end of the buffer, take the record by
    // record path.
    std::size_t available;
    const std::uint8_t* const start = archive.Buffered(available);
    // Only lines that start before the limit.
    const std::uint64_t from = archive.Position();
    const std::uint64_t room = from < m_readLimit ? m_readLimit - from : 0;
    if (room < available) {
        available = room == 0 ? 0 : std::min<std::size_t>(available, room + Ligne::kRecordSize - 1);
    }
    const std::size_t whole = available / Ligne::kRecordSize;
    std::size_t run = 0;
    while (run < whole &&
           Archive::DecodeInt16(start + run * Ligne::kRecordSize) == PrimCode::kLigne) {
        ++run;
    }
    m_primitives->AppendLineRecords(start, run);
    archive.Skip(run * Ligne::kRecordSize);
}

bool CKorvaneDoc::ReadRecord(Archive& archive, std::int16_t code, std::int16_t& lastPen) {
    Payload p;
    archive.Read(p.bytes, static_cast<std::size_t>(kPayloadSize[-code]));
    switch (code) {
        case PrimCode::kPinit:
            m_primitives->Append<Pinit>(code, p.I16(0), p.I16(2));
            break;
        case PrimCode::kCouleur: {
            std::int16_t pen = p.I16(0);
            if (pen >= 1) lastPen = pen;
            m_primitives->Append<Couleur>(code, lastPen);
            break;
        }
        case PrimCode::kEtendue:
            m_primitives->Append<Etendue>(code, p.F32(0), p.F32(4));
            break;
        case PrimCode::kLigne:
            m_primitives->Append<Ligne>(code, p.F32(0), p.F32(4), p.I16(8));
            break;
        case PrimCode::kPosicourante:
            m_primitives->Append<Posicourante>(code, p.F32(0), p.F32(4), p.F32(8));
            break;
        case PrimCode::kFacteur:
            m_primitives->Append<Facteur>(code, p.F32(0));
            break;
        case PrimCode::kNombre:
            m_primitives->Append<Nombre>(code, p.F32(0), p.F32(4), p.F32(8), p.F32(12), p.I16(16),
                                         p.F32(18));
            break;
        case PrimCode::kSymbole: {
            std::int16_t n = p.I16(16);
            // The text buffer holds 511 bytes and the pad; longer or negative is corrupt.
            if (n < 0 || n > kMaxText) return false;
            char text[kMaxText + 1];
            std::size_t want = static_cast<std::size_t>(n) + (n % 2);
            std::size_t got = archive.Read(text, want);
            for (std::size_t i = got; i < want; ++i) text[i] = 0;
            m_primitives->Append<Symbole>(code, p.F32(0), p.F32(4), p.F32(8), p.F32(12), n, text);
            break;
        }
        case PrimCode::kSymspecial:
            m_primitives->Append<Symspecial>(code, p.F32(0), p.F32(4), p.F32(8), p.F32(12),
                                             p.I16(16), p.I16(18));
            break;
        case PrimCode::kCercle:
            m_primitives->Append<Cercle>(code, p.F32(0), p.F32(4), p.F32(8));
            break;
        case PrimCode::kNewColor:
            m_primitives->Append<NewColor>(code, p.I16(0), p.I16(2), p.I16(4));
            break;
    }
    return true;
}

void CKorvaneDoc::Serialize(Archive& archive) {
    if (archive.IsLoading()) {
        ReadPrimitives(archive);
        m_primitives->ReleaseUnusedTail();
        return;
    }
    StorePrimitives(*m_primitives, archive);
}

void CKorvaneDoc::StorePrimitives(const PrimitiveList& primitives, Archive& archive,
                                  std::size_t from) {
    primitives.ForEachRun(
        from,
        [&](const std::uint8_t* records, std::size_t n) {
            archive.Write(records, n * Ligne::kRecordSize);
        },
        [&](const Prim& prim) { prim.Write(archive); });
}

void CKorvaneDoc::OnOpenDocument(const std::string& path) {
    OnCloseDocument();
    try {
        Archive archive = Archive::OpenForLoad(path, kFileBlock);
        // A regular file of length 0 is an empty drawing without a read; anything else, a pipe
        // included, is read to its end.
        if (!archive.IsEmptyFile()) Serialize(archive);
    } catch (...) {
        OnCloseDocument();
        throw;
    }
    m_pathName = path;
    m_modified = false;
}

SaveResult CKorvaneDoc::WriteRecords(const PrimitiveList& primitives, const std::string& path) {
    try {
        Archive archive = Archive::CreateForStore(path, kFileBlock);
        StorePrimitives(primitives, archive);
        archive.Commit();
    } catch (const FileError& e) {
        return SaveResult::FromFileError(e);
    }
    return {};
}

SaveResult CKorvaneDoc::OnSaveDocument(const std::string& path) {
    SaveResult result = WriteCopy(path);
    if (result.Ok()) MarkSaved(path);
    return result;
}

SaveResult CKorvaneDoc::ExportPlot(const std::string& path) {
    const std::string own = m_pathName;
    SaveResult result = OnSaveDocument(path);
    m_pathName = own;
    return result;
}

void CKorvaneDoc::InsertFile(const std::string& path) {
    Archive archive = Archive::OpenForLoad(path);
    if (!archive.IsEmptyFile()) ReadPrimitives(archive);
    m_modified = true;
}

void CKorvaneDoc::TakeInserted(CKorvaneDoc& inserted) {
    Writable().AppendAll(inserted.Writable());
    m_invalidRecordAt = inserted.m_invalidRecordAt;
    m_readLimited = inserted.m_readLimited;
    m_modified = true;
}

void CKorvaneDoc::OnCloseDocument() {
    if (m_primitives.use_count() > 1) {
        m_primitives = std::make_shared<PrimitiveList>();  // the holders keep the old drawing
    } else {
        m_primitives->Clear();
    }
}

PrimitiveList& CKorvaneDoc::Writable() {
    // Background work reads a shared drawing without a lock; changing it under them would be
    // a data race, so the work's rule forbids it and this refuses it.
    if (m_primitives.use_count() > 1) {
        throw std::logic_error("the drawing is in use by background work");
    }
    return *m_primitives;
}
