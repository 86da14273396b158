// File > Save and the question before a modified drawing closes.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <utility>

#include "app/document/OpenDrawing.h"
#include "app/work/BackgroundWork.h"
#include "plot/KorvaneDoc.h"
#include "widgets/Prompts.h"

bool OpenDrawing::SaveTo(const QString& path) {
    m_watcher.blockSignals(true);
    const std::string target = QFile::encodeName(path).toStdString();
    SaveResult result;
    const QString failure = m_background.Run(
        QApplication::activeWindow(),
        QStringLiteral("Saving %1...").arg(QFileInfo(path).fileName()),
        [&, records = m_doc->Records()] { result = CKorvaneDoc::WriteRecords(*records, target); },
        this);
    const bool saved = failure.isEmpty() && result.Ok();
    if (!saved) m_prompts.Warning(failure.isEmpty() ? SaveErrorText(result) : failure);
    if (saved) {
        m_doc->MarkSaved(target);
        m_path = QFileInfo(path).absoluteFilePath();
        KnowOwnFile();
        m_title = QFileInfo(path).fileName();
        m_partial = false;
        SetModifiedFlag(false);
        emit titlesChanged();
    }
    Watch();
    m_watcher.blockSignals(false);
    return saved;
}

bool OpenDrawing::Save() {
    if (m_path.isEmpty()) {
        QString path = m_title + QStringLiteral(".plt");
        int filter = 1;
        if (!m_prompts.ChooseFile(QStringLiteral("Save As"), QStringLiteral("plt"),
                                  {QStringLiteral("Korvane Files (*.plt)")}, path, true, filter)) {
            return false;
        }
        return SaveTo(path);
    }
    // Another program's newer file is not silently replaced by the older drawing.
    const FileIdentity now = IdentityOf(QFile::encodeName(m_path).toStdString());
    if (now.Exists() && now != m_identity &&
        !m_prompts.AskYesNo(QStringLiteral("%1 has changed on disk since it was opened or last "
                                           "saved. Overwrite it?")
                                .arg(m_title),
                            Prompts::Answer::No)) {
        return false;
    }
    if (m_partial &&
        !m_prompts.AskYesNo(QStringLiteral("%1 was read only up to a damaged record.\nSaving it "
                                           "keeps only the part that was read. Save anyway?")
                                .arg(m_title))) {
        return false;
    }
    return SaveTo(m_path);
}

bool OpenDrawing::SaveModified() {
    if (!IsModified()) return true;
    switch (m_prompts.AskYesNoCancel(QStringLiteral("Save changes to %1?").arg(m_title))) {
        case Prompts::Answer::Yes:
            return Save();
        case Prompts::Answer::No:
            return true;
        case Prompts::Answer::Cancel:
            break;
    }
    return false;
}
