#include "app/frame/MainFrame.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <optional>

#include "app/document/OpenDrawing.h"
#include "app/frame/ChildFrame.h"
#include "app/frame/FrameHost.h"
#include "app/frame/PensPanel.h"
#include "app/platform/KeyboardLocks.h"
#include "app/settings/AppSettings.h"
#include "app/view/KorvaneView.h"
#include "world/WorldPosition.h"

namespace {
const QString kTitle = QStringLiteral("korvane");

const char* const kLockNames[3] = {"CAP", "NUM", "SCRL"};
using LockStates = std::array<std::optional<bool>, 3>;
LockStates ReadLocks() {
    return {KeyboardLocks::CapsLock(), KeyboardLocks::NumLock(), KeyboardLocks::ScrollLock()};
}

// A screen reader's entry for a menu item stays with the menu it was first listed in; the
// commands move to new menus when the menu bar switches, so their entries go with the old menu.
void ForgetMenuEntries(QMenu* menu) {
    for (QAction* item : menu->actions()) {
        if (QAccessibleInterface* entry = QAccessible::queryAccessibleInterface(item)) {
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(entry));
        }
    }
}

}  // namespace

CMainFrame::CMainFrame(FrameHost& app)
    : m_app(app), m_mdiArea(new QMdiArea(this)), m_pens(new PensPanel(this)) {
    setWindowTitle(kTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icons/korvane.svg")));
    setCentralWidget(m_mdiArea);
    setAcceptDrops(true);
    addDockWidget(Qt::RightDockWidgetArea, m_pens);
    m_pens->hide();
    CreateCommands();
    CreateToolBar();
    CreateStatusBar();
    BuildMenus(false);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnActiveViewChanged);
    // The last DXF configuration file of the previous run.
    m_app.Settings().ReadCfgFile();
    UpdateCommands();
}

void CMainFrame::OnDocumentsChanged(bool anyDocument) {
    BuildMenus(anyDocument);
    OnActiveViewChanged();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    disconnect(m_viewConnection);
    disconnect(m_cursorConnection);
    disconnect(m_measureConnection);
    disconnect(m_mdiArea, nullptr, this, nullptr);
}

void CMainFrame::CreateToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Toolbar"));
    bar->setObjectName(QStringLiteral("Toolbar"));
    bar->setIconSize(QSize(16, 16) * 1.5);
    for (const char* name : {"New", "Open", "Save", "", "Copy", "Paste", "Insert", "", "Print", "",
                             "Zoomed View", "Normal View", "Zoom Window", "Zoom Previous",
                             "Measure", "", "About", "Drawing Status"}) {
        if (!*name) {
            bar->addSeparator();
        } else {
            bar->addAction(Command(QLatin1String(name)));
        }
    }
    connect(Command(QStringLiteral("Toolbar")), &QAction::toggled, bar, &QToolBar::setVisible);
    // The button that shows the commands a narrow window leaves no room for.
    if (auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
        more->setAccessibleName(QStringLiteral("More commands"));
    }
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    m_position = new QLabel(this);
    m_position->setAccessibleName(QStringLiteral("Cursor position"));
    bar->addPermanentWidget(m_position);
    m_world = new QLabel(this);
    m_world->setObjectName(QStringLiteral("worldPosition"));
    m_world->setAccessibleName(QStringLiteral("World position"));
    m_world->hide();  // until the pointer is over a drawing with scaled settings
    bar->addPermanentWidget(m_world);
    m_measure = new QLabel(this);
    m_measure->setAccessibleName(QStringLiteral("Measure"));
    m_measure->hide();
    bar->addPermanentWidget(m_measure);
    const LockStates states = ReadLocks();
    for (int i = 0; i < 3; ++i) {
        if (!states[i]) continue;
        m_locks[i] = new QLabel(QLatin1String(kLockNames[i]), this);
        m_locks[i]->setMinimumWidth(m_locks[i]->sizeHint().width());
        bar->addPermanentWidget(m_locks[i]);
    }
    if (m_locks[0] || m_locks[1] || m_locks[2]) qApp->installEventFilter(this);
    UpdateLockIndicators();
    // "Ready" whenever no prompt is shown.
    // The prompt pane is the bar's own: a screen reader hears what it shows as its name.
    connect(bar, &QStatusBar::messageChanged, this, [bar](const QString& text) {
        if (text.isEmpty()) {
            bar->showMessage(QStringLiteral("Ready"));
        } else {
            bar->setAccessibleName(text);
        }
    });
    bar->showMessage(QStringLiteral("Ready"));
}

