// The viewer driven through its real windows: opening, zooming, scrolling, painting.
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QWheelEvent>
#include <functional>

#include "app/AppFixture.h"
#include "plot/KorvaneDoc.h"
#include "render/qt/QPainterSurface.h"

namespace {
void ExpectSameRectangle(const ViewState& a, const ViewState& b) {
    EXPECT_EQ(a.m_viewLeft, b.m_viewLeft);
    EXPECT_EQ(a.m_viewBottom, b.m_viewBottom);
    EXPECT_EQ(a.m_viewRight, b.m_viewRight);
    EXPECT_EQ(a.m_viewTop, b.m_viewTop);
    EXPECT_EQ(a.m_extentX, b.m_extentX);
    EXPECT_EQ(a.m_extentY, b.m_extentY);
    EXPECT_EQ(a.m_zoomDivisor, b.m_zoomDivisor);
}

// Where a part (arrow, trough, thumb) of a scroll bar lies.
QRect Part(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    if (bar->orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
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
    const CPlotContext& context = view.View().m_context;
    ASSERT_GT(context.GetMaxX(), 0);
    ViewState expected;
    expected.FitToDrawing(context.GetMaxX(), context.GetMaxY(), view.ClientWidth(),
                          view.ClientHeight());
    ExpectSameRectangle(view.State(), expected);
    EXPECT_EQ(view.State().m_homeRight, context.GetMaxX());
    EXPECT_EQ(view.View().m_drawnCount,
              static_cast<int>(view.GetDocument().Doc().m_primitives.size()));
    // The whole drawing is in view: each thumb fills its bar.
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
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
    EXPECT_EQ(view.State().m_zoomHistory.size(), 2u);

    // The wheel zooms about the cursor, the point under it staying there, one history entry
    // per notch.
    double x, y, wheeledX, wheeledY;
    expected.ClientToPlot(700, 150, w, h, x, y);
    expected.ZoomAt(700, 150, true, w, h);
    expected.ZoomAt(700, 150, true, w, h);
    Wheel(client, QPoint(700, 150), 240);
    Settle();
    ExpectSameRectangle(view.State(), expected);
    view.State().ClientToPlot(700, 150, w, h, wheeledX, wheeledY);
    EXPECT_NEAR(wheeledX, x, 0.01);
    EXPECT_NEAR(wheeledY, y, 0.01);
    EXPECT_EQ(view.State().m_zoomHistory.size(), 4u);

    // Zoom Previous four times is back at the fitted rectangle, and then disabled.
    for (int i = 0; i < 4; ++i) Run("Zoom Previous");
    EXPECT_EQ(view.State().m_viewLeft, fitted.m_viewLeft);
    EXPECT_EQ(view.State().m_viewRight, fitted.m_viewRight);
    EXPECT_EQ(view.State().m_viewTop, fitted.m_viewTop);
    EXPECT_FALSE(Command("Zoom Previous").isEnabled());

    // Zoom Window: the rectangle runs from the press to the last move; the release point is
    // not used. Escape cancels a second one, keeping its history entry. Nothing is grabbed
    // before the press, and a click outside the view starts nothing.
    Run("Zoom Window");
    EXPECT_EQ(view.State().m_zoomMode, ZOOM_WINDOW);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    QTest::mouseClick(Frame().statusBar(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(view.State().m_zoomMode, ZOOM_WINDOW);
    expected = view.State();
    expected.EndZoomWindow(true, 100, 100, 400, 300, w, h);
    QTest::mousePress(client, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(client, QPoint(400, 300));
    QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(420, 320));
    Settle();
    ExpectSameRectangle(view.State(), expected);
    EXPECT_EQ(view.State().m_zoomMode, ZOOM_NONE);
    Run("Zoom Window");
    ASSERT_EQ(QApplication::focusWidget(), &view);  // also when chosen from the toolbar
    QTest::keyClick(&view, Qt::Key_A);              // ignored
    EXPECT_EQ(view.State().m_zoomMode, ZOOM_WINDOW);
    QTest::keyClick(&view, Qt::Key_Escape);
    ExpectSameRectangle(view.State(), expected);
    EXPECT_EQ(view.State().m_zoomHistory.size(), 2u);

    // Zoomed View toggles; Home gives back the opening picture.
    Run("Zoomed View");
    Run("Zoomed View");
    EXPECT_EQ(view.State().m_zoomMode, ZOOM_NONE);
    EXPECT_FALSE(Command("Zoomed View").isChecked());
    Run("Zoomed View");
    Run("Zoom Window");
    QTest::mousePress(client, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(client, QPoint(300, 300));
    QTest::keyClick(&view, Qt::Key_Home);  // also ends the drag
    QTest::mouseRelease(client, Qt::LeftButton, {}, QPoint(300, 300));
    Settle();
    ExpectSameRectangle(view.State(), fitted);
    EXPECT_FALSE(Command("Zoomed View").isChecked());
}

// Every scroll action, by the bars' controls, the wheel over a bar or a key, moves the drawing
// and the thumb the same way and adds one history entry.
TEST_F(AppTest, EachScrollActionMovesDrawingAndThumbOnce) {
    Start({Sample("site-plan.plt")});
    CKorvaneView& view = View();
    for (int i = 0; i < 4; ++i) Run("Zoom In");
    QScrollBar* v = view.verticalScrollBar();
    QScrollBar* h = view.horizontalScrollBar();
    const auto click = [](QScrollBar* bar, QStyle::SubControl part) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, Part(bar, part).center());
    };
    const auto drag = [](QScrollBar* bar, QPoint by) {
        const QPoint from = Part(bar, QStyle::SC_ScrollBarSlider).center();
        QTest::mousePress(bar, Qt::LeftButton, {}, from);
        for (int step = 1; step <= 3; ++step) QTest::mouseMove(bar, from + by * step / 3);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, from + by);
    };
    struct Action {
        const char* name;
        std::function<void()> run;
        int left, bottom;  // which way the view's edges move
    } actions[] = {
        {"lower arrow", [&] { click(v, QStyle::SC_ScrollBarAddLine); }, 0, -1},
        {"upper arrow", [&] { click(v, QStyle::SC_ScrollBarSubLine); }, 0, 1},
        {"trough below", [&] { click(v, QStyle::SC_ScrollBarAddPage); }, 0, -1},
        {"thumb down", [&] { drag(v, QPoint(0, 60)); }, 0, -1},
        {"thumb up", [&] { drag(v, QPoint(0, -30)); }, 0, 1},
        {"trough left", [&] { click(h, QStyle::SC_ScrollBarSubPage); }, -1, 0},
        {"wheel down over bar", [&] { Wheel(v, QPoint(5, 100), -120); }, 0, -1},
        {"wheel up over bar", [&] { Wheel(h, QPoint(100, 5), 120); }, -1, 0},
        {"Page Down", [&] { QTest::keyClick(&view, Qt::Key_PageDown); }, 0, -1},
        {"Page Up", [&] { QTest::keyClick(&view, Qt::Key_PageUp); }, 0, 1},
        {"Right", [&] { QTest::keyClick(&view, Qt::Key_Right); }, 1, 0},
        {"Down", [&] { QTest::keyClick(&view, Qt::Key_Down); }, 0, -1},
    };
    const auto sign = [](float d) { return (d > 0) - (d < 0); };
    for (const Action& a : actions) {
        const ViewState before = view.State();
        a.run();
        Settle();
        const ViewState& after = view.State();
        EXPECT_EQ(sign(after.m_viewLeft - before.m_viewLeft), a.left) << a.name;
        EXPECT_EQ(sign(after.m_viewBottom - before.m_viewBottom), a.bottom) << a.name;
        EXPECT_EQ(after.m_zoomHistory.size(), before.m_zoomHistory.size() + 1) << a.name;
        const ScrollBarSettings shown = after.ScrollBars(view.ClientWidth(), view.ClientHeight());
        EXPECT_EQ(v->value(), shown.vertical.value) << a.name;
        EXPECT_EQ(h->value(), shown.horizontal.value) << a.name;
        EXPECT_EQ(v->pageStep(), shown.vertical.pageStep) << a.name;
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
    EXPECT_EQ(view.State().m_zoomHistory.size(), 1u);

    QTest::mouseMove(client, QPoint(0, view.ClientHeight() - 1));
    double x, y;
    view.State().ClientToPlot(0, view.ClientHeight() - 1, view.ClientWidth(), view.ClientHeight(),
                              x, y);
    QLabel* position = nullptr;
    for (QLabel* label : Frame().findChildren<QLabel*>()) {
        if (label->accessibleName() == "Cursor position") position = label;
    }
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(position->text(),
              QStringLiteral("%1 in, %2 in")
                  .arg(QString::number(x / 300, 'f', 3), QString::number(y / 300, 'f', 3)));
    // It follows a zoom while the pointer rests.
    Run("Zoom Out");
    view.State().ClientToPlot(0, view.ClientHeight() - 1, view.ClientWidth(), view.ClientHeight(),
                              x, y);
    EXPECT_EQ(position->text(),
              QStringLiteral("%1 in, %2 in")
                  .arg(QString::number(x / 300, 'f', 3), QString::number(y / 300, 'f', 3)));
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
    EXPECT_EQ(View().State().m_zoomFactor, 25u);
    EXPECT_EQ(m_prompts.m_shown, (QStringList{"warning: Please enter an integer between 1 and 99.",
                                              "warning: Please enter an integer between 1 and 99.",
                                              "warning: Please enter a positive integer."}));
}

TEST_F(AppTest, TwoViewsOfOneDocumentZoomIndependently) {
    Start({Sample("contours.plt")});
    PlotDocument& document = View().GetDocument();
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
    EXPECT_EQ(second.State().m_zoomHistory.size(), 1u);
    ExpectSameRectangle(first.State(), before);
    EXPECT_EQ(first.State().m_zoomMode, ZOOM_NONE);
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
    const std::size_t count = view.GetDocument().Doc().m_primitives.size();
    ASSERT_GT(count, 3 * 2048u);
    EXPECT_EQ(view.View().m_drawnCount, static_cast<int>(count));

    // The same paint in one go, through a view in the same state; each pass of the drawing ends
    // with the plotter state it starts from.
    PlotView whole;
    whole.m_state = view.State();
    const CPlotContext& left = view.View().m_context;
    CPlotContext& context = whole.m_context;
    context.m_maxX = left.m_maxX;
    context.m_maxY = left.m_maxY;
    context.m_scale = left.m_scale;
    context.m_originX = left.m_originX;
    context.m_originY = left.m_originY;
    context.m_red = left.m_red;
    context.m_green = left.m_green;
    context.m_blue = left.m_blue;
    QImage image(view.Image().size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterSurface surface(painter);
        FixedSizeHost host(view.ClientWidth(), view.ClientHeight());
        whole.OnDraw(surface, host, view.GetDocument().Doc().m_primitives);
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
    EXPECT_GT(view.View().m_drawnCount, 0);
    EXPECT_LT(view.View().m_drawnCount, static_cast<int>(count));
    ExpectSameRectangle(view.State(), expected);
}

TEST_F(AppTest, WindowMenuListsCyclesAndCascadesTheWindows) {
    Start({Sample("contours.plt"), Sample("traverse.plt")});
    Run("New Window");
    const auto menu = [&](const char* title) {
        for (QAction* a : Frame().menuBar()->actions()) {
            if (a->text() == QLatin1String(title)) return a->menu();
        }
        return static_cast<QMenu*>(nullptr);
    };
    QMenu* window = menu("&Window");
    ASSERT_NE(window, nullptr);
    // In the View and Window menus each letter is underlined once, and every key is shown.
    for (QMenu* m : {menu("&View"), window}) {
        QSet<QChar> letters;
        for (QAction* a : m->actions()) {
            const qsizetype amp = a->text().indexOf('&');
            const QChar letter = amp >= 0 ? a->text()[amp + 1].toLower() : QChar();
            EXPECT_TRUE(amp < 0 || !letters.contains(letter)) << a->text().toStdString();
            letters.insert(letter);
            if (!a->shortcut().isEmpty()) {
                EXPECT_TRUE(a->text().endsWith('\t' + a->shortcut().toString()))
                    << a->text().toStdString();
            }
        }
    }
    QMdiArea* area = Frame().MdiArea();
    const auto listed = [&] {
        QStringList items;
        bool below = false;
        for (QAction* a : window->actions()) {
            if (below) items << (a->isChecked() ? "* " : "") + a->text();
            below = below || a->isSeparator();
        }
        return items;
    };
    const QList<QMdiSubWindow*> windows = area->subWindowList();
    ASSERT_EQ(windows.size(), 3);
    QStringList expected;
    for (int i = 0; i < 3; ++i) {
        expected << (windows[i] == area->activeSubWindow() ? "* &" : "&") + QString::number(i + 1) +
                        " " + windows[i]->windowTitle();
    }
    EXPECT_EQ(listed(), expected);
    EXPECT_EQ(expected.filter("* ").size(), 1);

    // Next and Previous go round; an item of the list activates its window.
    QMdiSubWindow* first = area->activeSubWindow();
    Run("Next Window");
    EXPECT_NE(area->activeSubWindow(), first);
    EXPECT_TRUE(listed().filter("* ").first().endsWith(area->activeSubWindow()->windowTitle()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(area->activeSubWindow(), first);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    Run("Previous Window");
    EXPECT_EQ(area->activeSubWindow(), first);
    window->actions().last()->trigger();
    EXPECT_EQ(area->activeSubWindow(), windows.last());

    Run("Cascade");
    const QSize space = area->viewport()->size();
    for (QMdiSubWindow* w : windows) {
        EXPECT_GE(w->width() * 3, space.width() * 2);
        EXPECT_GE(w->height() * 3, space.height() * 2);
        EXPECT_TRUE(space.width() >= w->geometry().right() &&
                    space.height() >= w->geometry().bottom());
    }
}
