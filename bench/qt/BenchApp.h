#pragma once

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <clocale>
#include <cstdlib>

#include "render/qt/QPainterSurface.h"

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

// One paint of view into image per iteration of state, erased first and antialiased as the
// viewer paints. View is a FirstView (view/FirstView.h).
template <class State, class View>
void PaintEachIteration(State& state, View& view, QImage& image) {
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterSurface surface(painter);
        view.Paint(surface);
    }
}