void CMainFrame::UpdateLockIndicators() {
    const LockStates states = ReadLocks();
    for (int i = 0; i < 3; ++i) {
        if (!m_locks[i]) continue;
        // An unlit indicator keeps its place, empty, as the lights of a keyboard do.
        const bool on = states[i].value_or(false);
        m_locks[i]->setText(on ? QLatin1String(kLockNames[i]) : QString());
        m_locks[i]->setAccessibleName(QLatin1String(kLockNames[i]) +
                                      (on ? QStringLiteral(" on") : QStringLiteral(" off")));
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // A lock key may change the lights; so may another program while this one was inactive.
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyRelease || type == QEvent::ApplicationStateChange) {
        UpdateLockIndicators();
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::AddRecentFiles(QMenu* file) {
    const QStringList recent = m_app.Settings().RecentFiles();
    if (recent.isEmpty()) {
        QAction* none = file->addAction(QStringLiteral("Recent File"));
        none->setStatusTip(QStringLiteral("Open this document"));
        none->setEnabled(false);
        return;
    }
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent[i];
        QAction* entry = file->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        entry->setStatusTip(QStringLiteral("Open this document"));
        connect(entry, &QAction::triggered, this, [this, path] { m_app.OpenDocumentFile(path); });
    }
}

void CMainFrame::BuildMenus(bool documentMenu) {
    m_documentMenu = documentMenu;
    m_windowMenu = nullptr;
    m_windowItems.clear();
    QMenuBar* bar = menuBar();
    const auto old = bar->actions();
    bar->clear();
    for (QAction* a : old) {
        ForgetMenuEntries(a->menu());
        delete a->menu();
    }

    auto add = [this](QMenu* menu, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (!*name) {
                menu->addSeparator();
            } else if (QLatin1String(name) == QLatin1String("Recent")) {
                AddRecentFiles(menu);
            } else {
                menu->addAction(Command(QLatin1String(name)));
            }
        }
    };
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    QAction* about = Command(QStringLiteral("About"));
    if (!documentMenu) {
        add(file, {"New", "Open", "", "Print Setup", "", "Recent", "", "Exit"});
        add(bar->addMenu(QStringLiteral("&View")), {"Toolbar", "Status Bar"});
        about->setText(QStringLiteral("&About korvane..."));
        add(bar->addMenu(QStringLiteral("&Help")), {"About"});
        return;
    }
    add(file, {"New", "Open", "Close", "Save", "Save As", "", "Print", "Print Preview",
               "Print Setup", "Page Setup", "", "Recent", "", "Exit"});
    add(bar->addMenu(QStringLiteral("&Edit")),
        {"Copy", "Paste", "Insert", "", "Find", "Find Next", "Find Previous"});
    add(bar->addMenu(QStringLiteral("&View")),
        {"Toolbar", "Status Bar", "Zoomed View", "Normal View", "Zoom In", "Zoom Out",
         "Zoom Window", "Zoom Previous", "Measure", "Options", "", "Pens"});
    add(bar->addMenu(QStringLiteral("F&ormat")), {"Font and Line", "Georeference"});
    m_windowMenu = bar->addMenu(QStringLiteral("&Window"));
    add(m_windowMenu,
        {"New Window", "Cascade", "Tile", "Arrange Icons", "Next Window", "Previous Window", ""});
    connect(m_windowMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateWindowList);
    UpdateWindowList();
    about->setText(QStringLiteral("&About Korvane..."));
    add(bar->addMenu(QStringLiteral("&Help")), {"Drawing Status", "About"});
}

void CMainFrame::AddChild(CChildFrame* frame) {
    m_mdiArea->addSubWindow(frame);
    connect(frame, &QMdiSubWindow::windowStateChanged, this, &CMainFrame::UpdateTitle);
}

void CMainFrame::UpdateTitle() {
    QMdiSubWindow* active = m_mdiArea->activeSubWindow();
    if (!active && m_mdiArea->subWindowList().size() == 1) active = m_mdiArea->subWindowList()[0];
    // A maximised child's title is added by the workspace itself: "korvane - [name.plt]".
    const bool named = active && !active->isMaximized();
    setWindowTitle(named ? kTitle + QStringLiteral(" - ") + active->windowTitle() : kTitle);
}

