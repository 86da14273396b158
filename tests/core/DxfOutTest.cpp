// The DXF text of the writer's operations, byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>

#include "dxf/DxfExport.h"
#include "dxf/DxfOut.h"
#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"
#include "render/StrokeFont.h"
#include "support/PlotBytes.h"
#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

namespace {
std::string Lines(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* l : lines) out += std::string(l) + "\r\n";
    return out;
}

// A writer that has begun an export into memory; Take returns what it wrote since last time.
struct Export {
    Archive out = Archive::ToMemory();
    CDxfOut dxf;
    std::size_t taken = 0;

    Export() { dxf.Begin(&out, 0, 0); }
    std::string Take() {
        const std::string& all = out.Memory();
        std::string part = all.substr(taken);
        taken = all.size();
        return part;
    }
};

std::string ExportDoc(const std::string& plot) {
    RecordingFeedback feedback;
    CKorvaneDoc doc(feedback);
    Archive in = Archive::FromMemory(plot.data(), plot.size());
    doc.Serialize(in);
    Archive out = Archive::ToMemory();
    WriteDxf(doc.Primitives(), doc.GetDxfSettings(), out);
    return out.Memory();
}

// The x of the first vertex of a pen-down line from the writer's last point, which is where a
// connecting line starts.
std::string StartOfNextLine(Export& e) {
    e.Take();
    e.dxf.Plot(9, 9, 2);
    const std::string text = e.Take();
    const std::size_t at = text.find(" 10\r\n") + 5;
    return text.substr(at, text.find("\r\n", at) - at);
}

const std::string kHeader = Lines({"  0", "SECTION", "  2", "ENTITIES"});
const std::string kTrailer = Lines({"  0", "ENDSEC", "  0", "EOF"});
}  // namespace

TEST(DxfOut, WorkedExampleByteForByte) {
    Archive out = Archive::ToMemory();
    CDxfOut dxf;
    dxf.Begin(&out, 0, 0);
    dxf.SetPen(2);
    dxf.Plot(1, 1, 3);
    dxf.Plot(2, 1, 2);
    dxf.Plot(0, 0, 999);
    EXPECT_EQ(out.Memory(), Lines({"  0", "SECTION",
                                   "  2", "ENTITIES",
                                   "  0", "POLYLINE",
                                   "  8", "1",
                                   " 62", "     1",
                                   " 66", "     1",
                                   " 70", "     8",
                                   "  0", "VERTEX",
                                   "  8", "1",
                                   " 70", "    32",
                                   " 10", "       1.000",
                                   " 20", "       1.000",
                                   " 30", "       0.000",
                                   "  0", "VERTEX",
                                   "  8", "1",
                                   " 70", "    32",
                                   " 10", "       2.000",
                                   " 20", "       1.000",
                                   " 30", "       0.000",
                                   "  0", "SEQEND",
                                   "  8", "1",
                                   " 62", "     1",
                                   "  0", "ENDSEC",
                                   "  0", "EOF"}));
}

TEST(DxfOut, DrawingsWithoutLeadingPinitStillGetHeaderAndTrailer) {
    EXPECT_EQ(ExportDoc(PlotBytes().Pinit().str()), kHeader + kTrailer);
    EXPECT_EQ(ExportDoc(""), kHeader + kTrailer);
    // A line before any Pinit is written inside the section, not lost.
    std::string lineFirst = ExportDoc(PlotBytes().Ligne(1, 1, 3).Ligne(2, 2, 2).str());
    EXPECT_EQ(lineFirst.substr(0, kHeader.size()), kHeader);
    EXPECT_NE(lineFirst.find("POLYLINE"), std::string::npos);
    EXPECT_EQ(lineFirst.substr(lineFirst.size() - kTrailer.size()), kTrailer);
    // A second Pinit resets the state but writes no second header.
    std::string twice = ExportDoc(PlotBytes().Pinit().Pinit().str());
    EXPECT_EQ(twice, kHeader + kTrailer);
}

