// The bundled samples are what other work is checked against: each must be a clean plot that
// uses every kind of record and the variants the drawing code has to get right.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"
#include "support/RecordingFeedback.h"

namespace {
class SampleFiles : public ::testing::TestWithParam<const char*> {};

TEST_P(SampleFiles, AreCleanPlotsWithEveryKindOfRecord) {
    RecordingFeedback feedback;
    CKorvaneDoc doc(feedback);
    doc.OnOpenDocument(std::string(KORVANE_SOURCE_DIR) + "/samples/" + GetParam());
    EXPECT_TRUE(feedback.messages.empty());
    ASSERT_GT(doc.Primitives().size(), 1000u);
    EXPECT_EQ(doc.Primitives().At(0)->GetCode(), PrimCode::kPinit);

    std::set<int> codes, penActions, pens;
    std::set<float> angles;
    bool originShift = false;
    for (const Prim& p : doc.Primitives()) {
        codes.insert(p.GetCode());
        if (auto* l = dynamic_cast<const Ligne*>(&p)) originShift |= l->m_penCode == -3;
        if (auto* s = dynamic_cast<const Symspecial*>(&p)) penActions.insert(s->m_penAction);
        if (auto* s = dynamic_cast<const Symbole*>(&p)) angles.insert(s->m_angle);
        if (auto* n = dynamic_cast<const Nombre*>(&p)) angles.insert(n->m_angle);
        if (auto* c = dynamic_cast<const Couleur*>(&p)) pens.insert(c->m_pen);
    }
    EXPECT_EQ(codes.size(), 11u);
    EXPECT_TRUE(originShift);
    EXPECT_TRUE(penActions.count(-1));
    EXPECT_TRUE(penActions.count(-2) || std::string(GetParam()) == "contours.plt");
    EXPECT_GE(pens.size(), 5u);
    EXPECT_TRUE(angles.count(0.0f) && angles.count(90.0f));
}

INSTANTIATE_TEST_SUITE_P(Bundled, SampleFiles,
                         ::testing::Values("site-plan.plt", "contours.plt", "traverse.plt"));

TEST(SampleFiles, SitePlanLabelsAtSlantedAngles) {
    RecordingFeedback feedback;
    CKorvaneDoc doc(feedback);
    doc.OnOpenDocument(std::string(KORVANE_SOURCE_DIR) + "/samples/site-plan.plt");
    std::set<float> angles;
    for (const Prim& p : doc.Primitives())
        if (auto* s = dynamic_cast<const Symbole*>(&p)) angles.insert(s->m_angle);
    EXPECT_TRUE(angles.count(30.0f));
    EXPECT_TRUE(angles.count(-45.0f));
}

std::string Save(CKorvaneDoc& doc) {
    Archive out = Archive::ToMemory();
    doc.Serialize(out);
    return out.Memory();
}

// A file cut anywhere (a copy broken off, a disk full) still reads quietly, and what it reads
// saves as a whole plot: complete records only, read back to the same bytes.
TEST(SampleFiles, EveryCutOfASampleReadsAndSavesWhole) {
    std::ifstream in(std::string(KORVANE_SOURCE_DIR) + "/samples/traverse.plt", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 1500u);
    for (std::size_t cut = 0; cut <= 1500; ++cut) {
        RecordingFeedback feedback;
        CKorvaneDoc doc(feedback);
        Archive part = Archive::FromMemory(bytes.data(), cut);
        doc.Serialize(part);
        ASSERT_TRUE(feedback.messages.empty()) << "cut at " << cut;
        const std::string saved = Save(doc);
        // Up to the cut the save is the sample itself; past it, at most one completed record.
        ASSERT_EQ(saved.compare(0, cut - cut % 2, bytes, 0, cut - cut % 2), 0) << "cut at " << cut;
        ASSERT_GE(saved.size(), cut - cut % 2);

        RecordingFeedback again;
        CKorvaneDoc reread(again);
        Archive back = Archive::FromMemory(saved.data(), saved.size());
        reread.Serialize(back);
        ASSERT_TRUE(again.messages.empty());
        ASSERT_EQ(reread.Primitives().size(), doc.Primitives().size());
        ASSERT_EQ(Save(reread), saved) << "cut at " << cut;
    }
}
}  // namespace
