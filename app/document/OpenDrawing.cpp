#include "app/document/OpenDrawing.h"

#include <QApplication>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <filesystem>
#include <utility>

#include "app/platform/RegularFile.h"
#include "app/settings/AppSettings.h"
#include "app/view/KorvaneView.h"
#include "app/work/BackgroundWork.h"
#include "dxf/DxfConfig.h"
#include "plot/FileError.h"
#include "plot/KorvaneDoc.h"
#include "widgets/Prompts.h"

OpenDrawing::OpenDrawing(Prompts& prompts, AppSettings& settings, BackgroundWork& background,
                         const QString& title)
    : m_prompts(prompts),
      m_settings(settings),
      m_background(background),
      m_doc(std::make_unique<CKorvaneDoc>(*this)),
      m_title(title),
      m_cfgPath(settings.m_cfgFilePath) {
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &OpenDrawing::OnFileChanged);
    connect(this, &OpenDrawing::drawingReplaced, this, [this] { m_snapIndex.reset(); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &OpenDrawing::OnFileChanged);
}

namespace {
// The export settings of the configuration file at path over the defaults. What is not a
// regular file is not read (a FIFO would block the window); that is told once per run.
DxfSettings LastConfigSettings(const std::string& path, AppSettings& settings, Prompts& prompts) {
    if (path.empty()) return DxfSettings();
    const RegularFile file(path);
    if (file.GetStatus() == RegularFile::Status::kOpen) return NewDocumentSettings(file.ReadPath());
    if (file.GetStatus() == RegularFile::Status::kNotRegular && settings.FirstRefusal(path)) {
        prompts.Warning(QStringLiteral("%1 is not a regular file; the DXF export starts from the "
                                       "default settings.")
                            .arg(QFile::decodeName(QByteArray::fromStdString(path))));
    }
    return DxfSettings();
}
}  // namespace

void OpenDrawing::LoadExportSettings() {
    if (m_settingsLoaded) return;
    m_settingsLoaded = true;
    SetExportSettings(LastConfigSettings(m_cfgPath, m_settings, m_prompts));
}

void OpenDrawing::SetExportSettings(const DxfSettings& settings) {
    m_doc->SetDxfSettings(settings);
    m_world = ScaledWorldOf(settings);
    emit exportSettingsChanged();
}

OpenDrawing::~OpenDrawing() = default;

namespace {
// The cause's text with %1 still to fill; empty for a cause without one of its own.
QString CauseText(FileErrorCause cause) {
    switch (cause) {
        case FileErrorCause::NotFound:
            return QStringLiteral("%1 was not found.");
        case FileErrorCause::BadPath:
            return QStringLiteral("%1 contains an invalid path.");
        case FileErrorCause::AccessDenied:
            return QStringLiteral("Access to %1 was denied.");
        case FileErrorCause::Sharing:
            return QStringLiteral("A sharing violation occurred while accessing %1.");
        case FileErrorCause::DiskFull:
            return QStringLiteral("Disk full while accessing %1.");
        case FileErrorCause::Other:
            break;
    }
    return QString();
}
}  // namespace

QString SaveErrorText(const SaveResult& result) {
    if (result.error == SaveResult::Error::kExportRefused) {
        return QString::fromStdString(result.message);
    }
    const QString text = CauseText(result.cause);
    if (text.isEmpty()) return QStringLiteral("Failed to save document.");
    return text.arg(QString::fromStdString(result.path));
}

QString ReadErrorText(const FileError& error, const QString& path) {
    const QString text = CauseText(error.Cause());
    return (text.isEmpty() ? QStringLiteral("An unknown error occurred while accessing %1.") : text)
        .arg(path);
}

QStringList ViewTitles(const QString& title, int views) {
    if (views <= 1) return {title};
    QStringList titles;
    for (int i = 1; i <= views; ++i) titles << title + QLatin1Char(':') + QString::number(i);
    return titles;
}

// A read runs on the background work: its messages wait in m_pendingMessages, which the window's
// thread reads only once the read is over; the work shows the wait cursor itself.
void OpenDrawing::ShowMessage(const std::string& text) {
    m_pendingMessages << QString::fromStdString(text);
}

