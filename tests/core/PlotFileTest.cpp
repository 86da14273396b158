// Reading, writing and round-tripping plot files through the document.
#include <dirent.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "dxf/DxfExport.h"
#include "plot/Archive.h"
#include "plot/FileError.h"
#include "plot/KorvaneDoc.h"
#include "support/PlotBytes.h"
#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

namespace {
struct Loaded {
    RecordingFeedback feedback;
    CKorvaneDoc doc{feedback};
};

void Load(Loaded& l, const std::string& bytes) {
    Archive a = Archive::FromMemory(bytes.data(), bytes.size());
    l.doc.Serialize(a);
}

std::string Save(CKorvaneDoc& doc) {
    Archive a = Archive::ToMemory();
    doc.Serialize(a);
    return a.Memory();
}

std::string Hex(const std::string& s) {
    std::string out;
    char buf[4];
    for (unsigned char c : s) {
        std::snprintf(buf, sizeof buf, "%02X ", c);
        out += buf;
    }
    return out;
}

// A record of the given kind, held while this lives (a line is expanded from its slot).
template <class T>
struct Held {
    PrimitiveList::PrimRef ref;
    const T* operator->() const { return static_cast<const T*>(&*ref); }
};
template <class T>
Held<T> As(const CKorvaneDoc& doc, std::size_t i) {
    return Held<T>{doc.Primitives().At(i)};
}

const std::string kSixRecords = PlotBytes()
                                    .Pinit()
                                    .Couleur(1)
                                    .Ligne(1.0f, 2.0f, 3)
                                    .Ligne(3.0f, 2.0f, 2)
                                    .Symbole(1.0f, 1.0f, 0.125f, 0.0f, "abc")
                                    .I16(-15)
                                    .I16(255)
                                    .I16(128)
                                    .I16(0)
                                    .str();
}  // namespace

TEST(PlotFile, SixRecordExampleReadsAndWritesBackTheSameBytes) {
    EXPECT_EQ(Hex(kSixRecords),
              "FF FF 00 00 00 00 FE FF 01 00 FC FF 00 00 80 3F 00 00 00 40 03 00 "
              "FC FF 00 00 40 40 00 00 00 40 02 00 F7 FF 00 00 80 3F 00 00 80 3F 00 00 00 3E "
              "00 00 00 00 03 00 61 62 63 20 F1 FF FF 00 80 00 00 00 ");
    Loaded l;
    Load(l, kSixRecords);
    ASSERT_EQ(l.doc.Primitives().size(), 6u);
    EXPECT_TRUE(l.feedback.messages.empty());
    EXPECT_EQ(As<Couleur>(l.doc, 1)->m_pen, 1);
    EXPECT_EQ(As<Ligne>(l.doc, 2)->m_x, 1.0f);
    EXPECT_EQ(As<Ligne>(l.doc, 2)->m_penCode, 3);
    EXPECT_EQ(As<Ligne>(l.doc, 3)->m_penCode, 2);
    const auto& s = As<Symbole>(l.doc, 4);
    EXPECT_EQ(s->m_height, 0.125f);
    EXPECT_EQ(s->m_length, 3);
    EXPECT_STREQ(s->m_text.get(), "abc");
    EXPECT_EQ(As<NewColor>(l.doc, 5)->m_r, 255);
    EXPECT_EQ(As<NewColor>(l.doc, 5)->m_g, 128);
    const std::string saved = Save(l.doc);
    EXPECT_EQ(saved.size(), 66u);  // 6 + 4 + 12 + 12 + 24 + 8
    EXPECT_EQ(saved, kSixRecords);
    EXPECT_EQ(l.feedback.waitDepth, 0);
    EXPECT_EQ(l.feedback.waitCount, 1);
}

TEST(PlotFile, EndsOfFileAreQuiet) {
    for (const std::string& bytes :
         {std::string(), std::string("\xFF", 1), PlotBytes().Couleur(3).Raw("\xFE").str(),
          PlotBytes().I16(-7).I16(-7).I16(-7).str()}) {
        Loaded l;
        Load(l, bytes);
        EXPECT_TRUE(l.feedback.messages.empty());
        EXPECT_EQ(l.doc.Primitives().size(), bytes.size() == 5 ? 1u : 0u);
    }
}

TEST(PlotFile, SkippedCodesConsumeOnlyTheirCode) {
    Loaded l;
    Load(l, PlotBytes().I16(-7).Couleur(3).I16(-11).I16(-13).I16(-14).Ligne(1, 2, 2).str());
    ASSERT_EQ(l.doc.Primitives().size(), 2u);
    EXPECT_EQ(As<Couleur>(l.doc, 0)->m_pen, 3);
    EXPECT_EQ(As<Ligne>(l.doc, 1)->m_y, 2.0f);
}

