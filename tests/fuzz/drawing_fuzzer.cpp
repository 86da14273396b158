// Feeds arbitrary bytes through everything a drawing goes through after it is read: the first
// and second paint of a new view (stroke font and a device face, on the trace surface), the
// clipboard pass, and the DXF export in normal and scaled conversion. Nothing may crash or hit
// undefined behaviour, and every export must be a complete file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "dxf/DxfExport.h"
#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"
#include "render/TraceSurface.h"
#include "support/RecordingFeedback.h"
#include "view/FirstView.h"

namespace {

void Export(const CKorvaneDoc& doc) {
    Archive out = Archive::ToMemory();
    WriteDxf(doc.Primitives(), doc.GetDxfSettings(), out);
    const std::string& text = out.Memory();
    FuzzCheck(text.rfind("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n", 0) == 0, "export without header");
    const std::string trailer = "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    FuzzCheck(text.size() >= trailer.size() &&
                  text.compare(text.size() - trailer.size(), trailer.size(), trailer) == 0,
              "export without its trailer");
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RecordingFeedback feedback;
    CKorvaneDoc doc(feedback);
    Archive in = Archive::FromMemory(data, size);
    doc.Serialize(in);

    for (const char* face : {"Velmaro", "DejaVu Sans"}) {
        FirstView view(doc, 640, 480, face, 1);
        view.Trace();
        TraceSurface copy;
        view.m_view.DrawCopy(copy, 640, 480, doc.Primitives());
    }

    Export(doc);
    // A tilted plane at survey coordinates, scale 1:500.
    DxfSettings dxf = doc.GetDxfSettings();
    dxf.conversionIndex = 1;
    dxf.originalScale = 500;
    const double paper[3][2] = {{1.5, 2.5}, {30, 2.5}, {30, 20}};
    const double world[3][3] = {
        {500000, 5000000, 100}, {500362, 5000000, 100.4}, {500362, 5000222, 111.5}};
    for (int k = 0; k < 3; ++k) {
        dxf.paperX[k] = paper[k][0];
        dxf.paperY[k] = paper[k][1];
        dxf.easting[k] = world[k][0];
        dxf.northing[k] = world[k][1];
        dxf.elevation[k] = world[k][2];
    }
    doc.SetDxfSettings(dxf);
    Export(doc);
    return 0;
}
