#include "app/KorvaneApp.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QPrinter>
#include <algorithm>
#include <csignal>
#include <utility>

#include "app/document/OpenDrawing.h"
#include "app/frame/ChildFrame.h"
#include "app/frame/MainFrame.h"
#include "app/view/KorvaneView.h"
#include "plot/KorvaneDoc.h"
#include "widgets/Prompts.h"

CKorvaneApp::CKorvaneApp(Prompts& prompts) : m_prompts(prompts) {
    // A write past the file-size limit then fails with EFBIG, reported like a full disk, instead
    // of the signal killing the program with every window's unsaved work.
    std::signal(SIGXFSZ, SIG_IGN);
}

CKorvaneApp::~CKorvaneApp() {
    // The windows (and their views) go before the documents they show.
    m_mainFrame.reset();
    m_documents.clear();
}

void CKorvaneApp::MakeMainFrame() {
    m_mainFrame = std::make_unique<CMainFrame>(*this);
    CMainFrame* frame = m_mainFrame.get();
    connect(this, &CKorvaneApp::documentsChanged, frame,
            [this, frame] { frame->OnDocumentsChanged(HasDocuments()); });
}

bool CKorvaneApp::InitInstance(const QStringList& files, bool show) {
    MakeMainFrame();
    // Shown first, so that what is said about the files is said over the window.
    if (show) m_mainFrame->showMaximized();
    if (files.isEmpty()) {
        m_startDocument = OnFileNew();
    } else {
        for (const QString& file : files) OpenDocumentFile(file);
    }
    return true;
}

bool CKorvaneApp::PrintFiles(const QStringList& files) {
    MakeMainFrame();
    // The views measure and fit themselves at the size a new window has.
    m_mainFrame->resize(1000, 800);
    bool printed = true;
    for (const QString& file : files) {
        CKorvaneView* view = OpenDocumentFile(file) ? ActiveView() : nullptr;
        printed = view && view->PrintOn(m_mainFrame->Printer()) && printed;
        CloseAllDocuments();
    }
    return printed;
}

OpenDrawing* CKorvaneApp::AddDocument(std::unique_ptr<OpenDrawing> document) {
    OpenDrawing* doc = document.get();
    m_documents.push_back(std::move(document));
    connect(doc, &OpenDrawing::titlesChanged, this, [this, doc] { Retitle(doc); });
    connect(
        doc, &OpenDrawing::lastViewClosed, this, [this, doc] { OnLastViewClosed(doc); },
        Qt::QueuedConnection);
    CreateView(*doc);
    emit documentsChanged();
    return doc;
}

OpenDrawing* CKorvaneApp::OnFileNew() {
    return AddDocument(std::make_unique<OpenDrawing>(
        m_prompts, m_settings, m_background, QStringLiteral("Korvane%1").arg(++m_untitled)));
}

void CKorvaneApp::OnFileOpen() {
    // The chooser starts in the folder of the active document's file.
    QString path;
    if (CKorvaneView* view = ActiveView()) {
        const QString own = view->GetDocument().PathName();
        if (!own.isEmpty()) path = QFileInfo(own).absolutePath();
    }
    if (m_prompts.ChooseFileToOpen(QStringLiteral("Open"), QStringLiteral("plt"),
                                   {QStringLiteral("Korvane Files (*.plt)")}, path)) {
        OpenDocumentFile(path);
    }
}

OpenDrawing* CKorvaneApp::OpenDocumentFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (const auto& doc : m_documents) {
        if (doc->PathName() == absolute && !doc->Views().empty()) {
            m_mainFrame->MdiArea()->setActiveSubWindow(
                qobject_cast<QMdiSubWindow*>(doc->Views().front()->parentWidget()));
            return doc.get();
        }
    }
    auto document = std::make_unique<OpenDrawing>(m_prompts, m_settings, m_background,
                                                  QFileInfo(path).fileName());
    if (!document->Open(path)) {
        // A file that could not be read drops from the recent list; a cancelled read keeps it.
        const bool cancelled = document->Doc().WasReadStopped();
        if (!cancelled && m_settings.RemoveRecentFile(absolute)) emit documentsChanged();
        return nullptr;
    }
    AddRecentFile(absolute);
    ReplaceStartDocument();
    return AddDocument(std::move(document));
}

