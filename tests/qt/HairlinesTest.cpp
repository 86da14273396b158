// Antialiased hairlines drawn into the image directly must be Qt's own pixels.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <functional>
#include <random>
#include <vector>

#include "render/qt/Hairlines.h"

namespace {
struct Case {
    const char* name;
    std::vector<QLineF> lines;
    std::function<void(QPainter&)> state;  // what the painter is set to before drawing
};

std::vector<QLineF> Random(int count, double reach, double length, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> at(-reach, 300 + reach), d(-length, length);
    std::vector<QLineF> lines;
    for (int i = 0; i < count; ++i) {
        const QPointF p(at(rng), at(rng) * 0.6);
        lines.emplace_back(p, p + QPointF(d(rng), d(rng)));
    }
    return lines;
}

QImage Paint(const Case& c, bool ours, bool antialias, QImage::Format format, Qt::PenCapStyle cap) {
    QImage image(300, 180, format);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, antialias);
    for (int pass = 0; pass < 2; ++pass) {  // a second colour over the first
        QPen pen(pass ? QColor(200, 30, 60) : QColor(20, 90, 160), 0);
        pen.setCapStyle(cap);
        painter.setPen(pen);
        if (c.state) c.state(painter);
        const auto* lines = c.lines.data() + pass * (c.lines.size() / 2);
        const int count = static_cast<int>(c.lines.size() / 2);
        if (!ours) {
            painter.drawLines(lines, count);
        } else {
            EXPECT_TRUE(Hairlines::Applies(painter));
            Hairlines(painter, pen.color().rgba(), cap != Qt::FlatCap).Draw(lines, count);
        }
    }
    return image;
}
}  // namespace

TEST(Hairlines, DrawQtsPixels) {
    const std::vector<Case> cases = {
        {"long lines across and beyond the image", Random(400, 200, 900, 1), {}},
        {"short segments", Random(4000, 5, 6, 2), {}},
        {"sub-pixel segments and dots",
         [] {
             auto lines = Random(2000, 2, 0.7, 3);
             for (int i = 0; i < 200; ++i)
                 lines.emplace_back(QPointF(i * 1.37, i * 0.5), QPointF(i * 1.37, i * 0.5));
             return lines;
         }(),
         {}},
        {"far beyond the image",
         {{{-1e9, 50}, {1e9, 60}},
          {{1e12, 1e12}, {1e12, 1e12}},
          {{-3e9, 1e9}, {2e9, -1e9}},
          {{40, -1e10}, {41, 1e10}},
          {{-1e12, 7}, {-1e12, 7}},
          {{5, 5}, {6, 6}}},
         {}},
        {"axis-parallel on and between pixel centres",
         [] {
             std::vector<QLineF> lines;
             for (int i = 0; i < 60; ++i) {
                 lines.emplace_back(QPointF(-5, i * 3.25), QPointF(320, i * 3.25));
                 lines.emplace_back(QPointF(i * 5.5, -3), QPointF(i * 5.5, 190));
             }
             return lines;
         }(),
         {}},
        {"translated", Random(1000, 20, 40, 4),
         [](QPainter& p) { p.setTransform(QTransform::fromTranslate(7, -3)); }},
        {"clipped to a rectangle", Random(1000, 20, 60, 5),
         [](QPainter& p) { p.setClipRect(QRect(40, 30, 150, 90)); }},
        {"long lines through a band of rows", Random(600, 200, 900, 6),
         [](QPainter& p) { p.setClipRect(QRect(0, 71, 300, 23)); }},
        {"long lines through a band of columns", Random(600, 200, 900, 7),
         [](QPainter& p) { p.setClipRect(QRect(101, 0, 17, 180)); }},
    };
    for (const Case& c : cases) {
        for (bool aa : {true, false})
            for (QImage::Format format :
                 {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
                for (Qt::PenCapStyle cap : {Qt::RoundCap, Qt::FlatCap}) {
                    if (!aa && cap == Qt::FlatCap) continue;  // left to Qt
                    const QImage qt = Paint(c, false, aa, format, cap),
                                 ours = Paint(c, true, aa, format, cap);
                    int differing = 0;
                    for (int y = 0; y < qt.height(); ++y)
                        for (int x = 0; x < qt.width(); ++x)
                            differing += qt.pixel(x, y) != ours.pixel(x, y);
                    EXPECT_EQ(differing, 0) << c.name << (aa ? ", antialiased" : ", crisp")
                                            << ", format " << format << ", cap " << cap;
                }
            }
    }
}

TEST(Hairlines, LeaveOtherPaintersToQt) {
    QImage image(10, 10, QImage::Format_RGB32), indexed(10, 10, QImage::Format_Grayscale8);
    const std::vector<std::function<void(QPainter&)>> states = {
        [](QPainter& p) { p.setPen(QPen(Qt::black, 2)); },
        [](QPainter& p) { p.setPen(QColor(0, 0, 0, 128)); },
        [](QPainter& p) { p.setOpacity(0.5); },
        [](QPainter& p) {
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QPen(Qt::black, 0, Qt::SolidLine, Qt::FlatCap));
        },
        [](QPainter& p) { p.scale(2, 2); },
        [](QPainter& p) { p.setCompositionMode(QPainter::CompositionMode_Multiply); },
        [](QPainter& p) { p.setClipRegion(QRegion(0, 0, 2, 2) + QRegion(5, 5, 2, 2)); },
        [](QPainter& p) { p.setPen(QPen(Qt::black, 0, Qt::DashLine)); },
    };
    for (const auto& state : states) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 0));
        ASSERT_TRUE(Hairlines::Applies(painter));
        state(painter);
        EXPECT_FALSE(Hairlines::Applies(painter));
    }
    QPainter painter(&indexed);
    painter.setRenderHint(QPainter::Antialiasing);
    EXPECT_FALSE(Hairlines::Applies(painter));
}
