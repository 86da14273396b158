// Edit > Find through its dialog: a match is zoomed to, centred and marked over the picture;
// F3 goes on from it; a miss is said.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <algorithm>

#include "app/AppFixture.h"

namespace {
template <class T>
T* Named(QWidget* parent, const char* name) {
    for (T* w : parent->findChildren<T*>()) {
        if (w->accessibleName() == QLatin1String(name)) return w;
    }
    ADD_FAILURE() << name;
    return nullptr;
}
bool HasMarkColour(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const QRgb* p = reinterpret_cast<const QRgb*>(rgb.constBits());
    const QRgb* end = p + rgb.width() * rgb.height();
    return std::find(p, end, qRgb(0, 120, 215)) != end;
}
}  // namespace

TEST_F(AppTest, FindZoomsToAMatchAndReportsAMiss) {
    Start({Sample("site-plan.plt")});
    Run("Find");
    QDialog* dialog = Frame().findChild<QDialog*>();
    ASSERT_TRUE(dialog && dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Find Text"));
    QLineEdit* text = Named<QLineEdit>(dialog, "Find what");
    ASSERT_TRUE(text && Named<QCheckBox>(dialog, "Match case"));
    QTest::keyClicks(text, QStringLiteral("riverside"));
    QTest::mouseClick(Named<QPushButton>(dialog, "Find Next"), Qt::LeftButton);
    Settle();

    // "SITE PLAN - RIVERSIDE ESTATE" at (24.3, 4.2) from the origin (0.75, 0.75): 28 characters
    // 0.2 inch high.
    CKorvaneView& view = View();
    const int w = view.ClientWidth(), h = view.ClientHeight();
    double cx, cy;
    view.State().ClientToPlot(w / 2.0, h / 2.0, w, h, cx, cy);
    EXPECT_NEAR(cx / RESOLUTION, 25.05 + 2.8, 0.05);
    EXPECT_NEAR(cy / RESOLUTION, 5.05, 0.05);
    EXPECT_EQ(Frame().statusBar()->currentMessage(), QStringLiteral("Match 1 of 2"));
    EXPECT_EQ(view.State().GetZoomHistory().size(), 1u);
    // The mark is on the screen, not in the drawing's picture.
    EXPECT_TRUE(HasMarkColour(view.viewport()->grab().toImage()));
    EXPECT_FALSE(HasMarkColour(view.Image()));

    // F3 in the view goes on to "RIVERSIDE DRIVE"; Zoom Previous goes back and drops the mark.
    QTest::keyClick(view.viewport(), Qt::Key_F3);
    Settle();
    EXPECT_EQ(Frame().statusBar()->currentMessage(), QStringLiteral("Match 2 of 2"));
    EXPECT_EQ(view.State().GetZoomHistory().size(), 2u);
    Run("Zoom Previous");
    EXPECT_FALSE(HasMarkColour(view.viewport()->grab().toImage()));

    text->setText(QStringLiteral("Riverside"));
    Named<QCheckBox>(dialog, "Match case")->setChecked(true);
    QTest::mouseClick(Named<QPushButton>(dialog, "Find Previous"), Qt::LeftButton);
    Settle();
    EXPECT_EQ(m_prompts.m_shown.value(0),
              QStringLiteral("information: Cannot find \"Riverside\"."));
    EXPECT_EQ(view.State().GetZoomHistory().size(), 1u);
}
