// The main frame's commands: each made once with its caption, prompt, icon and keys, and
// enabled from the active view.
#include <QAction>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>

#include "app/document/OpenDrawing.h"
#include "app/frame/FrameHost.h"
#include "app/frame/MainFrame.h"
#include "app/frame/PensPanel.h"
#include "app/view/KorvaneView.h"

namespace {
// "&Open...\tCtrl+O" -> "Open"
QString PlainName(const QString& caption) {
    QString name = caption.section(QLatin1Char('\t'), 0, 0);
    name.remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1String("..."))) name.chop(3);
    return name;
}
}  // namespace

QAction* CMainFrame::MakeCommand(const QString& caption, const QString& prompt, const char* icon) {
    auto* action = new QAction(caption, this);
    const QString name = PlainName(caption);
    action->setIconText(name);
    action->setStatusTip(prompt.section(QLatin1Char('\n'), 0, 0));
    action->setToolTip(prompt.contains(QLatin1Char('\n')) ? prompt.section(QLatin1Char('\n'), 1)
                                                          : name);
    if (icon) action->setIcon(QIcon(QStringLiteral(":/icons/") + QLatin1String(icon)));
    m_commands[name] = action;
    return action;
}

QAction* CMainFrame::Command(const QString& name) const {
    const auto it = m_commands.find(name);
    return it == m_commands.end() ? nullptr : it->second;
}

void CMainFrame::CreateCommands() {
    CreateFileCommands();
    CreateEditCommands();
    CreateFindCommands();
    CreateViewCommands();
    ConnectPrintCommands();
    CreateWindowCommands();
    CreateHelpCommands();
}

void CMainFrame::CreateFileCommands() {
    const QString exitPrompt =
        QStringLiteral("Quit the application; prompts to save documents\nExit");
    QAction* a = MakeCommand(QStringLiteral("&New\tCtrl+N"),
                             QStringLiteral("Create a new document\nNew"), "new.svg");
    a->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    connect(a, &QAction::triggered, this, [this] { m_app.OnFileNew(); });
    a = MakeCommand(QStringLiteral("&Open...\tCtrl+O"),
                    QStringLiteral("Open an existing document\nOpen"), "open.svg");
    a->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    connect(a, &QAction::triggered, this, [this] { m_app.OnFileOpen(); });
    a = MakeCommand(QStringLiteral("&Close\tCtrl+W"),
                    QStringLiteral("Close the active document\nClose"));
    a->setShortcut(QKeySequence(QStringLiteral("Ctrl+W")));
    connect(a, &QAction::triggered, this, [this] { m_app.OnFileClose(); });
    a = MakeCommand(QStringLiteral("&Save\tCtrl+S"),
                    QStringLiteral("Save the active document\nSave"), "save.svg");
    a->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    connect(a, &QAction::triggered, this, [this] { m_app.OnFileSave(); });
    a = MakeCommand(QStringLiteral("Save &As..."),
                    QStringLiteral("Save the active document with a new name\nSave As"));
    connect(a, &QAction::triggered, this, [this] {
        if (CKorvaneView* view = m_app.ActiveView()) view->GetDocument().SaveAs(*view);
        UpdateCommands();
    });
    a = MakeCommand(QStringLiteral("&Print...\tCtrl+P"),
                    QStringLiteral("Print the active document\nPrint"), "print.svg");
    a->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    MakeCommand(QStringLiteral("Print Pre&view"),
                QStringLiteral("Display full pages\nPrint Preview"));
    MakeCommand(QStringLiteral("P&rint Setup..."),
                QStringLiteral("Change the printer and printing options\nPrint Setup"));
    MakeCommand(QStringLiteral("Pa&ge Setup"),
                QStringLiteral("Change the page setup for printing\nPage Setup"));
    a = MakeCommand(QStringLiteral("E&xit"), exitPrompt);
    connect(a, &QAction::triggered, this, &QWidget::close);
}