TEST(PlotFile, ReadLimitKeepsTheRecordsThatStartBeforeIt) {
    // Pinit at 0, lines at 6, 18 and 30 (read in place), Couleur at 42, a line at 46; 58 bytes.
    const std::string bytes = PlotBytes()
                                  .Pinit()
                                  .Ligne(1, 1, 3)
                                  .Ligne(2, 2, 2)
                                  .Ligne(3, 3, 2)
                                  .Couleur(2)
                                  .Ligne(4, 4, 2)
                                  .str();
    const struct {
        std::uint64_t limit;
        std::size_t count;
        bool limited;
    } cases[] = {{0, 0, true},  {6, 1, true},  {7, 2, true},   {19, 3, true},
                 {42, 4, true}, {43, 5, true}, {47, 6, false}, {UINT64_MAX, 6, false}};
    for (const auto& c : cases) {
        Loaded l;
        l.doc.SetReadLimit(c.limit);
        Load(l, bytes);
        EXPECT_EQ(l.doc.Primitives().size(), c.count) << "limit " << c.limit;
        EXPECT_EQ(l.doc.IsReadLimited(), c.limited) << "limit " << c.limit;
    }
}

TEST(PlotFile, InvalidCodeShowsTheMessageAndKeepsWhatCameBefore) {
    for (std::int16_t bad : {0, 1, 5, -16, 0x2F2F}) {
        Loaded l;
        Load(l, PlotBytes().Pinit().Ligne(1, 1, 2).I16(bad).Ligne(2, 2, 2).str());
        ASSERT_EQ(l.feedback.messages.size(), 1u) << bad;
        EXPECT_EQ(l.feedback.messages[0], "Error: file corrumption suspected");
        EXPECT_EQ(l.doc.Primitives().size(), 2u);
        EXPECT_EQ(l.feedback.waitDepth, 0);
    }
    Loaded text;
    Load(text, "Hello, plotter\n");
    EXPECT_EQ(text.feedback.messages.size(), 1u);
    EXPECT_TRUE(text.doc.Primitives().empty());
}

TEST(PlotFile, CouleurBelowOneRepeatsTheLastPenOfThisRead) {
    Loaded l;
    Load(l, PlotBytes().Couleur(0).Couleur(4).Couleur(0).Couleur(-1).Couleur(6).str());
    ASSERT_EQ(l.doc.Primitives().size(), 5u);
    const int expected[] = {1, 4, 4, 4, 6};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(As<Couleur>(l.doc, i)->m_pen, expected[i]) << i;

    // A second read (an insert) does not inherit pen 6.
    Load(l, PlotBytes().Couleur(-2).str());
    EXPECT_EQ(As<Couleur>(l.doc, 5)->m_pen, 1);
    // Saving writes the pen that replaced the value read.
    EXPECT_EQ(Save(l.doc).substr(0, 4), PlotBytes().Couleur(1).str());
}

TEST(PlotFile, SymboleTextPaddingAndLimits) {
    Loaded l;
    Load(l, PlotBytes()
                .Symbole(0, 0, 1, 0, "abc", 'Z')
                .Symbole(0, 0, 1, 0, "abcd")
                .Symbole(0, 0, 1, 0, std::string(511, 'x'))
                .Symbole(0, 0, -2.5f, 0, "")
                .Ligne(5, 5, 2)
                .str());
    ASSERT_EQ(l.doc.Primitives().size(), 5u);
    EXPECT_STREQ(As<Symbole>(l.doc, 0)->m_text.get(), "abc");
    EXPECT_STREQ(As<Symbole>(l.doc, 1)->m_text.get(), "abcd");
    EXPECT_EQ(std::string(As<Symbole>(l.doc, 2)->m_text.get()), std::string(511, 'x'));
    EXPECT_EQ(As<Symbole>(l.doc, 3)->m_height, 2.5f);
    EXPECT_EQ(As<Ligne>(l.doc, 4)->m_x, 5.0f);
    EXPECT_TRUE(l.feedback.messages.empty());
}

TEST(PlotFile, SymboleLengthOutsideTheBufferIsCorrupt) {
    for (std::int16_t n : {512, -1, 32767}) {
        Loaded l;
        Load(l, PlotBytes()
                    .Pinit()
                    .I16(-9)
                    .F32(0)
                    .F32(0)
                    .F32(1)
                    .F32(0)
                    .I16(n)
                    .Raw(std::string(600, 'q'))
                    .str());
        EXPECT_EQ(l.feedback.messages.size(), 1u) << n;
        EXPECT_EQ(l.doc.Primitives().size(), 1u) << n;
    }
}

