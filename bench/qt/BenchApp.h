#pragma once

#include <QGuiApplication>
#include <clocale>
#include <cstdlib>

// Qt's painting needs an application object (a QApplication where widgets are measured);
// benchmarks render off screen. Made once.
template <class App = QGuiApplication>
void EnsureBenchApp() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    static App* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        auto* a = new App(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        return a;
    }();
    (void)app;
}