void CMainFrame::CreateEditCommands() {
    QAction* a = MakeCommand(QStringLiteral("&Copy\tCtrl+C"),
                             QStringLiteral("Copy the selection and put it on the Clipboard\nCopy"),
                             "copy.svg");
    a->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+Insert"))});
    a = MakeCommand(QStringLiteral("&Paste\tCtrl+V"),
                    QStringLiteral("Insert Clipboard contents\nPaste"), "paste.svg");
    a->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+V")), QKeySequence(QStringLiteral("Shift+Insert"))});
    a = MakeCommand(QStringLiteral("&Insert"), QStringLiteral("Insert a .PLT file\nInsert"),
                    "insert.svg");
    connect(a, &QAction::triggered, this, [this] {
        if (CKorvaneView* view = m_app.ActiveView()) view->GetDocument().Insert(view);
        UpdateCommands();
    });
}

void CMainFrame::CreateViewCommands() {
    QAction* a = MakeCommand(QStringLiteral("&Toolbar"),
                             QStringLiteral("Show or hide the toolbar\nToggle ToolBar"));
    a->setCheckable(true);
    a->setChecked(true);
    a = MakeCommand(QStringLiteral("&Status Bar"),
                    QStringLiteral("Show or hide the status bar\nToggle StatusBar"));
    a->setCheckable(true);
    a->setChecked(true);
    connect(a, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });

    auto viewCommand = [this](const QString& caption, const QString& prompt, const char* icon,
                              void (CKorvaneView::*handler)()) {
        QAction* action = MakeCommand(caption, prompt, icon);
        connect(action, &QAction::triggered, this, [this, handler] {
            if (CKorvaneView* view = m_app.ActiveView()) (view->*handler)();
            UpdateCommands();
        });
        return action;
    };
    a = viewCommand(QStringLiteral("&Zoomed View"),
                    QStringLiteral("Display in zoomed view\n Incremental Zoom"), "zoomed-view.svg",
                    &CKorvaneView::OnZoomedView);
    a->setCheckable(true);
    a = viewCommand(QStringLiteral("&Normal View\tHome"),
                    QStringLiteral("Display entire view\n Zoom All"), "normal-view.svg",
                    &CKorvaneView::OnNormalView);
    a->setShortcut(QKeySequence(Qt::Key_Home));
    a = viewCommand(QStringLiteral("Zoom &In\tCtrl+="),
                    QStringLiteral("Zoom in about the centre of the view\nZoom In"), nullptr,
                    &CKorvaneView::OnZoomIn);
    a->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+=")), QKeySequence(QStringLiteral("Ctrl++"))});
    a = viewCommand(QStringLiteral("Zoom O&ut\tCtrl+-"),
                    QStringLiteral("Zoom out about the centre of the view\nZoom Out"), nullptr,
                    &CKorvaneView::OnZoomOut);
    a->setShortcut(QKeySequence(QStringLiteral("Ctrl+-")));
    viewCommand(QStringLiteral("Zoom &Window"), QStringLiteral("Zoom Window\nZoom Window"),
                "zoom-window.svg", &CKorvaneView::OnZoomWindow);
    viewCommand(QStringLiteral("Zoom &Previous"), QStringLiteral("Zoom Previous\nZoom Previous"),
                "zoom-previous.svg", &CKorvaneView::OnZoomPrevious);
    a = viewCommand(QStringLiteral("&Measure"),
                    QStringLiteral("Measure distances, bearings and areas on the drawing\nMeasure"),
                    "measure.svg", &CKorvaneView::OnMeasure);
    a->setCheckable(true);
    viewCommand(QStringLiteral("&Options..."), QStringLiteral("Edit program options\n Options"),
                nullptr, &CKorvaneView::OnOptions);
    MakeCommand(QStringLiteral("&Font and Line..."), QString());
    a = MakeCommand(
        QStringLiteral("&Georeference..."),
        QStringLiteral("Set where the drawing lies in the world, for the world position "
                       "and the DXF export\nGeoreference"));
    connect(a, &QAction::triggered, this, [this] {
        if (CKorvaneView* view = m_app.ActiveView()) view->GetDocument().Georeference(view);
    });
    a = MakeCommand(
        QStringLiteral("P&ens"),
        QStringLiteral("Show or hide the pens panel, where pens are shown or hidden\nPens"));
    a->setCheckable(true);
    connect(a, &QAction::toggled, m_pens, &QWidget::setVisible);
    // The panel's own close button unchecks the command.
    connect(m_pens->toggleViewAction(), &QAction::toggled, a, &QAction::setChecked);
}

