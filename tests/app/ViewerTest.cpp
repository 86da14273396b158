// The viewer driven through its real windows: opening, zooming, scrolling, painting.
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QWheelEvent>
#include <functional>

#include "app/AppFixture.h"
#include "plot/KorvaneDoc.h"
#include "render/qt/QPainterSurface.h"

namespace {
void ExpectSameRectangle(const ViewState& a, const ViewState& b) {
    EXPECT_EQ(a.Geometry().left, b.Geometry().left);
    EXPECT_EQ(a.Geometry().bottom, b.Geometry().bottom);
    EXPECT_EQ(a.Geometry().right, b.Geometry().right);
    EXPECT_EQ(a.Geometry().top, b.Geometry().top);
    EXPECT_EQ(a.Geometry().extentX, b.Geometry().extentX);
    EXPECT_EQ(a.Geometry().extentY, b.Geometry().extentY);
    EXPECT_EQ(a.Geometry().divisor, b.Geometry().divisor);
}

// Where a part (arrow, trough, thumb) of a scroll bar lies.
QRect Part(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

void Wheel(QWidget* target, QPoint at, int delta) {
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}
}  // namespace

TEST_F(AppTest, OpeningASampleFitsTheView) {
    Start({Sample("site-plan.plt")});
    CKorvaneView& view = View();
    EXPECT_EQ(Frame().windowTitle(), "korvane - [site-plan.plt]");
    const CPlotContext& context = view.View().Context();
    ASSERT_GT(context.GetMaxX(), 0);
    ViewState expected;
    expected.FitToDrawing(context.GetMaxX(), context.GetMaxY(), view.ClientWidth(),
                          view.ClientHeight());
    ExpectSameRectangle(view.State(), expected);
    EXPECT_EQ(view.State().Home().right, context.GetMaxX());
    EXPECT_EQ(view.View().GetDrawnCount(),
              static_cast<int>(view.GetDocument().Doc().Primitives().size()));
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);  // the thumb fills the bar
    EXPECT_FALSE(Command("Zoom Previous").isEnabled());
}

TEST_F(AppTest, ZoomCommandsChangeTheRectangle) {
    Start({Sample("site-plan.plt")});
    CKorvaneView& view = View();
    QWidget* client = view.viewport();
    const int w = view.ClientWidth(), h = view.ClientHeight();
    const ViewState fitted = view.State();

    // In normal mode a click changes nothing.
    QTest::mouseClick(client, Qt::LeftButton, {}, QPoint(100, 100));
    ExpectSameRectangle(view.State(), fitted);

    Run("Zoomed View");
    EXPECT_TRUE(Command("Zoomed View").isChecked());
    ViewState expected = fitted;
    expected.ZoomAbout(300, 200, true, w, h);
    QTest::mouseClick(client, Qt::LeftButton, {}, QPoint(300, 200));
    Settle();
    ExpectSameRectangle(view.State(), expected);
    expected.ZoomAbout(50, 400, false, w, h);
    QTest::mouseClick(client, Qt::RightButton, {}, QPoint(50, 400));
    Settle();
    ExpectSameRectangle(view.State(), expected);
    EXPECT_EQ(view.State().GetZoomHistory().size(), 2u);

    // The wheel zooms about the cursor, one history entry per notch.
    expected.ZoomAt(700, 150, true, w, h);
    expected.ZoomAt(700, 150, true, w, h);
    Wheel(client, QPoint(700, 150), 240);
    Settle();
    ExpectSameRectangle(view.State(), expected);
    EXPECT_EQ(view.State().GetZoomHistory().size(), 4u);

    // Zoom Previous four times is back at the fitted rectangle, and then disabled.
    for (int i = 0; i < 4; ++i) Run("Zoom Previous");
    EXPECT_EQ(view.State().Geometry().left, fitted.Geometry().left);
    EXPECT_EQ(view.State().Geometry().right, fitted.Geometry().right);
    EXPECT_EQ(view.State().Geometry().top, fitted.Geometry().top);
    EXPECT_FALSE(Command("Zoom Previous").isEnabled());

    // Zoom Window: the rectangle runs from the press to the last move; the release point is
    // not used. Escape cancels a second one, keeping its history entry. Nothing is grabbed before
    // the press inside the view, and the view has the keys.
    Run("Zoom Window");
    EXPECT_EQ(view.State().GetZoomMode(), ZOOM_WINDOW);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), &view);
    expected = view.State();
    expected.EndZoomWindow(true, 100, 100, 400, 300, w, h);
    QTest::mousePress(client, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(client, QPoint(400, 300));
    QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(420, 320));
    Settle();
    ExpectSameRectangle(view.State(), expected);
    EXPECT_EQ(view.State().GetZoomMode(), ZOOM_NONE);
    Run("Zoom Window");
    QTest::keyClick(&view, Qt::Key_A);  // ignored
    EXPECT_EQ(view.State().GetZoomMode(), ZOOM_WINDOW);
    QTest::keyClick(&view, Qt::Key_Escape);
    ExpectSameRectangle(view.State(), expected);
    EXPECT_EQ(view.State().GetZoomHistory().size(), 2u);

    // Zoomed View toggles. Home, even amid a Zoom Window drag, gives back the opening picture.
    Run("Zoomed View");
    Run("Zoomed View");
    EXPECT_FALSE(Command("Zoomed View").isChecked());
    Run("Zoom Window");
    QTest::mousePress(client, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(client, QPoint(300, 300));
    QTest::keyClick(&view, Qt::Key_Home);
    QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(300, 300));
    Settle();
    ExpectSameRectangle(view.State(), fitted);
}

