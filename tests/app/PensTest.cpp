// View > Pens: a pen hidden through the panel leaves every view of the document and the
// clipboard copy, and only its pixels go.
#include <QCheckBox>
#include <QClipboard>
#include <QDockWidget>
#include <QMimeData>

#include "app/AppFixture.h"

namespace {
// Pixels of a pure colour, antialiased edges left out.
int Pixels(const QImage& image, QRgb c) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += std::abs(qRed(p) - qRed(c)) < 60 && std::abs(qGreen(p) - qGreen(c)) < 60 &&
                     std::abs(qBlue(p) - qBlue(c)) < 60;
        }
    }
    return count;
}

constexpr QRgb kYellow = qRgb(255, 255, 0), kRed = qRgb(255, 0, 0);
}  // namespace

TEST_F(AppTest, HidingAPenTakesItsPixelsFromEveryViewAndTheCopy) {
    Start({Sample("site-plan.plt")});
    Run("Pens");
    auto* panel = Frame().findChild<QDockWidget*>(QStringLiteral("Pens"));
    ASSERT_TRUE(panel && panel->isVisible());
    QCheckBox* pen3 = nullptr;
    for (QCheckBox* box : panel->findChildren<QCheckBox*>()) {
        if (box->accessibleName().startsWith(QLatin1String("Pen 3, layer 2, "))) pen3 = box;
    }
    ASSERT_NE(pen3, nullptr);
    EXPECT_TRUE(pen3->accessibleName().endsWith(QLatin1String(" marks, shown")));
    const int red = Pixels(View().Image(), kRed), drawn = View().View().GetDrawnCount();
    ASSERT_TRUE(Pixels(View().Image(), kYellow) > 0 && red > 0);

    QTest::mouseClick(pen3, Qt::LeftButton, {}, QPoint(6, pen3->height() / 2));
    Settle();
    EXPECT_FALSE(pen3->isChecked());
    EXPECT_TRUE(pen3->accessibleName().endsWith(QLatin1String(", hidden")));
    EXPECT_EQ(Pixels(View().Image(), kYellow), 0);
    EXPECT_GE(Pixels(View().Image(), kRed), red);     // some were under yellow
    EXPECT_EQ(View().View().GetDrawnCount(), drawn);  // Drawing Status still counts them
    Run("Copy");
    const auto copy = qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData());
    EXPECT_EQ(Pixels(copy, kYellow), 0);
    EXPECT_GT(Pixels(copy, kRed), 0);
    Run("New Window");  // a new window of the document hides it too
    EXPECT_EQ(Pixels(View().Image(), kYellow), 0);
}
