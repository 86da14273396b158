#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "app/BackgroundWork.h"

// While the work runs the window's event loop keeps going (a timer fires and is seen by the
// work), but typing and closing reach no window; afterwards both work again.
TEST(BackgroundWork, TheLoopRunsWhileInputIsHeld) {
    QLineEdit window;
    window.show();
    std::atomic<bool> timerFired{false};
    bool closedDuringWork = true;
    QTimer::singleShot(0, [&] {
        QTest::keyClicks(&window, QStringLiteral("ab"));
        closedDuringWork = window.close();
        timerFired = true;
    });
    bool workSawTimer = false;
    RunInBackground(&window, QStringLiteral("Working..."), [&] {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!timerFired && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        workSawTimer = timerFired;
    });
    EXPECT_TRUE(workSawTimer);
    EXPECT_EQ(window.text(), QString());
    EXPECT_FALSE(closedDuringWork);
    EXPECT_TRUE(window.isVisible());

    QTest::keyClicks(&window, QStringLiteral("ab"));
    EXPECT_EQ(window.text(), QStringLiteral("ab"));
    EXPECT_TRUE(window.close());
}

TEST(BackgroundWork, AFailureComesBackToTheCaller) {
    EXPECT_THROW(RunInBackground(nullptr, QStringLiteral("Working..."),
                                 [] { throw std::runtime_error("disk gone"); }),
                 std::runtime_error);
}
