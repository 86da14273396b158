#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "res/Cursors.h"

namespace {
// Share of pixels that are not transparent.
double Coverage(const QImage& image) {
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) opaque += qAlpha(image.pixel(x, y)) > 0;
    return double(opaque) / (image.width() * image.height());
}

QRect OpaqueBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128) bounds |= QRect(x, y, 1, 1);
    return bounds;
}
}  // namespace

// Every picture the application asks for by name is linked in without any set-up call and draws
// something at toolbar and high-density sizes.
TEST(Resources, EveryIconDrawsAtEverySize) {
    const char* names[] = {"new",         "open",           "save",          "copy",
                           "paste",       "insert",         "print",         "zoomed-view",
                           "normal-view", "zoom-window",    "zoom-previous", "measure",
                           "about",       "drawing-status", "korvane"};
    for (const char* name : names) {
        const QString path = QStringLiteral(":/icons/%1.svg").arg(name);
        QIcon icon(path);
        for (int size : {16, 24, 48}) {
            QImage image = icon.pixmap(size).toImage();
            ASSERT_EQ(image.size(), QSize(size, size)) << name << " at " << size;
            EXPECT_GT(Coverage(image), 0.15) << name << " at " << size;
        }
    }
}

// The cursors are 32 x 32 and their hot spots sit where the pictures put them: the window
// cursor's figure is centred on its hot spot, the zoom cursor's lens centre is drawn there.
TEST(Resources, CursorsAreCentredOnTheirHotSpots) {
    QCursor window = WindowCursor();
    QImage image = window.pixmap().toImage();
    ASSERT_EQ(image.size(), QSize(32, 32));
    QRect bounds = OpaqueBounds(image);
    EXPECT_EQ(bounds.left() + bounds.right(), 2 * window.hotSpot().x());
    EXPECT_EQ(bounds.top() + bounds.bottom(), 2 * window.hotSpot().y());

    QCursor zoom = ZoomCursor();
    image = zoom.pixmap().toImage();
    ASSERT_EQ(image.size(), QSize(32, 32));
    const QRgb centre = image.pixel(zoom.hotSpot());
    EXPECT_GT(qAlpha(centre), 200);
    EXPECT_LT(qGray(centre), 64);
}