void CKorvaneApp::ReplaceStartDocument() {
    // Only the first file opened may take its place, and only while it is untouched.
    const QPointer<OpenDrawing> start = std::exchange(m_startDocument, nullptr);
    if (!start || start->IsModified() || start->Views().size() != 1) return;
    if (auto* frame = qobject_cast<CChildFrame*>(start->Views().front()->parentWidget())) {
        frame->CloseWithoutPrompt();
    }
}

CKorvaneView* CKorvaneApp::CreateView(OpenDrawing& document) {
    auto* view = new CKorvaneView(document, m_prompts);
    auto* frame = new CChildFrame(view);
    m_mainFrame->AddChild(frame);
    Retitle(&document);
    frame->show();
    // The first window fills the workspace; a closed one may linger in the list until deleted.
    const auto frames = m_mainFrame->MdiArea()->subWindowList();
    if (std::count_if(frames.begin(), frames.end(), [](QWidget* w) { return !w->isHidden(); }) ==
        1) {
        frame->showMaximized();
    }
    return view;
}

void CKorvaneApp::Retitle(OpenDrawing* document) {
    if (!m_mainFrame) return;  // the windows are going
    const QStringList titles =
        ViewTitles(document->Title(), static_cast<int>(document->Views().size()));
    for (std::size_t i = 0; i < document->Views().size(); ++i) {
        QWidget* frame = document->Views()[i]->parentWidget();
        if (frame) frame->setWindowTitle(titles[static_cast<int>(i)]);
    }
    m_mainFrame->UpdateTitle();
}

CKorvaneView* CKorvaneApp::ActiveView() const {
    if (!m_mainFrame) return nullptr;
    auto* frame = qobject_cast<CChildFrame*>(m_mainFrame->MdiArea()->activeSubWindow());
    if (!frame) {
        const auto frames = m_mainFrame->MdiArea()->subWindowList();
        if (frames.size() != 1) return nullptr;
        frame = qobject_cast<CChildFrame*>(frames.front());
    }
    return frame ? frame->View() : nullptr;
}

void CKorvaneApp::OnFileClose() {
    CKorvaneView* view = ActiveView();
    if (!view) return;
    OpenDrawing& document = view->GetDocument();
    if (!document.SaveModified()) return;
    const auto views = document.Views();
    for (CKorvaneView* v : views) {
        if (auto* frame = qobject_cast<CChildFrame*>(v->parentWidget()))
            frame->CloseWithoutPrompt();
    }
}

void CKorvaneApp::OnFileSave() {
    CKorvaneView* view = ActiveView();
    if (!view) return;
    const bool wasNew = view->GetDocument().PathName().isEmpty();
    if (view->GetDocument().Save() && wasNew) AddRecentFile(view->GetDocument().PathName());
}

void CKorvaneApp::OnWindowNew() {
    if (CKorvaneView* view = ActiveView()) CreateView(view->GetDocument());
}

bool CKorvaneApp::SaveAllModified() {
    for (const auto& doc : m_documents) {
        if (!doc->SaveModified()) return false;
    }
    return true;
}

void CKorvaneApp::CloseAllDocuments() {
    const auto frames = m_mainFrame->MdiArea()->subWindowList();
    for (QMdiSubWindow* w : frames) {
        if (auto* frame = qobject_cast<CChildFrame*>(w)) frame->CloseWithoutPrompt();
    }
}

void CKorvaneApp::OnLastViewClosed(OpenDrawing* document) {
    if (!document->Views().empty()) return;  // a new window came meanwhile
    for (auto it = m_documents.begin(); it != m_documents.end(); ++it) {
        if (it->get() == document) {
            m_documents.erase(it);
            break;
        }
    }
    emit documentsChanged();
}

void CKorvaneApp::AddRecentFile(const QString& path) {
    m_settings.AddRecentFile(path);
    emit documentsChanged();
}
