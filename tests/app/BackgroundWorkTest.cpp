#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "app/AppFixture.h"
#include "app/view/KorvaneView.h"
#include "app/work/BackgroundWork.h"

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

// Work that uses a view's drawing state runs while the view, asked to repaint, starts no paint
// of its own (it would draw through the same state); the paint follows once the work is done.
TEST_F(AppTest, AHeldViewPaintsOnlyAfterItsWork) {
    Start({Sample("site-plan.plt")});
    CKorvaneView& view = View();
    const qint64 before = view.Image().cacheKey();
    std::atomic<bool> looked{false};
    bool paintedDuringWork = true;
    QTimer::singleShot(0, [&] {
        view.Invalidate();
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
        paintedDuringWork = view.Painting() || view.Image().cacheKey() != before;
        looked = true;
    });
    EXPECT_EQ(view.RunHeld(QStringLiteral("Working..."), [&] { AwaitWindowThread(looked); }), "");
    EXPECT_FALSE(paintedDuringWork);
    view.FinishPainting();
    EXPECT_NE(view.Image().cacheKey(), before);
}