TEST(PlotFile, RecordCutShortIsZeroFilledAndKept) {
    // Ligne with x and the first two bytes of y (1.0f is 00 00 80 3F): y keeps only its low half.
    Loaded l;
    Load(l, PlotBytes().I16(-4).F32(1.0f).Raw(std::string("\x00\x00", 2)).str());
    ASSERT_EQ(l.doc.Primitives().size(), 1u);
    EXPECT_EQ(As<Ligne>(l.doc, 0)->m_x, 1.0f);
    EXPECT_EQ(As<Ligne>(l.doc, 0)->m_y, 0.0f);
    EXPECT_EQ(As<Ligne>(l.doc, 0)->m_penCode, 0);

    Loaded t;
    Load(t, PlotBytes().I16(-9).F32(0).F32(0).F32(1).F32(0).I16(5).Raw("ab").str());
    ASSERT_EQ(t.doc.Primitives().size(), 1u);
    EXPECT_STREQ(As<Symbole>(t.doc, 0)->m_text.get(), "ab");
    EXPECT_TRUE(t.feedback.messages.empty());
}

TEST(PlotFile, EmbeddedZeroInTextSavesAsZeros) {
    Loaded l;
    Load(l, PlotBytes().Symbole(0, 0, 1, 0, std::string("ab\0de", 5)).str());
    EXPECT_STREQ(As<Symbole>(l.doc, 0)->m_text.get(), "ab");
    EXPECT_EQ(Save(l.doc), PlotBytes().Symbole(0, 0, 1, 0, std::string("ab\0\0\0", 5)).str());
}

namespace {
// Ten records; the writer makes heights positive, a colour out of range black and the text's
// pad a space, and keeps the rest. One record a line.
// clang-format off
std::string NormalisableRecords(float height, std::int16_t red, std::int16_t green,
                                std::int16_t blue, char pad) {
    return PlotBytes()
        .I16(-8).F32(1).F32(2).F32(height).F32(30).I16(2).F32(3.14159f)
        .I16(-10).F32(1).F32(2).F32(height).F32(0)
        .I16(-2).I16(3)
        .I16(-15).I16(red).I16(green).I16(blue)
        .I16(-15).I16(0).I16(255).I16(128)
        .Symbole(0, 0, 1, 0, "abc", pad)
        .Ligne(1, 1, 999)
        .I16(-12).F32(1).F32(1).F32(0.5f)
        .I16(-3).F32(10).F32(8)
        .I16(-5).F32(1).F32(2).F32(3)
        .I16(-6).F32(2)
        .str();
}
// clang-format on
}  // namespace

TEST(PlotFile, WriteNormalisesHeightsColoursAndPad) {
    const std::string in = NormalisableRecords(-2.5f, -1, 200, 200, '\x7F');
    const std::string expected = NormalisableRecords(2.5f, 0, 0, 0, ' ');
    Loaded l;
    Load(l, in);
    EXPECT_EQ(l.doc.Primitives().size(), 10u);
    EXPECT_EQ(Hex(Save(l.doc)), Hex(expected));
}

TEST(PlotFile, SymboleRecordSizesFollowTheTextLength) {
    for (auto [text, size] :
         {std::pair<std::string, std::size_t>{"abc", 24}, {"ab", 22}, {"", 20}}) {
        std::string buf = text + '\0';
        Symbole s(-9, 0, 0, 1, 0, static_cast<std::int16_t>(text.size()), buf.data());
        Archive a = Archive::ToMemory();
        s.Write(a);
        EXPECT_EQ(a.Memory().size(), size) << text;
    }
}

TEST(PlotFile, ExportModeSkipsLinesAboveThirteenAndWritesNoPlotBytes) {
    Loaded l;
    Load(l, kSixRecords + PlotBytes().Ligne(0, 0, 999).Ligne(0, 0, 14).str());
    Archive a = Archive::ToMemory();
    WriteDxf(l.doc.Primitives(), l.doc.GetDxfSettings(), a);
    EXPECT_EQ(l.doc.Primitives().size(), 8u);
}

namespace {
void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}
}  // namespace

TEST(PlotDocument, OpenSaveAndInsertThroughFiles) {
    TempFolder folder;
    const std::string a = folder.Path("a.plt"), b = folder.Path("b.plt");
    const std::string out = folder.Path("out.plt");
    WriteFile(a, kSixRecords);
    WriteFile(b, PlotBytes().Couleur(0).Ligne(9, 9, 2).str());
    RecordingFeedback feedback;
    CKorvaneDoc doc(feedback);
    doc.OnOpenDocument(a);
    EXPECT_EQ(doc.GetPathName(), a);
    Archive insert = Archive::OpenForLoad(b);
    doc.ReadPrimitives(insert);
    doc.OnSaveDocument(out);
    EXPECT_EQ(ReadFile(out), kSixRecords + PlotBytes().Couleur(1).Ligne(9, 9, 2).str());
    doc.OnCloseDocument();
    EXPECT_TRUE(doc.Primitives().empty());

    WriteFile(a, "");
    doc.OnOpenDocument(a);
    EXPECT_TRUE(doc.Primitives().empty());
    doc.OnSaveDocument(out);
    EXPECT_EQ(ReadFile(out), "");
}

