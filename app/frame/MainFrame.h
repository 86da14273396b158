#pragma once

#include <QMainWindow>
#include <map>
#include <memory>
#include <vector>

class CChildFrame;
class CFindDlg;
class FrameHost;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QPrinter;
class PensPanel;

// The main window: the workspace of child frames, the menu bar (the short menu while no
// document is open, the full one while one is), the toolbar and the status bar.
class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    explicit CMainFrame(FrameHost& app);
    ~CMainFrame() override;

    // The documents opened or closed, or the recent-file list changed: the menus follow.
    void OnDocumentsChanged(bool anyDocument);
    QMdiArea* MdiArea() const { return m_mdiArea; }
    void AddChild(CChildFrame* frame);
    void UpdateTitle();
    // Enables and checks the commands from the active view.
    void UpdateCommands();
    // A command by its caption as the menu shows it, without mnemonic and shortcut
    // ("Zoom Window" for the toolbar-only commands).
    QAction* Command(const QString& name) const;
    // The printer of every print, preview and setup.
    QPrinter& Printer();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QAction* MakeCommand(const QString& caption, const QString& prompt, const char* icon = nullptr);
    // The commands of each menu (FrameCommands.cpp).
    void CreateCommands();
    void CreateFileCommands();
    void CreateEditCommands();
    void CreateViewCommands();
    void CreateWindowCommands();
    void CreateHelpCommands();
    void BuildMenus(bool documentMenu);
    void AddRecentFiles(QMenu* file);
    void CreateToolBar();
    void CreateStatusBar();
    void OnAbout();
    // Print, Print Preview, Print Setup, Page Setup, Copy, Font and Line (PrintCommands.cpp).
    void ConnectPrintCommands();
    // Find, Find Next and Find Previous (FindCommands.cpp).
    void CreateFindCommands();
    void FindAgain(bool forward);
    void OnActiveViewChanged();
    void ShowCursorPosition(bool valid, double x, double y);
    // The active view's measurement, while it measures.
    void ShowMeasure();
    void UpdateLockIndicators();
    // The Window menu's list of the open windows, the active one checked.
    void UpdateWindowList();
    void OnCascade();

    FrameHost& m_app;
    QMdiArea* m_mdiArea;
    QLabel* m_position = nullptr;
    PensPanel* m_pens;
    // The pointer in the world of the active document's export settings, while they are scaled.
    QLabel* m_world = nullptr;
    QLabel* m_measure = nullptr;
    // CAP, NUM, SCRL: each only where the platform reports its key.
    QLabel* m_locks[3] = {};
    bool m_documentMenu = false;
    std::map<QString, QAction*> m_commands;
    QMenu* m_windowMenu = nullptr;
    std::vector<QAction*> m_windowItems;
    QMetaObject::Connection m_viewConnection;
    QMetaObject::Connection m_cursorConnection;
    QMetaObject::Connection m_measureConnection;
    // The printer of every print, preview and setup, made on first use.
    std::unique_ptr<QPrinter> m_printer;
    // Edit > Find's dialog, made on first use; it stays open beside the views.
    CFindDlg* m_findDialog = nullptr;
};
