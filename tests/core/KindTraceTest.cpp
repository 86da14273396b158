// One small drawing per record kind, its second paint compared byte for byte with
// tests/golden/kinds/KIND.trace: each file is short enough to review by eye. Every drawing sits
// in the same frame (a 4 x 3 inch rectangle, pen 1) so the view fits it alike. Set
// KORVANE_UPDATE_GOLDEN=1 to rewrite the files after an intended change.
#include <gtest/gtest.h>

#include <string>

#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"
#include "support/Golden.h"
#include "support/PlotBytes.h"
#include "support/RecordingFeedback.h"
#include "view/FirstView.h"

namespace {
PlotBytes Framed() {
    return PlotBytes().Pinit().Ligne(0, 0, 3).Ligne(4, 0, 2).Ligne(4, 3, 2).Ligne(0, 3, 2).Ligne(
        0, 0, 2);
}

struct Kind {
    const char* name;
    std::string bytes;
};

const Kind kKinds[] = {
    // Scale, origin and colour return to their defaults.
    {"pinit", Framed().Facteur(2).Couleur(2).Ligne(1, 1, -3).Pinit().Ligne(1, 1, 2).str()},
    // Pens 2 to 9 by their colours; pen 0 repeats the last pen.
    {"couleur", Framed()
                    .Couleur(2)
                    .Ligne(1, 1, 2)
                    .Couleur(5)
                    .Ligne(2, 1, 2)
                    .Couleur(9)
                    .Ligne(2, 2, 2)
                    .Couleur(0)
                    .Ligne(1, 2, 2)
                    .str()},
    // Nothing to draw.
    {"etendue", Framed().Etendue(10, 10).Ligne(2, 2, 2).str()},
    // Pen up, pen down, an origin move (-3), and the end marker that draws nothing.
    {"ligne", Framed()
                  .Ligne(1, 1, 3)
                  .Ligne(2, 1, 2)
                  .Ligne(0.5f, 0.5f, -3)
                  .Ligne(1, 1, 2)
                  .Ligne(3, 3, 999)
                  .Ligne(0, 1, 2)
                  .str()},
    // Nothing to draw.
    {"posicourante", Framed().Posicourante(1, 1, 5).Ligne(2, 2, 2).str()},
    // Half scale for what follows.
    {"facteur", Framed().Facteur(0.5f).Ligne(2, 2, 3).Ligne(4, 2, 2).str()},
    // Whole, with two decimals, and turned.
    {"nombre", Framed()
                   .Nombre(0.5f, 0.5f, 0.2f, 0, -1, -2.7f)
                   .Nombre(0.5f, 1.5f, 0.2f, 30, 2, 3.14159f)
                   .str()},
    // Text, turned text, and text at 999 placed as given.
    {"symbole", Framed()
                    .Symbole(0.5f, 0.5f, 0.2f, 0, "Ab")
                    .Symbole(2, 1, 0.15f, 45, "xyz")
                    .Symbole(999, 1, 0.2f, 0, "Z")
                    .str()},
    // A marker reached with the pen down, one reached with the pen up, one outside the table.
    {"symspecial", Framed()
                       .Symspecial(1, 1, 0.2f, 0, -2, 3)
                       .Symspecial(2, 2, 0.2f, 0, -1, 12)
                       .Symspecial(3, 1, 0.2f, 0, -2, 20)
                       .str()},
    // Full circles, one scaled.
    {"cercle", Framed().Cercle(2, 1.5f, 1).Facteur(0.5f).Cercle(2, 2, 1).str()},
    // Any colour; a negative level makes black.
    {"newcolor",
     Framed().NewColor(255, 128, 0).Ligne(1, 1, 2).NewColor(-1, 255, 255).Ligne(2, 2, 2).str()},
};

std::string Trace(const std::string& bytes) {
    RecordingFeedback feedback;
    CKorvaneDoc doc(feedback);
    Archive in = Archive::FromMemory(bytes.data(), bytes.size());
    doc.Serialize(in);
    EXPECT_TRUE(feedback.messages.empty());
    return FirstView(doc, 400, 300).Trace();
}
}  // namespace

TEST(KindTraces, EachRecordKindMatchesItsGoldenFile) {
    for (const Kind& kind : kKinds) {
        const std::string trace = Trace(kind.bytes);
        ExpectGolden(std::string(KORVANE_GOLDEN_DIR) + "/kinds/" + kind.name + ".trace", trace);
    }
}