void CMainFrame::OnActiveViewChanged() {
    disconnect(m_viewConnection);
    disconnect(m_cursorConnection);
    disconnect(m_measureConnection);
    if (CKorvaneView* view = m_app.ActiveView()) {
        m_measureConnection =
            connect(view, &CKorvaneView::measureChanged, this, &CMainFrame::ShowMeasure);
        m_viewConnection =
            connect(view, &CKorvaneView::stateChanged, this, &CMainFrame::UpdateCommands);
        m_cursorConnection =
            connect(view, &CKorvaneView::cursorMoved, this, &CMainFrame::ShowCursorPosition);
    }
    m_pens->SetDocument(m_app.ActiveView() ? &m_app.ActiveView()->GetDocument() : nullptr);
    ShowCursorPosition(false, 0, 0);
    ShowMeasure();
    UpdateTitle();
    UpdateCommands();
    UpdateWindowList();
}

void CMainFrame::UpdateWindowList() {
    if (!m_windowMenu) return;
    for (QAction* item : m_windowItems) delete item;
    m_windowItems.clear();
    const QList<QMdiSubWindow*> windows = m_mdiArea->subWindowList();
    QMdiSubWindow* active = m_mdiArea->activeSubWindow();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        // Only the first nine have a digit to type.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QString::number(i + 1);
        QString title = window->windowTitle();
        title.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* item = m_windowMenu->addAction(number + QLatin1Char(' ') + title);
        item->setStatusTip(QStringLiteral("Activate this window"));
        item->setCheckable(true);
        item->setChecked(window == active);
        connect(item, &QAction::triggered, this, [this, window] {
            if (m_mdiArea->subWindowList().contains(window)) m_mdiArea->setActiveSubWindow(window);
            UpdateWindowList();
        });
        m_windowItems.push_back(item);
    }
}

void CMainFrame::OnCascade() {
    // Each window keeps at least two thirds of the workspace either way; when the steps would
    // pass the last third, the next windows start again at the top left.
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : m_mdiArea->subWindowList()) {
        if (!w->isMinimized() && !w->isHidden()) windows.push_back(w);
    }
    if (windows.isEmpty()) return;
    const QSize area = m_mdiArea->viewport()->size();
    const int step = std::max(
        1, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.front()) +
               style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, windows.front()));
    const int places = std::max(1, std::min(area.width(), area.height()) / 3 / step + 1);
    const int used = std::min<int>(windows.size(), places) - 1;
    const QSize size(area.width() - used * step, area.height() - used * step);
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* w = windows[i];
        if (w->isMaximized()) w->showNormal();
        const int offset = (i % places) * step;
        w->setGeometry(QRect(QPoint(offset, offset), size));
        w->raise();
    }
    if (QMdiSubWindow* active = m_mdiArea->activeSubWindow()) active->raise();
}

namespace {
// A pane's text, with its caption, as a screen reader reads it.
void ShowPane(QLabel* pane, const QString& caption, const QString& text) {
    pane->setText(text);
    // The caption with the figures, as the status dialog's figures read.
    pane->setAccessibleName(text.isEmpty() ? caption : caption + QStringLiteral(": ") + text);
    pane->setAccessibleDescription(text);
}
}  // namespace

void CMainFrame::ShowCursorPosition(bool valid, double x, double y) {
    ShowPane(m_position, QStringLiteral("Cursor position"),
             valid ? QStringLiteral("%1 in, %2 in")
                         .arg(QString::number(x, 'f', 3), QString::number(y, 'f', 3))
                   : QString());
    CKorvaneView* view = valid ? m_app.ActiveView() : nullptr;
    const QString world =
        view ? QString::fromStdString(WorldPositionText(view->GetDocument().World(), x, y))
             : QString();
    ShowPane(m_world, QStringLiteral("World position"), world);
    m_world->setVisible(!world.isEmpty());
}

void CMainFrame::ShowMeasure() {
    CKorvaneView* view = m_app.ActiveView();
    m_measure->setVisible(view && view->Measuring());
    ShowPane(m_measure, QStringLiteral("Measure"), view ? view->MeasureText() : QString());
}

void CMainFrame::OnAbout() {
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("About korvane"));
    auto* icon = new QLabel(&dialog);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/korvane.svg")).pixmap(48, 48));
    icon->setAccessibleName(QStringLiteral("Korvane icon"));
    auto* text = new QLabel(QStringLiteral("Korvane Version " KORVANE_VERSION), &dialog);
    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    connect(ok, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(row);
    layout->addWidget(ok);
    dialog.exec();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The configuration path is kept before anything is asked, whatever the answer.
    m_app.Settings().WriteCfgFile();
    if (!m_app.SaveAllModified()) {
        event->ignore();
        return;
    }
    m_app.CloseAllDocuments();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) m_app.OpenDocumentFile(url.toLocalFile());
    }
    event->acceptProposedAction();
}
