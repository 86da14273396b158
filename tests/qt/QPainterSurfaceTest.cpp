// The QPainter surface on images and SVG: mapping, pens, arcs, text and batching.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <clocale>
#include <cstdlib>
#include <functional>
#include <vector>

#include "render/qt/QPainterSurface.h"

namespace {
constexpr ColorRef kRed = 0x0000FF;

// A 200 x 100 white image with a screen-like mapping: window (0, 0) extent (400, 100) into a
// viewport of (200, -100) at (0, 100), so one logical unit is half a pixel and y grows upward.
QImage Draw(const std::function<void(QPainterSurface&)>& draw) {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QPainterSurface s(painter);
    s.SetMapModeIsotropic();
    s.SetWindowOrg(0, 0);
    s.SetWindowExt(400, 100);
    s.SetViewportExt(200, -100);
    s.SetViewportOrg(0, 100);
    draw(s);
    return image;
}

bool IsWhite(const QImage& image, int x, int y) {
    return image.pixel(x, y) == qRgb(255, 255, 255);
}

int DarkPixels(const QImage& image, QRect area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) n += !IsWhite(image, x, y);
    }
    return n;
}
}  // namespace

TEST(QPainterSurface, IsotropicMappingAndPens) {
    const QImage image = Draw([](QPainterSurface& s) {
        s.MoveTo(0, 20);
        s.LineTo(400, 20);  // stock pen: black, y = 100 - 10
        const DrawSurface::Handle red = s.CreatePen(0, kRed);
        s.SelectPen(red);
        s.MoveTo(100, 0);
        s.LineTo(100, 100);  // x = 50, from y 100 up to 50
    });
    EXPECT_EQ(image.pixel(120, 90), qRgb(0, 0, 0));
    EXPECT_TRUE(IsWhite(image, 120, 85));
    EXPECT_EQ(image.pixel(50, 60), qRgb(255, 0, 0));
    EXPECT_TRUE(IsWhite(image, 50, 40));  // the isotropic scale is the smaller one: 0.5
    EXPECT_TRUE(IsWhite(image, 55, 60));
}

TEST(QPainterSurface, LineWidthIsInLogicalUnits) {
    const QImage image = Draw([](QPainterSurface& s) {
        s.SelectPen(s.CreatePen(20, 0));  // 10 pixels wide
        s.MoveTo(0, 100);
        s.LineTo(400, 100);
    });
    EXPECT_FALSE(IsWhite(image, 100, 47));
    EXPECT_FALSE(IsWhite(image, 100, 53));
    EXPECT_TRUE(IsWhite(image, 100, 60));
}

TEST(QPainterSurface, FullArcIsACircleOutline) {
    const QImage image = Draw([](QPainterSurface& s) {
        s.Arc(100, 20, 180, 100, 100, 20, 100, 20);  // centre (140, 60), radius 40 -> 20 px
    });
    EXPECT_TRUE(IsWhite(image, 70, 60));                    // centre stays empty
    EXPECT_GT(DarkPixels(image, QRect(48, 38, 5, 44)), 0);  // left side
    EXPECT_GT(DarkPixels(image, QRect(88, 38, 5, 44)), 0);  // right side
    EXPECT_EQ(DarkPixels(image, QRect(0, 0, 45, 100)), 0);  // nothing beyond it
}

TEST(QPainterSurface, DeviceTextOnTheBaselineTurnedByTheEscapement) {
    auto text = [](int escapement) {
        return Draw([escapement](QPainterSurface& s) {
            DeviceFontRequest request;
            request.height = 40;  // 20 pixels of cell
            request.escapement = escapement;
            request.faceName = "DejaVu Sans";
            const DrawSurface::Handle font = s.CreateFont(request);
            const DrawSurface::Handle old = s.SelectFont(font);
            s.SetTextColor(kRed);
            s.SetTextAlign(TA_BASELINE_LEFT);
            s.SetBkMode(BK_TRANSPARENT);
            s.ExtTextOut(200, 100, "HHH", 3);  // device (100, 50)
            s.SelectFont(old);
            s.DeleteFont(font);
        });
    };
    const QImage flat = text(0);
    EXPECT_GT(DarkPixels(flat, QRect(100, 35, 30, 15)), 20);  // above the baseline, rightward
    EXPECT_EQ(DarkPixels(flat, QRect(100, 52, 60, 20)), 0);   // nothing below it
    EXPECT_EQ(DarkPixels(flat, QRect(0, 0, 98, 100)), 0);     // nor left of the point
    EXPECT_EQ(flat.pixel(flat.width() - 1, 0), qRgb(255, 255, 255));
    // A plot angle of 90 (escapement -900) climbs from the point, as stroke text does.
    const QImage up = text(-900);
    EXPECT_GT(DarkPixels(up, QRect(85, 20, 15, 30)), 20);
    EXPECT_EQ(DarkPixels(up, QRect(105, 0, 95, 100)), 0);
    EXPECT_EQ(DarkPixels(up, QRect(0, 52, 200, 48)), 0);  // nothing below the baseline point
}

