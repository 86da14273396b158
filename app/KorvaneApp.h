#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "app/frame/FrameHost.h"
#include "app/settings/AppSettings.h"
#include "app/work/BackgroundWork.h"

class CKorvaneView;
class CMainFrame;
class OpenDrawing;
class Prompts;

// The application: its documents, the document commands of the File and Window menus, the
// recent-file list, start-up and the main frame.
class CKorvaneApp : public QObject, public FrameHost {
    Q_OBJECT
  public:
    explicit CKorvaneApp(Prompts& prompts);
    ~CKorvaneApp() override;

    // Creates the main frame, then opens the files given, or one new drawing when there are
    // none. The frame is shown maximised unless show is false (tests).
    bool InitInstance(const QStringList& files, bool show = true);
    // Prints each file as one page on the default printer without showing a window; false when
    // any of them could not be opened or printed.
    bool PrintFiles(const QStringList& files);
    CMainFrame* MainFrame() const { return m_mainFrame.get(); }
    Prompts& GetPrompts() { return m_prompts; }
    AppSettings& Settings() override { return m_settings; }
    BackgroundWork& Background() { return m_background; }

    // FrameHost
    OpenDrawing* OnFileNew() override;
    void OnFileOpen() override;
    OpenDrawing* OpenDocumentFile(const QString& path) override;
    void OnFileClose() override;
    void OnFileSave() override;
    void OnWindowNew() override;
    bool SaveAllModified() override;
    void CloseAllDocuments() override;
    bool HasDocuments() const override { return !m_documents.empty(); }
    CKorvaneView* ActiveView() const override;

    const std::vector<std::unique_ptr<OpenDrawing>>& Documents() const { return m_documents; }

  signals:
    // A document opened or closed, or the recent-file list changed.
    void documentsChanged();

  private:
    // The main frame, told of every change of the documents.
    void MakeMainFrame();
    CKorvaneView* CreateView(OpenDrawing& document);
    OpenDrawing* AddDocument(std::unique_ptr<OpenDrawing> document);
    void AddRecentFile(const QString& path);
    // The first file opened replaces the start-up drawing while it is unmodified in one window.
    void ReplaceStartDocument();
    void OnLastViewClosed(OpenDrawing* document);
    void Retitle(OpenDrawing* document);

    Prompts& m_prompts;
    // Before the documents, which use both until they go.
    AppSettings m_settings;
    BackgroundWork m_background;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::vector<std::unique_ptr<OpenDrawing>> m_documents;
    int m_untitled = 0;
    // The empty drawing of a start without files, until the first file opens.
    QPointer<OpenDrawing> m_startDocument;
};
