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
    QTemporaryDir dir;
    const std::string one = dir.filePath("one.png").toStdString();
    const std::string banded = dir.filePath("banded.png").toStdString();
    {
        FirstView view(doc, width, height);
        const PicturePainter paint = [&](QPainter& painter, bool) {
            QPainterSurface surface(painter);
            view.Paint(surface);
        };
        ASSERT_EQ(WritePng(one, width, height, paint, c.antialias), "");
    }
    FirstView view(doc, width, height);
    const SurfacePainter paint = [&](DrawSurface& surface) { view.Paint(surface); };
    ASSERT_EQ(WritePng(banded, width, height, paint, c.antialias, c.threads), "");
    const QImage expected(QString::fromStdString(one)), actual(QString::fromStdString(banded));
    ASSERT_FALSE(expected.isNull());
    EXPECT_TRUE(actual == expected);
}

INSTANTIATE_TEST_SUITE_P(Samples, PictureBands,
                         ::testing::Values(Case{"site-plan.plt", true, 3},
                                           Case{"site-plan.plt", false, 2},
                                           Case{"contours.plt", true, 7},
                                           Case{"traverse.plt", false, 1}));
}  // namespace