// Every scroll action, by the bars, the wheel over a bar or a key, moves the drawing once, and
// the thumb with it: a lower part of the drawing, a lower thumb.
TEST_F(AppTest, EachScrollActionMovesDrawingAndThumbOnce) {
    Start({Sample("site-plan.plt")});
    CKorvaneView& view = View();
    for (int i = 0; i < 4; ++i) Run("Zoom In");
    QScrollBar* v = view.verticalScrollBar();
    const auto click = [v](QStyle::SubControl part) {
        QTest::mouseClick(v, Qt::LeftButton, {}, Part(v, part).center());
    };
    const auto drag = [v](int by) {
        const QPoint from = Part(v, QStyle::SC_ScrollBarSlider).center();
        QTest::mousePress(v, Qt::LeftButton, {}, from);
        for (int dy : {by / 2, by}) QTest::mouseMove(v, from + QPoint(0, dy));
        QTest::mouseRelease(v, Qt::LeftButton, {}, from + QPoint(0, by));
    };
    const struct {
        std::function<void()> act;
        bool down;  // the view shows a lower part
    } actions[] = {
        {[&] { click(QStyle::SC_ScrollBarAddLine); }, true},
        {[&] { click(QStyle::SC_ScrollBarSubLine); }, false},
        {[&] { click(QStyle::SC_ScrollBarAddPage); }, true},
        {[&] { drag(60); }, true},
        {[&] { drag(-30); }, false},
        {[&] { Wheel(v, QPoint(5, 100), -120); }, true},
        {[&] { QTest::keyClick(&view, Qt::Key_PageDown); }, true},
        {[&] { QTest::keyClick(&view, Qt::Key_Up); }, false},
    };
    for (const auto& a : actions) {
        const float bottom = view.State().Geometry().bottom;
        const int thumb = v->value();
        const std::size_t saved = view.State().GetZoomHistory().size();
        a.act();
        Settle();
        EXPECT_EQ(view.State().Geometry().bottom < bottom, a.down) << &a - actions;
        EXPECT_EQ(v->value() > thumb, a.down) << &a - actions;
        EXPECT_EQ(view.State().GetZoomHistory().size(), saved + 1) << &a - actions;
    }
}

TEST_F(AppTest, MiddleDragPansAndTheStatusBarShowsInches) {
    Start({Sample("site-plan.plt")});
    CKorvaneView& view = View();
    QWidget* client = view.viewport();
    ViewState expected = view.State();
    expected.PanBy(50, 20, view.ClientWidth(), view.ClientHeight());
    QTest::mousePress(client, Qt::MiddleButton, {}, QPoint(100, 100));
    QTest::mouseMove(client, QPoint(150, 120));
    QTest::mouseRelease(client, Qt::MiddleButton, {}, QPoint(150, 120));
    Settle();
    ExpectSameRectangle(view.State(), expected);
    EXPECT_EQ(view.State().GetZoomHistory().size(), 1u);

    QTest::mouseMove(client, QPoint(0, view.ClientHeight() - 1));
    double x, y;
    view.State().ClientToPlot(0, view.ClientHeight() - 1, view.ClientWidth(), view.ClientHeight(),
                              x, y);
    QLabel* position = nullptr;
    for (QLabel* label : Frame().findChildren<QLabel*>()) {
        if (label->accessibleName().startsWith("Cursor position")) position = label;
    }
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(position->text(),
              QStringLiteral("%1 in, %2 in")
                  .arg(QString::number(x / 300, 'f', 3), QString::number(y / 300, 'f', 3)));
    EXPECT_EQ(position->accessibleName(), "Cursor position: " + position->text());
    Run("Zoom Out");  // the pane follows while the pointer rests
    view.State().ClientToPlot(0, view.ClientHeight() - 1, view.ClientWidth(), view.ClientHeight(),
                              x, y);
    EXPECT_TRUE(position->text().startsWith(QString::number(x / 300, 'f', 3) + " in"));
}

