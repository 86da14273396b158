// The runner's queue rule, hand-back, cancelling and failures; jobs on records a view paints.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <stdexcept>

#include "app/work/JobRunner.h"
#include "dxf/DxfExport.h"
#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"
#include "plot/SafeFile.h"
#include "render/TraceSurface.h"
#include "support/DxfSettingsSample.h"
#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"
#include "view/PlotView.h"
#include "view/ViewHost.h"

namespace {
// The window's thread: what the runner posts, run when the test takes it.
struct Window {
    JobRunner::Post Post() {
        return [this](std::function<void()> f) {
            std::lock_guard<std::mutex> lock(mutex);
            posted.push_back(std::move(f));
            ready.notify_one();
        };
    }
    void RunOne() {
        std::unique_lock<std::mutex> lock(mutex);
        ready.wait(lock, [this] { return !posted.empty(); });
        auto f = std::move(posted.front());
        posted.pop_front();
        f();
    }
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<std::function<void()>> posted;
};
}  // namespace

TEST(JobRunner, OneDocumentsJobsRunInTurnAndEndOnTheWindowsThread) {
    Window window;
    std::vector<std::string> ends;
    std::atomic<int> inside{0}, overlap{0};  // jobs of one document at once
    {
        JobRunner runner(window.Post());
        const int doc = 0;
        auto job = [&](int n) {
            return [&, n](JobControl&) {
                overlap += inside++ > 0;
                if (n == 1 && inside--) throw std::runtime_error("disk full");
                std::this_thread::sleep_for(std::chrono::milliseconds(n == 0 ? 20 : 0));
                --inside;
                return n;
            };
        };
        auto record = [&](JobOutcome<int> o) {
            ends.push_back(o.failure ? "failed" : std::to_string(*o.value));
        };
        for (int n = 0; n < 3; ++n) runner.Submit<int>(&doc, job(n), record);
        for (int n = 0; n < 3; ++n) window.RunOne();
        // A stop is no failure, and what the job held is let go of before the window hears.
        auto held = std::make_shared<int>(0);
        auto stopped = runner.Submit<int>(
            &doc,
            [held](JobControl& c) -> int {
                while (!c.Cancelled()) std::this_thread::yield();
                throw JobStopped();
            },
            [&, share = std::weak_ptr<int>(held)](JobOutcome<int> o) {
                const bool clean = o.cancelled && !o.failure && !o.value && share.expired();
                ends.push_back(clean ? "cancelled" : "ran on");
            });
        held.reset();
        stopped->Cancel();
        window.RunOne();
    }
    EXPECT_EQ(overlap, 0);
    EXPECT_EQ(ends, (std::vector<std::string>{"0", "failed", "2", "cancelled"}));
}

TEST(JobRunner, SaveExportCopyAndReloadWhileAnotherViewPaints) {
    TempFolder folder;
    auto records = std::make_shared<PrimitiveList>();
    for (int i = 0; i < 20000; ++i) {
        records->Append<Ligne>(PrimCode::kLigne, i % 100 * 1.0f, i % 37 * 1.0f, 2 + i % 2);
    }
    const SharedRecords shared = records;
    SafeFile::ForceNamedTemporary(true);  // the registry of temporaries, from two workers
    Window window;
    std::atomic<bool> painting{true};
    std::thread painter([&] {
        PlotView view;
        FixedSizeHost host(800, 600);
        while (painting) {
            TraceSurface surface;
            view.OnDraw(surface, host, *shared);
        }
    });
    std::vector<std::string> ends;
    {
        JobRunner runner(window.Post());
        auto save = [&](std::string path) {
            return [shared, path](JobControl&) {
                Archive out = Archive::CreateForStore(path);
                CKorvaneDoc::StorePrimitives(*shared, out);
                out.Commit();
                return path;
            };
        };
        auto ended = [&](JobOutcome<std::string> o) { ends.push_back(o.failure ? "!" : *o.value); };
        int docA = 0, docB = 0;
        runner.Submit<std::string>(&docA, save(folder.Path("a.plt")), ended);
        runner.Submit<std::string>(&docB, save(folder.Path("b.plt")), ended);
        runner.Submit<std::string>(
            &docA,
            [&](JobControl&) {
                Archive out = Archive::CreateForStore(folder.Path("a.dxf"));
                DxfSettings settings = SampleSettings();
                settings.easting[1] = settings.northing[2] = 100;  // a plane to draw on
                WriteDxf(*shared, settings, out);
                out.Commit();
                PlotView copy;
                TraceSurface picture;
                copy.DrawCopy(picture, 400, 300, *shared);
                return std::string("copied");
            },
            ended);
        runner.Submit<std::string>(
            &docA,
            [&](JobControl&) {
                RecordingFeedback feedback;
                CKorvaneDoc reloaded(feedback);
                reloaded.OnOpenDocument(folder.Path("a.plt"));
                return std::to_string(reloaded.Primitives().size());
            },
            ended);
        for (int n = 0; n < 4; ++n) window.RunOne();
    }
    painting = false;
    painter.join();
    SafeFile::ForceNamedTemporary(false);
    // The other document's save ends whenever it does; this one's jobs end in their order.
    ends.erase(std::remove(ends.begin(), ends.end(), folder.Path("b.plt")), ends.end());
    EXPECT_EQ(ends, (std::vector<std::string>{folder.Path("a.plt"), "copied", "20000"}));
}
