#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdlib>

// The platform comes from QT_QPA_PLATFORM: offscreen in the suite, xcb under Xvfb for the lock
// keys.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