TEST_F(AppTest, OptionsSetsTheStepAfterRefusingBadOnes) {
    Start({Sample("traverse.plt")});
    QStringList typed{"0", "100", "ten", "25"};
    std::function<void()> answer = [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return QTimer::singleShot(0, answer);
        auto* edit = dialog->findChild<QLineEdit*>();
        edit->setText(typed.takeFirst());
        QTest::keyClick(edit, Qt::Key_Return);
        if (!typed.isEmpty()) QTimer::singleShot(0, answer);
    };
    QTimer::singleShot(0, answer);
    Run("Options");
    EXPECT_EQ(View().State().GetZoomFactor(), 25u);
    EXPECT_EQ(m_prompts.m_shown, (QStringList{"warning: Please enter an integer between 1 and 99.",
                                              "warning: Please enter an integer between 1 and 99.",
                                              "warning: Please enter a positive integer."}));
}

TEST_F(AppTest, TwoViewsOfOneDocumentZoomIndependently) {
    Start({Sample("contours.plt")});
    OpenDrawing& document = View().GetDocument();
    Run("New Window");
    ASSERT_EQ(document.Views().size(), 2u);
    EXPECT_EQ(document.Views()[0]->parentWidget()->windowTitle(), "contours.plt:1");
    EXPECT_EQ(document.Views()[1]->parentWidget()->windowTitle(), "contours.plt:2");
    CKorvaneView& second = View();
    CKorvaneView& first = *document.Views()[0];
    ASSERT_NE(&first, &second);
    first.FinishPainting();
    const ViewState before = first.State();
    Run("Zoomed View");
    QTest::mouseClick(second.viewport(), Qt::LeftButton, {}, QPoint(200, 200));
    Settle();
    EXPECT_EQ(second.State().GetZoomHistory().size(), 1u);
    ExpectSameRectangle(first.State(), before);
    EXPECT_EQ(first.State().GetZoomMode(), ZOOM_NONE);
}

// Painting in slices ends with the picture, count and state of one whole paint; a click in
// incremental-zoom mode abandons the rest and becomes the next zoom.
TEST_F(AppTest, SlicedPaintingMatchesOneWholePaint) {
    Start({Sample("contours.plt")});
    CKorvaneView& view = View();
    view.SetSliceBudget(0);  // one batch per slice
    view.Invalidate();
    QCoreApplication::processEvents();
    EXPECT_TRUE(view.Painting());
    Settle();
    const std::size_t count = view.GetDocument().Doc().Primitives().size();
    ASSERT_GT(count, 3 * 2048u);
    EXPECT_EQ(view.View().GetDrawnCount(), static_cast<int>(count));

    // The same paint in one go, through a view in the same state; each pass of the drawing ends
    // with the plotter state it starts from.
    PlotView whole;
    whole.State() = view.State();
    whole.Context().TakePlotterState(view.View().Context());
    QImage image(view.Image().size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterSurface surface(painter);
        FixedSizeHost host(view.ClientWidth(), view.ClientHeight());
        whole.OnDraw(surface, host, view.GetDocument().Doc().Primitives());
    }
    EXPECT_TRUE(image == view.Image());

    Run("Zoomed View");
    view.Invalidate();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    ASSERT_TRUE(view.Painting());
    ViewState expected = view.State();
    expected.ZoomAbout(10, 10, true, view.ClientWidth(), view.ClientHeight());
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_GT(view.View().GetDrawnCount(), 0);
    EXPECT_LT(view.View().GetDrawnCount(), static_cast<int>(count));
    ExpectSameRectangle(view.State(), expected);
}

TEST_F(AppTest, WindowMenuListsCyclesAndCascadesTheWindows) {
    Start({Sample("contours.plt"), Sample("traverse.plt")});
    Run("New Window");
    QMdiArea* area = Frame().MdiArea();
    const QList<QMdiSubWindow*> windows = area->subWindowList();
    ASSERT_EQ(windows.size(), 3);
    QMenu* menu = Frame().menuBar()->actions().at(4)->menu();  // Window
    // Below the commands and a separator: "&1 title", ..., the active window checked.
    const auto listed = [&] {
        QStringList items, expected;
        for (QAction* a : menu->actions().mid(7)) items << (a->isChecked() ? "* " : "") + a->text();
        for (int i = 0; i < windows.size(); ++i) {
            expected << (windows[i] == area->activeSubWindow() ? "* &" : "&") +
                            QString::number(i + 1) + " " + windows[i]->windowTitle();
        }
        EXPECT_EQ(items, expected);
    };
    listed();
    QMdiSubWindow* first = area->activeSubWindow();
    Run("Next Window");
    EXPECT_NE(area->activeSubWindow(), first);
    listed();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(area->activeSubWindow(), first);
    menu->actions().last()->trigger();
    EXPECT_EQ(area->activeSubWindow(), windows.last());

    Run("Cascade");
    for (QMdiSubWindow* w : windows) {
        EXPECT_GE(w->width() * 3, area->viewport()->width() * 2);
        EXPECT_GE(w->height() * 3, area->viewport()->height() * 2);
    }
}
