#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/platform/RegularFile.h"
#include "plot/DxfPens.h"
#include "plot/SaveResult.h"
#include "plot/UserFeedback.h"
#include "view/PenSummary.h"
#include "world/PaperToWorld.h"

class AppSettings;
class BackgroundWork;
class CKorvaneDoc;
class CKorvaneView;
class FileError;
class Prompts;
class QWidget;
class VertexIndex;
struct DxfSettings;

// One open plot file (or a new drawing) with the views on it: the document/view framework's
// document around a CKorvaneDoc, which is the drawing itself. It owns the drawing, watches its
// file, names its views' windows, keeps the modified flag, and asks the user before it loses
// changes. Its Save, Save As and Insert are in app/commands/.
class OpenDrawing : public QObject, public UserFeedback {
    Q_OBJECT
  public:
    // title: the name of a new drawing ("Korvane1"); a file takes its own name when opened.
    // The settings and the background work are the application's, shared with its views.
    OpenDrawing(Prompts& prompts, AppSettings& settings, BackgroundWork& background,
                const QString& title);
    ~OpenDrawing() override;

    // Reads path into this empty document. False, after telling the user why, when the file
    // cannot be read or holds not one readable record; the document is then to be discarded.
    bool Open(const QString& path);
    // File > Save: to the document's own file, or a chosen one for a new drawing. A file changed
    // on disk since it was read or saved is replaced only when the user says so. False when
    // cancelled or failed (the user has been told).
    bool Save();
    // File > Save As: the drawing exported as plot records or DXF, or view's current picture,
    // to a chosen file; the document keeps its own file and title. False when cancelled or
    // failed (the user was told).
    bool SaveAs(CKorvaneView& view);
    // Edit > Insert: a chosen plot file's records appended; the issuing view refits.
    bool Insert(CKorvaneView* issuingView);
    // The drawing's vertices for snapping, indexed on the background work when first asked for
    // and again once records were added; null when the user cancelled (or was told why it
    // failed).
    std::shared_ptr<const VertexIndex> SnapIndex(QWidget* parent);
    // Format > Georeference: the export settings edited in their dialog, without exporting.
    // False when cancelled.
    bool Georeference(QWidget* parent);
    // Before the document closes: "Save changes to %1?" when modified. False to keep it open.
    bool SaveModified();
    // The file (or its folder) changed on disk: offers to read it again when it is not the file
    // read, saved or asked about last.
    void OnFileChanged();
    void AskReload();

    CKorvaneDoc& Doc() { return *m_doc; }
    AppSettings& Settings() { return m_settings; }
    BackgroundWork& Background() { return m_background; }
    const QString& Title() const { return m_title; }
    const QString& PathName() const { return m_path; }
    // The paper-to-world transform of the export settings; none when they are not scaled or
    // define no transform.
    const std::optional<PaperToWorld>& World() const { return m_world; }
    bool IsModified() const;
    void SetModifiedFlag(bool modified = true);
    // Read only up to a damaged record.
    bool IsPartial() const { return m_partial; }

    // The pens panel (PensCommand.cpp): the drawing's marks by pen, scanned on the window's
    // thread when first asked for after a change (50 ms of CPU for ten million records);
    // each pen's DXF layer; and the pens hidden in every view of the drawing while it is open.
    const PenSummary& PenUses();
    std::string PenLayer(int pen);
    const PenSet& HiddenPens() const { return m_hiddenPens; }
    void SetPenHidden(int pen, bool hidden);

    void AddView(CKorvaneView* view);
    void RemoveView(CKorvaneView* view);
    const std::vector<CKorvaneView*>& Views() const { return m_views; }

    // UserFeedback: the reader's messages wait until the read has ended, so that a file that
    // is not a plot file at all gets one message of its own.
    void ShowMessage(const std::string& text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

  signals:
    // The title or the set of views changed: the frames retitle themselves.
    void titlesChanged();
    // The last view went: the document is to be closed.
    void lastViewClosed();
    // The drawing was replaced (reloaded from disk): the views start afresh.
    void drawingReplaced();
    // Records were added or replaced, or a pen shown or hidden: the pens panel follows.
    void pensChanged();
    // The export settings, and with them World(), changed.
    void exportSettingsChanged();

  private:
    // Runs read on the name of path's file once it is known to be a regular file, and keeps its
    // identity; false after telling the user why it was refused or failed.
    // The read runs on the background work, into doc alone, and may be cancelled: false, without
    // a word, when it was (doc.WasReadStopped()).
    bool ReadChecked(const QString& path, CKorvaneDoc& doc,
                     const std::function<void(const std::string&)>& read, FileIdentity* identity);
    // Runs read on the background work with Cancel offered; the exception it threw, if any.
    std::exception_ptr ReadOffThread(const QString& path, CKorvaneDoc& doc,
                                     const std::function<void()>& read);
    bool ReadInto(CKorvaneDoc& doc, const QString& path, FileIdentity& identity);
    bool SaveTo(const QString& path);
    void Watch();
    // The file now at the document's own path is the one it holds.
    void KnowOwnFile();
    // The export settings of the configuration file that was the last one when the document was
    // made, read when the first view or an export needs them.
    void LoadExportSettings();
    // The records changed: the pens are scanned again when next asked for.
    void DrawingChanged();
    void SetExportSettings(const DxfSettings& settings);
    // The export parameters dialog on the document's settings; OK sets them. The configuration
    // file it loaded or saved is the last one, whatever the answer. False when cancelled. For a
    // GIS export it also asks the coordinate system, kept in the settings on OK.
    bool EditExportSettings(QWidget* parent, bool gis = false);

    Prompts& m_prompts;
    AppSettings& m_settings;
    BackgroundWork& m_background;
    std::unique_ptr<CKorvaneDoc> m_doc;
    QString m_title;
    QString m_path;
    bool m_partial = false;
    bool m_askingReload = false;
    FileIdentity m_identity;  // of the file last read, reloaded or written at m_path
    FileIdentity m_noticed;   // of the file last asked about
    std::string m_cfgPath;
    bool m_settingsLoaded = false;
    std::optional<PaperToWorld> m_world;
    QStringList m_pendingMessages;
    std::vector<CKorvaneView*> m_views;
    std::unique_ptr<PenSummary> m_penUses;  // null until asked for after a change
    PenSet m_hiddenPens;
    QFileSystemWatcher m_watcher;
    std::shared_ptr<const VertexIndex> m_snapIndex;
    std::size_t m_snapIndexRecords = 0;  // of the drawing the index was built on
};

// What the user is told when a save or an export failed: the text of the file error's cause
// with the file's name, else the general failure.
QString SaveErrorText(const SaveResult& result);

// What the user is told when a file could not be opened or inserted: the saves' words for the
// error's cause, with path for %1.
QString ReadErrorText(const FileError& error, const QString& path);

// The window titles of a document's views: the title alone for one view, "title:1",
// "title:2"... for several.
QStringList ViewTitles(const QString& title, int views);