void CMainFrame::CreateWindowCommands() {
    QAction* a =
        MakeCommand(QStringLiteral("&New Window"),
                    QStringLiteral("Open another window for the active document\nNew Window"));
    connect(a, &QAction::triggered, this, [this] { m_app.OnWindowNew(); });
    a = MakeCommand(QStringLiteral("&Cascade"),
                    QStringLiteral("Arrange windows so they overlap\nCascade Windows"));
    connect(a, &QAction::triggered, this, &CMainFrame::OnCascade);
    a = MakeCommand(QStringLiteral("&Tile"),
                    QStringLiteral("Arrange windows as non-overlapping tiles\nTile Windows"));
    connect(a, &QAction::triggered, m_mdiArea, &QMdiArea::tileSubWindows);
    a = MakeCommand(QStringLiteral("&Arrange Icons"),
                    QStringLiteral("Arrange icons at the bottom of the window\nArrange Icons"));
    connect(a, &QAction::triggered, this, [this] {
        // Minimised windows line up along the bottom edge.
        int x = 0;
        const int bottom = m_mdiArea->viewport()->height();
        for (QMdiSubWindow* w : m_mdiArea->subWindowList()) {
            if (!w->isMinimized()) continue;
            w->move(x, bottom - w->height());
            x += w->width();
        }
    });
    a = MakeCommand(QStringLiteral("Ne&xt Window\tCtrl+Tab"),
                    QStringLiteral("Activate the next window\nNext Window"));
    a->setShortcut(QKeySequence(QStringLiteral("Ctrl+Tab")));
    connect(a, &QAction::triggered, m_mdiArea, &QMdiArea::activateNextSubWindow);
    a = MakeCommand(QStringLiteral("Pre&vious Window\tCtrl+Shift+Tab"),
                    QStringLiteral("Activate the previous window\nPrevious Window"));
    a->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+Tab")));
    connect(a, &QAction::triggered, m_mdiArea, &QMdiArea::activatePreviousSubWindow);
}

void CMainFrame::CreateHelpCommands() {
    QAction* a =
        MakeCommand(QStringLiteral("&Drawing Status..."),
                    QStringLiteral("Display drawing informations\nInfo"), "drawing-status.svg");
    connect(a, &QAction::triggered, this, [this] {
        if (CKorvaneView* view = m_app.ActiveView()) view->OnDrawingStatus();
    });
    a = MakeCommand(
        QStringLiteral("&About Korvane..."),
        QStringLiteral("Display program information, version number and copyright\nAbout"),
        "about.svg");
    m_commands[QStringLiteral("About")] = a;
    connect(a, &QAction::triggered, this, &CMainFrame::OnAbout);
}

void CMainFrame::UpdateCommands() {
    CKorvaneView* view = m_app.ActiveView();
    for (const char* name :
         {"Close",       "Save",          "Save As",      "Insert",          "Drawing Status",
          "Zoomed View", "Normal View",   "Zoom In",      "Zoom Out",        "Zoom Window",
          "Options",     "New Window",    "Next Window",  "Previous Window", "Cascade",
          "Tile",        "Arrange Icons", "Print",        "Print Preview",   "Page Setup",
          "Copy",        "Font and Line", "Georeference", "Measure"}) {
        Command(QLatin1String(name))->setEnabled(view != nullptr);
    }
    for (const char* name : {"Find", "Find Next", "Find Previous"}) {
        Command(QLatin1String(name))->setEnabled(view != nullptr);
    }
    Command(QStringLiteral("Zoomed View"))
        ->setChecked(view && view->State().GetZoomMode() == ZOOM_INCREMENTAL);
    Command(QStringLiteral("Measure"))->setChecked(view && view->Measuring());
    Command(QStringLiteral("Zoom Previous"))->setEnabled(view && view->State().CanZoomPrevious());
    // Nothing is ever pasted into a drawing.
    Command(QStringLiteral("Paste"))->setEnabled(false);
}