TEST(PlotDocument, FileErrorsNameTheirCause) {
    TempFolder folder;
    RecordingFeedback feedback;
    CKorvaneDoc doc(feedback);
    try {
        doc.OnOpenDocument(folder.Path("missing.plt"));
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.Cause(), FileErrorCause::NotFound);
        EXPECT_NE(std::string(e.what()).find("missing.plt"), std::string::npos);
    }
    EXPECT_THROW(doc.OnOpenDocument(folder.Path()), FileError);
    const SaveResult saved = doc.OnSaveDocument(folder.Path("no/such/dir/out.plt"));
    EXPECT_EQ(saved.error, SaveResult::Error::kFile);
    EXPECT_EQ(saved.cause, FileErrorCause::NotFound);
}

TEST(PlotDocument, UnfinishedSaveLeavesTheOldFileAndNoTemporary) {
    TempFolder folder;
    const std::string target = folder.Path("keep.plt");
    WriteFile(target, kSixRecords);
    {
        Archive a = Archive::CreateForStore(target);
        a.Write("partial", 7);
        // Abandoned, as when the drawing's writing throws half-way.
    }
    EXPECT_EQ(ReadFile(target), kSixRecords);
    // The folder holds the target alone.
    int entries = 0;
    if (DIR* dir = opendir(folder.Path().c_str())) {
        while (dirent* e = readdir(dir))
            entries += std::string(e->d_name) != "." && std::string(e->d_name) != "..";
        closedir(dir);
    }
    EXPECT_EQ(entries, 1);
}

// A file many read blocks long, mostly lines with other records among them, so lines straddle
// the blocks' ends at every offset; read through buffers of several sizes (one smaller than a
// line) and through the document, it saves back byte for byte, and a line cut short at the end
// is zero-filled as a short record always is. The record store grows through its large blocks.
TEST(PlotDocument, LargeFilesRoundTripWhateverTheBlocks) {
    PlotBytes bytes;
    std::size_t records = 0;
    for (int i = 0; i < 60000; ++i, ++records) {
        if (i % 997 == 0) {
            bytes.Symbole(1.0f, 2.0f, 0.25f, 0.0f,
                          std::string(static_cast<std::size_t>(i % 7), 'x'));
        } else if (i % 331 == 0) {
            bytes.Couleur(static_cast<std::int16_t>(i % 8 + 1));
        } else {
            bytes.Ligne(static_cast<float>(i) * 0.5f, -static_cast<float>(i), i % 2 ? 2 : 3);
        }
    }
    const std::string whole = bytes.str();
    const std::string cut = whole + PlotBytes().Ligne(7.0f, 8.0f, 2).str().substr(0, 7);
    const std::string cutSaved = whole + PlotBytes().I16(-4).F32(7.0f).I16(0).I16(0).I16(0).str();
    TempFolder folder;
    const std::string path = folder.Path("large.plt"), out = folder.Path("out.plt");
    for (const std::string* input : {&whole, &cut}) {
        WriteFile(path, *input);
        const std::string& expected = input == &whole ? whole : cutSaved;
        for (std::size_t buffer : {std::size_t(5), std::size_t(13), std::size_t(4096)}) {
            SCOPED_TRACE(buffer);
            Loaded l;
            Archive archive = Archive::OpenForLoad(path, buffer);
            l.doc.ReadPrimitives(archive);
            EXPECT_EQ(l.doc.Primitives().size(), records + (input == &cut));
            EXPECT_TRUE(Save(l.doc) == expected);
        }
        Loaded l;
        l.doc.OnOpenDocument(path);
        ASSERT_TRUE(l.doc.OnSaveDocument(out).Ok());
        EXPECT_TRUE(ReadFile(out) == expected);
        EXPECT_FLOAT_EQ(As<Ligne>(l.doc, records - 1)->m_y, -59999.0f);
    }
}

// Writes below, at and beyond the store's buffer, in every order, reach the file in order.
TEST(PlotDocument, StoredWritesKeepTheirOrderWhateverTheirSize) {
    TempFolder folder;
    const std::string target = folder.Path("order.bin");
    for (const std::vector<std::size_t>& sizes : std::vector<std::vector<std::size_t>>{
             {3, 16, 5}, {16, 16}, {40, 1, 40}, {15, 2, 33, 0, 7}}) {
        std::string expected;
        {
            Archive a = Archive::CreateForStore(target, 16);
            for (std::size_t n : sizes) {
                const std::string block(n, static_cast<char>('a' + expected.size() % 26));
                a.Write(block.data(), block.size());
                expected += block;
            }
            a.Commit();
        }
        EXPECT_EQ(ReadFile(target), expected);
    }
}
