// A PNG painted in bands on several threads has the pixels of one painter over the whole
// picture, crisp or antialiased, whatever the number of bands: lines and texts across band
// edges included.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <string>

#include "plot/KorvaneDoc.h"
#include "render/qt/PictureWriter.h"
#include "render/qt/QPainterSurface.h"
#include "support/RecordingFeedback.h"
#include "view/FirstView.h"

namespace {
struct Case {
    const char* sample;
    bool antialias;
    int threads;
};

class PictureBands : public ::testing::TestWithParam<Case> {};

TEST_P(PictureBands, PaintTheSamePixelsAsOnePainter) {
    const Case& c = GetParam();
    RecordingFeedback feedback;
    CKorvaneDoc doc(feedback);
    doc.OnOpenDocument(std::string(KORVANE_SOURCE_DIR) + "/samples/" + c.sample);
    const int width = 640, height = 473;  // bands of unequal heights
    // One painter over the whole picture, as a picture was painted before bands.
    QImage expected(width, height, QImage::Format_RGB32);
    {
        QPainter painter(&expected);
        painter.setRenderHint(QPainter::Antialiasing, c.antialias);
        painter.fillRect(expected.rect(), Qt::white);
        QPainterSurface surface(painter);
        FirstView(doc, width, height).Paint(surface);
    }
    QTemporaryDir dir;
    const std::string banded = dir.filePath("banded.png").toStdString();
    FirstView view(doc, width, height);
    const SurfacePainter paint = [&](DrawSurface& surface) { view.Paint(surface); };
    ASSERT_EQ(WritePng(banded, width, height, paint, c.antialias, c.threads), "");
    const QImage actual =
        QImage(QString::fromStdString(banded)).convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(actual == expected);
}

INSTANTIATE_TEST_SUITE_P(Samples, PictureBands,
                         ::testing::Values(Case{"site-plan.plt", true, 3},
                                           Case{"site-plan.plt", false, 2},
                                           Case{"contours.plt", true, 7},
                                           Case{"traverse.plt", false, 1}));
}  // namespace
