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
#include "app/work/JobRunner.h"
#include "fontdlg/CFasterFontDlg.h"
#include "plot/KorvaneDoc.h"
#include "print/PrintPage.h"
#include "widgets/Prompts.h"

bool CKorvaneView::PrintOn(QPaintDevice& device, bool background) {
    const int fitToPage = m_document.Settings().m_fitToPage;
    bool printed = false;
    bool stopped = false;
    QString failure;
    if (background) {
        failure = RunOnSnapshot(
            QStringLiteral("Printing %1...").arg(m_document.Title()),
            [&](PlotView& view, const PrimitiveList& primitives, JobControl& control) {
                printed = PrintPage(device, view, primitives, fitToPage,
                                    [&control] { return control.Cancelled(); });
                stopped = control.Cancelled();
            });
    } else {
        // A preview page is painted where the preview asks, from the state the screen left.
        FinishPainting();
        try {
            printed = PrintPage(device, *m_view, m_document.Doc().Primitives(), fitToPage);
        } catch (...) {
            failure = FailureText(QStringLiteral("Printing %1...").arg(m_document.Title()),
                                  std::current_exception());
        }
    }
    if (printed || (stopped && failure.isEmpty())) return printed;
    m_prompts.Warning(failure.isEmpty() ? PrintRefusedMessage() : failure);
    return false;
}

void CKorvaneView::OnEditCopy() {
    const int width = ClientWidth(), height = ClientHeight();
    std::unique_ptr<QMimeData> data;
    const QString failure = RunOnSnapshot(
        QStringLiteral("Copying..."),
        [&](PlotView& view, const PrimitiveList& primitives, JobControl& control) {
            data = CopyPicture(view, primitives, width, height,
                               [&control] { return control.Cancelled(); });
            if (data)
                data->moveToThread(QCoreApplication::instance()->thread());  // the clipboard's
        });
    if (!failure.isEmpty()) m_prompts.Warning(failure);
    // A failed or cancelled copy leaves the clipboard with what it held.
    if (failure.isEmpty() && data) QGuiApplication::clipboard()->setMimeData(data.release());
}

void CKorvaneView::OnFontAndLine() {
    CFasterFontDlg dialog(QString::fromStdString(m_view->Context().GetFaceName()),
                          m_view->GetLineWidth(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    m_view->SetLineWidth(dialog.LineWidth());
    m_view->Context().SetFaceName(dialog.FaceName().toStdString());
    Changed(true);
}
