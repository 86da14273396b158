// The view's commands that hand its drawing to others (the printer, the clipboard) or change
// how it draws (font and line).
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "app/commands/ClipboardCopy.h"
#include "app/document/OpenDrawing.h"
#include "app/settings/AppSettings.h"
#include "app/view/KorvaneView.h"
#include "app/work/BackgroundWork.h"
#include "fontdlg/CFasterFontDlg.h"
#include "plot/KorvaneDoc.h"
#include "print/PrintPage.h"
#include "widgets/Prompts.h"

bool CKorvaneView::PrintOn(QPaintDevice& device, bool background) {
    // The page starts from the rectangle the screen shows, so the screen's paint goes first.
    FinishPainting();
    bool printed = false;
    const auto print = [&] {
        printed = PrintPage(device, *m_view, m_document.Doc().Primitives(),
                            m_document.Settings().m_fitToPage);
    };
    const QString what = QStringLiteral("Printing %1...").arg(m_document.Title());
    QString failure;
    if (background) {
        failure = RunHeld(what, print);
    } else {
        try {
            print();
        } catch (...) {
            failure = FailureText(what, std::current_exception());
        }
    }
    if (printed) return true;
    m_prompts.Warning(failure.isEmpty() ? PrintRefusedMessage() : failure);
    return false;
}

void CKorvaneView::OnEditCopy() {
    // The copy continues from the state the screen's paint leaves, so that paint ends first.
    const int width = ClientWidth(), height = ClientHeight();
    std::unique_ptr<QMimeData> data;
    const QString failure = RunHeld(QStringLiteral("Copying..."), [&] {
        data = CopyPicture(*m_view, m_document.Doc().Primitives(), width, height);
        data->moveToThread(QCoreApplication::instance()->thread());  // the clipboard's thread
    });
    if (!failure.isEmpty()) {
        m_prompts.Warning(failure);  // the clipboard keeps what it held
        return;
    }
    QGuiApplication::clipboard()->setMimeData(data.release());
}

void CKorvaneView::OnFontAndLine() {
    CFasterFontDlg dialog(QString::fromStdString(m_view->Context().GetFaceName()),
                          m_view->GetLineWidth(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    m_view->SetLineWidth(dialog.LineWidth());
    m_view->Context().SetFaceName(dialog.FaceName().toStdString());
    Changed(true);
}