TEST(DxfOut, DocumentSkipsHighPenCodesAndClosesPolylinesBeforeOtherPrimitives) {
    std::string dxf = ExportDoc(PlotBytes()
                                    .Pinit()
                                    .Ligne(0, 0, 3)
                                    .Ligne(1, 0, 2)
                                    .Ligne(5, 5, 999)  // skipped: not the end of the export
                                    .Ligne(1, 1, 2)
                                    .Couleur(3)  // closes the polyline
                                    .Ligne(2, 2, 2)
                                    .str());
    auto count = [&](const std::string& what) {
        std::size_t n = 0;
        for (std::size_t p = dxf.find(what); p != std::string::npos; p = dxf.find(what, p + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("\r\nPOLYLINE\r\n"), 2u);
    EXPECT_EQ(count("\r\nSEQEND\r\n"), 2u);
    EXPECT_EQ(count("\r\nENDSEC\r\n"), 1u);
    EXPECT_EQ(count("\r\nVERTEX\r\n"), 5u);
    EXPECT_EQ(dxf.substr(dxf.size() - kTrailer.size()), kTrailer);
}

TEST(DxfOut, PolylineVertexFormsAndPenUpMoves) {
    Export e;
    e.Take();
    e.dxf.Plot(3, 3, 3);  // pen up with nothing open writes nothing
    EXPECT_EQ(e.Take(), "");
    e.dxf.Plot(1, 0, 2);
    e.dxf.Plot(1, 1, -2);
    std::string text = e.Take();
    // Header vertices: "    32" and no colour; the continuing vertex: "   32" with a colour.
    EXPECT_NE(text.find(Lines({"VERTEX", "  8", "0", " 70", "    32", " 10", "       3.000"})),
              std::string::npos);
    EXPECT_NE(text.find(Lines({"VERTEX", "  8", "0", " 62", "     7", " 70", "   32", " 10",
                               "       1.000", " 20", "       1.000"})),
              std::string::npos);
    e.dxf.Plot(4, 4, 3);
    EXPECT_EQ(e.Take(), Lines({"  0", "SEQEND", "  8", "0", " 62", "     7"}));
}

TEST(DxfOut, OriginShiftAppliesFromTheNextPointOn) {
    Export e;
    e.dxf.SetFactor(2);
    e.dxf.Plot(1, 1, -3);  // placed at (2, 2) with the old shift, then the origin moves there
    EXPECT_DOUBLE_EQ(e.dxf.World()[0], 2.0);
    e.dxf.Plot(1, 0, 2);
    EXPECT_DOUBLE_EQ(e.dxf.World()[0], 4.0);
    EXPECT_DOUBLE_EQ(e.dxf.World()[1], 2.0);
    // Begin resets factor, shift and pen; an end marker leaves points and shift alone.
    e.dxf.Plot(0, 0, 999);
    e.dxf.TransformPoint(0, 0);
    EXPECT_DOUBLE_EQ(e.dxf.World()[0], 2.0);
    e.dxf.Begin(&e.out, 0, 0);
    e.dxf.TransformPoint(1, 0);
    EXPECT_EQ(e.dxf.World()[0], 1.0);
}

TEST(DxfOut, PenCodeZeroAndBelowMoveTheOriginAndPositiveCodesDoNot) {
    // (pen code, origin moved): 0 moves it as the negative codes do.
    const struct {
        std::int16_t code;
        bool shifts;
    } cases[] = {{0, true}, {-3, true}, {-2, true}, {-1, true}, {1, false}, {2, false}, {3, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        Export e;
        e.dxf.Plot(5, 7, c.code);
        e.dxf.Plot(1, 1, 3);  // the next point lands shifted, or not
        EXPECT_DOUBLE_EQ(e.dxf.World()[0], c.shifts ? 6.0 : 1.0);
        EXPECT_DOUBLE_EQ(e.dxf.World()[1], c.shifts ? 8.0 : 1.0);
    }
}

TEST(DxfOut, PensClampAndColoursSelectFromTheTable) {
    Export e;
    // The layer of the next entity: the pen index names it ("0" to "7" by default).
    auto layer = [&e] {
        e.Take();
        e.dxf.WriteCircle(0, 0, 1);
        const std::string text = e.Take();
        return text.substr(text.find("  8\r\n") + 5, 1);
    };
    e.dxf.SetPen(0);
    EXPECT_EQ(layer(), "0");
    e.dxf.SetPen(-5);
    EXPECT_EQ(layer(), "0");
    e.dxf.SetPen(12);
    EXPECT_EQ(layer(), "7");
    e.dxf.SetPenRgb(0, 255, 255);
    EXPECT_EQ(layer(), "4");
    e.dxf.SetPenRgb(255, 0, 255);
    EXPECT_EQ(layer(), "6");
    e.dxf.SetPenRgb(255, 255, 255);
    EXPECT_EQ(layer(), "0");
}

TEST(DxfOut, TextEntityWithHeightRotationAndEscapes) {
    Export e;
    e.Take();
    e.dxf.SetPen(3);
    e.dxf.WriteText(2, 3, -0.25f, -90, 5, "a\nb^c");
    EXPECT_EQ(e.Take(),
              Lines({"  0",       "TEXT",         "  8",          "2",          " 62",
                     "     2",    " 10",          "       2.000", " 20",        "       3.000",
                     " 30",       "       0.000", " 40",          "  0.250",    "210",
                     " 0.000000", "220",          " 0.000000",    "230",        " 1.000000",
                     "  1",       "a^Jb^ c",      " 50",          "   270.000", " 41",
                     "  1.000000"}));
    e.dxf.WriteText(0, 0, 1, 450, 1, "x");
    EXPECT_NE(e.Take().find(Lines({" 50", "    90.000"})), std::string::npos);
}

TEST(DxfOut, NumbersAndCircles) {
    Export e;
    e.Take();
    e.dxf.WriteNumber(0, 0, 1, 0, -1, -2.7f);
    EXPECT_NE(e.Take().find(Lines({"  1", "-2", " 50"})), std::string::npos);
    e.dxf.WriteNumber(0, 0, 1, 0, 2, 3.14159f);
    EXPECT_NE(e.Take().find(Lines({"  1", "3.14", " 50"})), std::string::npos);
    // A negative radius keeps its sign; the factor scales it.
    e.dxf.SetFactor(2);
    e.dxf.WriteCircle(1, 1, -0.5f);
    EXPECT_EQ(e.Take(),
              Lines({"  0",       "CIRCLE",       "  8",          "0",       " 62",
                     "     7",    " 10",          "       2.000", " 20",     "       2.000",
                     " 30",       "       0.000", " 40",          " -1.000", "210",
                     " 0.000000", "220",          " 0.000000",    "230",     " 1.000000"}));
    EXPECT_EQ(StartOfNextLine(e), "       2.000");
}

TEST(DxfOut, SymbolsOutsideTheTableWriteNothingAndKeepThePoint) {
    Export e;
    e.dxf.Plot(5, 5, 3);
    e.Take();
    e.dxf.WriteSymbol(1, 1, 1, 0, 2, 14);
    e.dxf.WriteSymbol(1, 1, 1, 0, 2, -1);
    EXPECT_EQ(e.Take(), "");
    EXPECT_EQ(StartOfNextLine(e), "       5.000");
}

TEST(DxfOut, SymbolDrawsAConnectingLineAndItsStrokes) {
    Export e;
    e.dxf.Plot(0, 0, 3);
    e.Take();
    e.dxf.WriteSymbol(2, 0, 1, 0, 2, 13);  // vertical bar: one pen-down stroke
    std::string text = e.Take();
    // The pen-down connection from the previous point to the symbol comes first.
    EXPECT_EQ(text.substr(0, 60).find(Lines({"  0", "LINE"})), 0u);
    EXPECT_NE(text.find(Lines({" 11", "       2.000", " 21", "       0.000"})), std::string::npos);
    const CStrokeFont::Glyph& bar = g_strokeFont.m_glyphs[14];
    int strokes = 0;
    for (int i = bar.m_first; bar.m_last > 0 && i <= bar.m_last; ++i) {
        strokes += g_strokeFont.m_strokePen[i] == 'D';
    }
    std::size_t lines = 0;
    for (std::size_t p = text.find("\r\nLINE\r\n"); p != std::string::npos;
         p = text.find("\r\nLINE\r\n", p + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, 1u + static_cast<std::size_t>(strokes));
    EXPECT_EQ(StartOfNextLine(e), "       2.000");
}

TEST(DxfOut, WritesNothingWithoutAnOutput) {
    CDxfOut dxf;
    dxf.Plot(1, 1, 2);
    dxf.WriteText(0, 0, 1, 0, 1, "x");
    dxf.Begin(nullptr, 0, 0);
    dxf.Plot(0, 0, 999);
    // The header went nowhere, yet counts as written: a later Begin writes none.
    Archive out = Archive::ToMemory();
    dxf.Begin(&out, 0, 0);
    EXPECT_EQ(out.Memory(), "");
}

TEST(DxfOut, PrintfStyleWritesTheSameBytes) {
    auto run = [](DxfNumberStyle style) {
        Archive out = Archive::ToMemory();
        CDxfOut dxf;
        dxf.SetNumberStyle(style);
        dxf.Begin(&out, 0, 0);
        dxf.SetPen(5);
        dxf.Plot(0.1f, 0.2f, 3);
        dxf.Plot(1234.5678f, -0.0625f, 2);
        dxf.WriteCircle(3, 4, 0.1875f);
        dxf.WriteText(1, 2, 0.1f, 33.3f, 2, "ok");
        dxf.Plot(0, 0, 999);
        return out.Memory();
    };
    EXPECT_EQ(run(DxfNumberStyle::kFast), run(DxfNumberStyle::kPrintf));
}

TEST(DxfExport, EachExportIsWholeWithTheSettingsOfItsTime) {
    TempFolder folder;
    RecordingFeedback feedback;
    CKorvaneDoc doc(feedback);
    const std::string plot = PlotBytes().Pinit().Couleur(2).Ligne(1, 1, 3).Ligne(2, 1, 2).str();
    Archive in = Archive::FromMemory(plot.data(), plot.size());
    doc.Serialize(in);
    doc.SetModifiedFlag();
    const std::string first = folder.Path("first.dxf"), second = folder.Path("second.dxf");
    ASSERT_TRUE(ExportDxf(doc, first).Ok());
    // An export leaves the document alone: its command marks it on the window's thread.
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), "");
    // A second export starts afresh, header included, with the settings changed in between.
    DxfSettings settings = doc.GetDxfSettings();
    settings.layerName[1] = "Road";
    doc.SetDxfSettings(settings);
    ASSERT_TRUE(ExportDxf(doc, second).Ok());
    std::string texts[2];
    for (int i = 0; i < 2; ++i) {
        Archive a = Archive::OpenForLoad(i == 0 ? first : second);
        char buf[4096];
        for (std::size_t n; (n = a.Read(buf, sizeof buf)) > 0;) texts[i].append(buf, n);
        EXPECT_EQ(texts[i].substr(0, kHeader.size()), kHeader) << i;
        EXPECT_EQ(texts[i].substr(texts[i].size() - kTrailer.size()), kTrailer) << i;
    }
    EXPECT_NE(texts[0].find(Lines({"  8", "1"})), std::string::npos);
    EXPECT_NE(texts[1].find(Lines({"  8", "Road"})), std::string::npos);
    // A file error comes back as a value and leaves the flag as it was.
    doc.SetModifiedFlag();
    const SaveResult failed = ExportDxf(doc, folder.Path("no/such/dir/x.dxf"));
    EXPECT_EQ(failed.error, SaveResult::Error::kFile);
    EXPECT_EQ(failed.cause, FileErrorCause::NotFound);
    EXPECT_TRUE(doc.IsModified());
}
