// PNG bytes of our own encoder: exactly the image's pixels, a palette only where it fits, and a
// size near that of Qt's encoder for the pictures we write.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <pthread.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <string>

#include "render/qt/PngWriter.h"

// While set, every thread start is refused, as under a thread or memory limit.
static std::atomic<bool> refuseThreads{false};

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attr, void* (*run)(void*),
                              void* arg) {
    using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    static const auto real = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "pthread_create"));
    return refuseThreads ? EAGAIN : real(thread, attr, run, arg);
}

namespace {
QImage Make(int w, int h, const std::function<void(QImage&)>& fill) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    fill(image);
    return image;
}

// Distinct colours, one a pixel along the first rows.
void Colours(QImage& image, int count) {
    for (int i = 0; i < count; ++i) {
        image.setPixel(i % image.width(), i / image.width(), qRgb(i & 0xFF, (i >> 8) * 40, 7));
    }
}

// Pixels that do not compress at all.
void Noise(QImage& image) {
    std::uint32_t state = 12345;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xFF000000u | (state >> 8));
        }
    }
}

// Lines across a picture of 600 x 300, or the same scaled to the image.
void Lines(QImage& image, bool antialiased) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
    painter.scale(image.width() / 600.0, image.height() / 300.0);
    for (int i = 0; i < 400; ++i) {
        painter.setPen(QPen(QColor::fromHsv(i % 40 * 9, 255, 200), 0));
        painter.drawLine(QPointF(i * 1.7, 3), QPointF(600 - i * 0.9, 297 - i * 0.3));
    }
}

// Each row a colour of its own, so that every band of rows brings colours the others lack.
void RowColours(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(y & 0xFF, y >> 8, 9));
    }
}

int ColourType(const std::string& png) {
    return static_cast<unsigned char>(png.at(25));  // IHDR's colour type byte
}

struct Case {
    const char* name;
    QImage image;
    int colourType;  // 3 palette, 2 RGB
};
}  // namespace

TEST(PngWriter, DecodesToTheSamePixelsWithAPaletteOnlyWhereItFits) {
    const Case cases[] = {
        {"one pixel", Make(1, 1, [](QImage&) {}), 3},
        {"256 colours", Make(64, 8, [](QImage& i) { Colours(i, 255); }), 3},
        {"257 colours", Make(64, 8, [](QImage& i) { Colours(i, 256); }), 2},
        {"crisp lines", Make(600, 300, [](QImage& i) { Lines(i, false); }), 3},
        {"smoothed lines", Make(600, 300, [](QImage& i) { Lines(i, true); }), 2},
        {"one row", Make(5000, 1, [](QImage& i) { Colours(i, 3000); }), 2},
        {"noise", Make(200, 150, Noise), 2},
        // Split in bands of rows: each band's colours numbered as one pass over the picture
        // would, and a palette only if all bands together fit in one.
        {"fewer rows than bands", Make(7, 3, [](QImage& i) { Colours(i, 20); }), 3},
        {"colours by row", Make(333, 201, RowColours), 3},
        {"too many colours only together", Make(65, 600, RowColours), 2},
        {"bench-sized crisp", Make(1920, 1080, [](QImage& i) { Lines(i, false); }), 3},
        {"bench-sized smoothed", Make(1921, 1079, [](QImage& i) { Lines(i, true); }), 2},
    };
    for (const Case& c : cases) {
        for (bool threads : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (threads ? "" : ", no thread starts"));
            refuseThreads = !threads;
            const std::string png = EncodePng(c.image);
            refuseThreads = false;
            ASSERT_GT(png.size(), 33u);
            EXPECT_EQ(ColourType(png), c.colourType);
            QImage back;
            ASSERT_TRUE(back.loadFromData(reinterpret_cast<const uchar*>(png.data()),
                                          static_cast<int>(png.size()), "PNG"));
            EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), c.image);
        }
    }
}

TEST(PngWriter, LineDrawingsStayNearQtsSize) {
    for (bool antialiased : {false, true}) {
        const QImage image = Make(600, 300, [&](QImage& i) { Lines(i, antialiased); });
        QByteArray qt;
        QBuffer buffer(&qt);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(image.save(&buffer, "PNG"));
        EXPECT_LE(static_cast<double>(EncodePng(image).size()), 1.3 * qt.size()) << antialiased;
    }
}
