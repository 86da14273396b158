// A recorded paint played by several players at once: each must get every call, in order, with
// the pens and fonts it was recorded with, however the calls fall into chunks.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "plot/KorvaneDoc.h"
#include "render/SurfaceRecording.h"
#include "render/TraceSurface.h"
#include "support/RecordingFeedback.h"
#include "view/FirstView.h"

namespace {
struct Case {
    const char* sample;
    std::size_t chunkCalls;  // small chunks put pens, fonts and texts across their edges
    std::size_t chunksAhead;
    int players;
};

class SurfaceRecordingPlay : public ::testing::TestWithParam<Case> {};

TEST_P(SurfaceRecordingPlay, GivesEveryPlayerThePaintAsDrawnDirectly) {
    const Case& c = GetParam();
    RecordingFeedback feedback;
    CKorvaneDoc doc(feedback);
    doc.OnOpenDocument(std::string(KORVANE_SOURCE_DIR) + "/samples/" + c.sample);
    FirstView view(doc, 800, 600);
    TraceSurface direct;
    view.Paint(direct);

    TraceSurface device;
    SurfaceRecording recording(device, c.players, c.chunkCalls, c.chunksAhead);
    std::vector<TraceSurface> played(static_cast<std::size_t>(c.players));
    std::vector<std::thread> players;
    for (int i = 0; i < c.players; ++i) {
        players.emplace_back([&, i] { recording.Play(played[static_cast<std::size_t>(i)], i); });
    }
    view.Paint(recording);
    recording.Close();
    for (std::thread& player : players) player.join();
    for (const TraceSurface& surface : played) EXPECT_EQ(surface.Text(), direct.Text());
}

INSTANTIATE_TEST_SUITE_P(Samples, SurfaceRecordingPlay,
                         ::testing::Values(Case{"site-plan.plt", 7, 1, 3},
                                           Case{"contours.plt", 16384, 8, 2},
                                           Case{"traverse.plt", 64, 2, 1}));

// A player that fails leaves; the pass must not wait for it, and the others still get it all.
TEST(SurfaceRecording, APlayerThatLeavesDoesNotHoldUpThePass) {
    TraceSurface device, expected, played;
    SurfaceRecording recording(device, 2, 4, 1);
    recording.Leave(1);
    std::thread player([&] { recording.Play(played, 0); });
    for (int i = 0; i < 1000; ++i) {
        recording.LineTo(i, -i);
        expected.LineTo(i, -i);
    }
    recording.Close();
    player.join();
    EXPECT_EQ(played.Text(), expected.Text());
}
}  // namespace
