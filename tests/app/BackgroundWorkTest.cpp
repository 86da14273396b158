#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "app/AppFixture.h"
#include "app/commands/ClipboardCopy.h"
#include "app/document/OpenDrawing.h"
#include "app/view/KorvaneView.h"
#include "app/work/BackgroundWork.h"
#include "plot/KorvaneDoc.h"

namespace {
// Waits in the worker, at most ten seconds, for the window's thread to set done.
void AwaitWindowThread(const std::atomic<bool>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}
}  // namespace

// While the work runs the window's event loop keeps going (a timer fires and is seen by the
// work), but typing and closing reach no window and what waits for idleness waits; afterwards
// all of it works again.
TEST(BackgroundWork, TheLoopRunsWhileInputIsHeld) {
    BackgroundWork background;
    QLineEdit window;
    window.show();
    std::atomic<bool> timerFired{false};
    bool closedDuringWork = true;
    int idleActions = 0;
    QTimer::singleShot(0, [&] {
        QTest::keyClicks(&window, QStringLiteral("ab"));
        closedDuringWork = window.close();
        background.WhenIdle(&window, [&] { idleActions += 1; });  // say, a file changed on disk
        timerFired = true;
    });
    bool workSawTimer = false;
    const QString failure = background.Run(&window, QStringLiteral("Working..."), [&] {
        AwaitWindowThread(timerFired);
        workSawTimer = timerFired;
    });
    EXPECT_TRUE(workSawTimer && failure.isEmpty());
    EXPECT_EQ(idleActions, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(idleActions, 1);
    background.WhenIdle(&window, [&] { idleActions += 1; });
    EXPECT_EQ(idleActions, 2);
    EXPECT_EQ(window.text(), QString());
    EXPECT_FALSE(closedDuringWork);
    EXPECT_TRUE(window.isVisible());

    QTest::keyClicks(&window, QStringLiteral("ab"));
    EXPECT_EQ(window.text(), QStringLiteral("ab"));
    EXPECT_TRUE(window.close());
}

TEST(BackgroundWork, AFailureComesBackToTheCallerAsAMessage) {
    EXPECT_EQ(BackgroundWork().Run(nullptr, "Copying...", [] { throw std::bad_alloc(); }),
              "Copying failed: not enough memory.");
}

// Work on a view's snapshot leaves the view itself free: asked to repaint meanwhile, it paints,
// and the work's view is a copy that draws like it.
TEST_F(AppTest, AViewPaintsWhileWorkPaintsItsSnapshot) {
    Start({Sample("site-plan.plt")});
    CKorvaneView& view = View();
    view.FinishPainting();
    const qint64 before = view.Image().cacheKey();
    std::atomic<bool> looked{false};
    QTimer::singleShot(0, [&] {
        view.Invalidate();
        view.FinishPainting();
        looked = true;
    });
    bool ownCopy = false;
    std::unique_ptr<QMimeData> copy;
    const QString failure = view.RunOnSnapshot(
        QStringLiteral("Working..."),
        [&](PlotView& shot, const PrimitiveList& primitives, JobControl&) {
            AwaitWindowThread(looked);
            ownCopy = &shot != &view.View() &&
                      shot.State().Mapping().divisor == view.View().State().Mapping().divisor;
            copy = CopyPicture(shot, primitives, 200, 100);
        });
    EXPECT_EQ(failure, "");
    EXPECT_TRUE(ownCopy);
    EXPECT_NE(view.Image().cacheKey(), before);
    ASSERT_TRUE(copy);
    EXPECT_FALSE(copy->data(QStringLiteral("image/svg+xml")).isEmpty());
    // A copy asked to stop gives no picture, so the clipboard keeps what it held.
    EXPECT_EQ(CopyPicture(*view.View().Snapshot(), view.GetDocument().Doc().Primitives(), 200, 100,
                          [] { return true; }),
              nullptr);
}