void OpenDrawing::BeginWaitCursor() {
    if (QThread::currentThread() == qApp->thread()) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void OpenDrawing::EndWaitCursor() {
    if (QThread::currentThread() == qApp->thread()) QApplication::restoreOverrideCursor();
}

std::exception_ptr OpenDrawing::ReadOffThread(const QString& path, CKorvaneDoc& doc,
                                              const std::function<void()>& read) {
    std::exception_ptr failure;
    const QString what = QStringLiteral("Reading %1...").arg(QFileInfo(path).fileName());
    const QString unstarted =
        m_background.Run(QApplication::activeWindow(), what, this, true, [&](JobControl& control) {
            std::error_code error;
            const auto size =
                std::filesystem::file_size(QFile::encodeName(path).toStdString(), error);
            doc.SetReadObserver([&](std::uint64_t at) {
                control.Report(error || size == 0 ? -1.0 : double(at) / double(size), {});
                return !control.Cancelled();
            });
            try {
                read();
            } catch (...) {
                failure = std::current_exception();
            }
            doc.SetReadObserver({});
        });
    // Only a worker that could not be started ends here: the read itself catches everything.
    if (!unstarted.isEmpty()) m_prompts.Warning(unstarted);
    return failure;
}

bool OpenDrawing::ReadChecked(const QString& path, CKorvaneDoc& doc,
                              const std::function<void(const std::string&)>& read,
                              FileIdentity* identity) {
    const std::string name = QFile::encodeName(path).toStdString();
    // A FIFO, socket or device would block the window for good: refused unread. A name that
    // cannot be opened at all is left to the reader, which tells why in its own words.
    const RegularFile file(name);
    if (file.GetStatus() == RegularFile::Status::kNotRegular) {
        m_prompts.Warning(QStringLiteral("%1 is not a regular file.").arg(path));
        return false;
    }
    const bool checked = file.GetStatus() == RegularFile::Status::kOpen;
    const std::string readPath = checked ? file.ReadPath() : name;
    const std::exception_ptr failure = ReadOffThread(path, doc, [&] { read(readPath); });
    if (doc.WasReadStopped()) return false;
    try {
        if (failure) std::rethrow_exception(failure);
    } catch (const FileError& e) {
        m_prompts.Warning(ReadErrorText(e, path));
        return false;
    } catch (const std::bad_alloc&) {
        m_prompts.Warning(QStringLiteral("%1: not enough memory to open the drawing.").arg(path));
        return false;
    }
    if (identity) *identity = checked ? file.Identity() : IdentityOf(name);
    return true;
}

bool OpenDrawing::ReadInto(CKorvaneDoc& doc, const QString& path, FileIdentity& identity) {
    m_pendingMessages.clear();
    if (!ReadChecked(
            path, doc, [&doc](const std::string& name) { doc.OnOpenDocument(name); }, &identity)) {
        return false;
    }
    const bool damaged = !m_pendingMessages.isEmpty();
    if (damaged && doc.Primitives().empty()) {
        // Not one record could be read: this is some other kind of file.
        m_prompts.Warning(QStringLiteral("%1 is not a plot file.").arg(path));
        return false;
    }
    for (const QString& message : m_pendingMessages) m_prompts.Warning(message);
    m_pendingMessages.clear();
    m_partial = damaged;
    return true;
}

bool OpenDrawing::Open(const QString& path) {
    if (!ReadInto(*m_doc, path, m_identity)) return false;
    m_noticed = m_identity;
    m_path = QFileInfo(path).absoluteFilePath();
    m_title = QFileInfo(path).fileName();
    SetModifiedFlag(false);
    Watch();
    emit titlesChanged();
    return true;
}

void OpenDrawing::Watch() {
    if (!m_watcher.files().isEmpty()) m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty()) m_watcher.removePaths(m_watcher.directories());
    if (m_path.isEmpty()) return;
    // The folder too: a file deleted and made again (a checkout, an editor's atomic save) ends
    // the watch on the file itself, and its return shows only in the folder.
    m_watcher.addPath(QFileInfo(m_path).absolutePath());
    if (QFileInfo::exists(m_path)) m_watcher.addPath(m_path);
}

void OpenDrawing::KnowOwnFile() {
    m_identity = m_noticed = IdentityOf(QFile::encodeName(m_path).toStdString());
}

void OpenDrawing::OnFileChanged() {
    // Asked once nothing is being written or drawn off the window's thread: a reload must not
    // pull the drawing from under it.
    m_background.WhenIdle(this, [this] { AskReload(); });
}

void OpenDrawing::AskReload() {
    if (m_askingReload || m_path.isEmpty()) return;
    const FileIdentity now = IdentityOf(QFile::encodeName(m_path).toStdString());
    // A deleted file is news once it is back; the file we read or saved ourselves, or the one
    // already asked about, is none (another file of the folder changed).
    if (!now.Exists() || now == m_identity || now == m_noticed) {
        if (now.Exists() && !m_watcher.files().contains(m_path)) m_watcher.addPath(m_path);
        return;
    }
    m_noticed = now;
    m_askingReload = true;
    const bool reload =
        m_prompts.AskYesNo(QStringLiteral("%1 has changed on disk.\nReload it?").arg(m_title));
    m_askingReload = false;
    Watch();  // a replaced file is a new file to the watcher
    if (!reload) return;
    // The export settings stay the document's; only the drawing is read again.
    auto fresh = std::make_unique<CKorvaneDoc>(*this, m_doc->GetDxfSettings());
    FileIdentity read;
    if (!ReadInto(*fresh, m_path, read)) return;
    // The old drawing outlives the views' switch to the new one: a paint may still hold it.
    std::swap(m_doc, fresh);
    m_identity = m_noticed = read;
    SetModifiedFlag(false);
    emit drawingReplaced();
    DrawingChanged();
}

bool OpenDrawing::IsModified() const {
    return m_doc->IsModified();
}

void OpenDrawing::SetModifiedFlag(bool modified) {
    m_doc->SetModifiedFlag(modified);
}

void OpenDrawing::AddView(CKorvaneView* view) {
    view->View().SetHiddenPens(m_hiddenPens);
    // Its world position is shown from the start.
    if (m_views.empty()) LoadExportSettings();
    m_views.push_back(view);
    emit titlesChanged();
}

void OpenDrawing::RemoveView(CKorvaneView* view) {
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
    emit titlesChanged();
    if (m_views.empty()) emit lastViewClosed();
}
