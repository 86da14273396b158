// A save written along the read must come out as the usual save of the whole drawing, however
// the reading cut it, and leave the target alone until it is finished.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"
#include "plot/Prim.h"
#include "plot/PrimitiveList.h"
#include "plot/SaveAlongRead.h"

namespace {
std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Add(PrimitiveList& list, int count) {
    for (int i = 0; i < count; ++i) {
        if (i % 500 == 7) {
            list.Append<Cercle>(PrimCode::kCercle, 1.0f * i, 2.0f, 3.0f);
        } else {
            list.Append<Ligne>(PrimCode::kLigne, 0.5f * i, -0.25f * i,
                               static_cast<std::int16_t>(i % 9));
        }
    }
}
}  // namespace

TEST(SaveAlongRead, WritesWhatTheUsualSaveWritesAndReplacesOnlyWhenFinished) {
    // (records appended between the reader's calls, target read-only): no call at all, calls
    // cutting chunks and runs, a call with nothing new; a refused target fails as a save does.
    const struct {
        std::vector<int> steps;
        bool readOnly;
    } cases[] = {{{}, false}, {{1, 5000, 0, 4100, 3}, false}, {{2000, 2000}, true}};
    const std::string target = ::testing::TempDir() + "along.plt";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps.size());
        std::remove(target.c_str());
        std::ofstream(target, std::ios::binary) << "old";
        ::chmod(target.c_str(), c.readOnly ? 0444 : 0644);
        PrimitiveList list;
        SaveAlongRead along(target);
        for (const int step : c.steps) {
            Add(list, step);
            along.Follow(list);
            EXPECT_EQ(Read(target), "old");
        }
        Add(list, 10);
        const SaveResult saved = along.Finish(list);
        Archive whole = Archive::ToMemory();
        CKorvaneDoc::StorePrimitives(list, whole);
        EXPECT_EQ(saved.Ok(), !c.readOnly);
        EXPECT_EQ(Read(target), c.readOnly ? "old" : whole.Memory());
    }
}
