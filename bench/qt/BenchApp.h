#pragma once

#include <QGuiApplication>
#include <clocale>
#include <cstdlib>

// Qt's painting needs an application object; benchmarks render off screen. Made once.
inline void EnsureBenchApp() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        auto* a = new QGuiApplication(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        return a;
    }();
    (void)app;
}