TEST(QPainterSurface, ManyLinesAreAllDrawnAcrossBatches) {
    const QImage image = Draw([](QPainterSurface& s) {
        for (int i = 0; i < 10000; ++i) {
            const int x = i % 400;
            s.MoveTo(x, 0);
            s.LineTo(x, i < 9999 ? 10 : 100);
        }
    });
    EXPECT_FALSE(IsWhite(image, 199, 60));  // the very last line, drawn by the final flush
}

// Segments of no length repeat the same dot many times over in a drawing at a small scale; the
// picture must be the one all the segments give, smoothed or not, for one-pixel pens and wide
// ones, dots on and between pixels, over lines, before a line that ends on them and after a pen
// change.
TEST(QPainterSurface, RepeatedDotsDrawTheSamePictureAsAllTheSegments) {
    struct Segment {
        int x0, y0, x1, y1;
    };
    const std::vector<Segment> segments = {
        {10, 10, 300, 90},  {101, 51, 101, 51}, {101, 51, 101, 51}, {101, 51, 101, 51},
        {150, 72, 150, 72}, {170, 90, 150, 72}, {140, 60, 160, 80}, {150, 72, 150, 72},
        {150, 72, 150, 72}, {33, 7, 33, 7},     {33, 7, 34, 7},     {34, 7, 34, 7},
    };
    for (bool smooth : {false, true}) {
        for (int width : {0, 3}) {
            SCOPED_TRACE(testing::Message() << "smooth " << smooth << ", width " << width);
            QImage viaSurface(200, 100, QImage::Format_RGB32), direct = viaSurface;
            viaSurface.fill(Qt::white);
            direct.fill(Qt::white);
            {
                QPainter painter(&viaSurface);
                painter.setRenderHint(QPainter::Antialiasing, smooth);
                QPainterSurface s(painter);
                s.SetMapModeIsotropic();
                s.SetWindowExt(400, 100);
                s.SetViewportExt(200, -100);
                s.SetViewportOrg(0, 100);
                s.SelectPen(s.CreatePen(width, kRed));
                for (std::size_t i = 0; i < segments.size(); ++i) {
                    if (i == 8) s.SelectPen(s.CreatePen(width, 0x00FF00));
                    s.MoveTo(segments[i].x0, segments[i].y0);
                    s.LineTo(segments[i].x1, segments[i].y1);
                }
            }
            // The same segments in one batch per pen, as the surface hands them over.
            QPainter painter(&direct);
            painter.setRenderHint(QPainter::Antialiasing, smooth);
            for (int batch = 0; batch < 2; ++batch) {
                QPen pen(batch == 0 ? QColor(255, 0, 0) : QColor(0, 255, 0), width * 0.5);
                pen.setCapStyle(Qt::RoundCap);
                pen.setJoinStyle(Qt::RoundJoin);
                pen.setCosmetic(width == 0);
                painter.setPen(pen);
                std::vector<QLineF> lines;
                for (std::size_t i = batch == 0 ? 0 : 8; i < (batch == 0 ? 8 : segments.size());
                     ++i) {
                    const Segment& g = segments[i];
                    lines.emplace_back(QPointF(g.x0 * 0.5, 100 - g.y0 * 0.5),
                                       QPointF(g.x1 * 0.5, 100 - g.y1 * 0.5));
                }
                painter.drawLines(lines.data(), static_cast<int>(lines.size()));
            }
            painter.end();
            EXPECT_TRUE(viaSurface == direct);
        }
    }
}

TEST(QPainterSurface, SvgKeepsEachConnectedRunAsOnePolyline) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(200, 100));
    {
        QPainter painter(&svg);
        QPainterSurface s(painter, true);
        s.SetWindowExt(200, 100);
        s.SetViewportExt(200, 100);
        // Segments drawn as the plot does: each its own move and line, joined end to start.
        const int run[][2] = {{0, 0}, {10, 0}, {10, 10}, {20, 10}, {20, 30}};
        for (int i = 1; i < 5; ++i) {
            s.MoveTo(run[i - 1][0], run[i - 1][1]);
            s.LineTo(run[i][0], run[i][1]);
        }
        s.MoveTo(50, 50);  // a break starts a second run
        s.LineTo(60, 50);
        s.SelectPen(s.CreatePen(0, kRed));  // a new pen starts a third
        s.MoveTo(60, 50);
        s.LineTo(70, 50);
    }
    EXPECT_EQ(bytes.count("<polyline"), 3);
    EXPECT_TRUE(bytes.contains("points=\"0,0 10,0 10,10 20,10 20,30 \""));
}

TEST(QPainterSurface, DeviceCapsComeFromThePaintDevice) {
    QImage image(300, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    QPainterSurface s(painter);
    EXPECT_EQ(s.GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_EQ(s.GetDeviceCaps(HORZRES), 300);
    EXPECT_EQ(s.GetDeviceCaps(VERTRES), 200);
    EXPECT_FALSE(s.IsPrinting());
}

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
