#pragma once

class AppSettings;
class CKorvaneView;
class OpenDrawing;
class QString;

// What the main frame asks of the application, and all it sees of it: the document commands of
// the File and Window menus, the active view and the settings. The application tells the frame
// in turn when its documents change (CMainFrame::OnDocumentsChanged), so neither side's header
// needs the other's.
class FrameHost {
  public:
    virtual AppSettings& Settings() = 0;
    virtual CKorvaneView* ActiveView() const = 0;
    virtual bool HasDocuments() const = 0;
    virtual OpenDrawing* OnFileNew() = 0;
    virtual void OnFileOpen() = 0;
    // Opens path, or activates it when it is already open. Null when it cannot be opened.
    virtual OpenDrawing* OpenDocumentFile(const QString& path) = 0;
    virtual void OnFileClose() = 0;
    virtual void OnFileSave() = 0;
    virtual void OnWindowNew() = 0;
    // Offers to save every modified document; false when the user cancelled.
    virtual bool SaveAllModified() = 0;
    // Closes every window without asking again.
    virtual void CloseAllDocuments() = 0;

  protected:
    ~FrameHost() = default;
};
