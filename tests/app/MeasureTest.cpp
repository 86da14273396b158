// View > Measure through the real view: snapped clicks, keys, the pane and the drawn marks.
#include <QFile>
#include <QLabel>
#include <QStatusBar>

#include "app/AppFixture.h"
#include "app/settings/AppSettings.h"
#include "dxf/DxfConfig.h"
#include "support/PlotBytes.h"

namespace {
// A line from (1, 1) to (4, 5), 5 inches long, and one beyond so the view has room.
QString LinesFile(const QTemporaryDir& dir) {
    PlotBytes plot;
    plot.Pinit().Ligne(1, 1, 3).Ligne(4, 5, 2).Ligne(9, 7, 3).Ligne(10, 8, 2);
    const QString path = dir.filePath(QStringLiteral("lines.plt"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(plot.str().data(), static_cast<qint64>(plot.size()));
    return path;
}

// The client pixel of a drawing point, off by (dx, dy) pixels.
QPoint Pixel(const CKorvaneView& view, double x, double y, int dx = 0, int dy = 0) {
    double px, py;
    view.State().PlotToClient(x * RESOLUTION, y * RESOLUTION, view.ClientWidth(),
                              view.ClientHeight(), px, py);
    return QPoint(qRound(px) + dx, qRound(py) + dy);
}

QLabel* Pane(CMainFrame& frame) {
    for (QLabel* label : frame.statusBar()->findChildren<QLabel*>()) {
        if (label->accessibleName().startsWith(QLatin1String("Measure"))) return label;
    }
    return nullptr;
}

int MeasurePixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == CKorvaneView::kMeasureColor;
    }
    return n;
}
}  // namespace

TEST_F(AppTest, MeasuringBetweenTwoSnappedVertices) {
    // The drawing opened with scaled settings, 1:1000 in metres, from the last configuration.
    QTemporaryDir dir;
    DxfSettings scaled;
    scaled.conversionIndex = 1;
    scaled.originalScale = 1000;
    const std::string cfg =
        QFile::encodeName(dir.filePath(QStringLiteral("scaled.cfg"))).toStdString();
    ASSERT_TRUE(WriteDxfConfig(cfg, scaled));
    Start({});
    m_app->Settings().m_cfgFilePath = cfg;
    m_app->OpenDocumentFile(LinesFile(dir));
    Settle();
    m_app->Settings().m_cfgFilePath.clear();
    CKorvaneView& view = View();
    QWidget* client = view.viewport();
    QLabel* pane = Pane(Frame());
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(pane->isHidden());
    const QImage drawing = view.Image();

    Run("Measure");
    EXPECT_TRUE(Command("Measure").isChecked());
    EXPECT_FALSE(pane->isHidden());
    // Three pixels off each end, snapped onto them; the world in plan beside the inches.
    QTest::mouseMove(client, Pixel(view, 1, 1, 3, -2));
    QTest::mouseClick(client, Qt::LeftButton, {}, Pixel(view, 1, 1, 3, -2));
    QTest::mouseMove(client, Pixel(view, 4, 5, -3, 3));
    const QString snapped = "Distance 5.000 in 127.000 m, Bearing 36.870";
    EXPECT_EQ(pane->text(), snapped);
    EXPECT_EQ(pane->accessibleName(), "Measure: " + snapped);
    QTest::mouseClick(client, Qt::LeftButton, {}, Pixel(view, 4, 5, -3, 3));
    // Drawn over the picture of the drawing, never into it.
    EXPECT_EQ(view.Image(), drawing);
    EXPECT_GT(MeasurePixels(client->grab().toImage()), 20);

    // With Shift the point is where the pointer is; Escape ends, Backspace takes a point back.
    QTest::mouseClick(client, Qt::LeftButton, Qt::ShiftModifier, Pixel(view, 10, 5, 2, 0));
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(pane->text().left(13), "Distance 11.0");
    QTest::keyClick(&view, Qt::Key_Backspace);
    EXPECT_EQ(pane->text(), snapped);

    // Zoomed View takes its place: the points and the pane go.
    Run("Zoomed View");
    EXPECT_FALSE(Command("Measure").isChecked());
    EXPECT_TRUE(pane->isHidden());
    EXPECT_EQ(MeasurePixels(client->grab().toImage()), 0);
}
