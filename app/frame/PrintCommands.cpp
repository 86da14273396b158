// The printing commands of the main frame and the printer they share.
#include <QAction>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/dialogs/CPageDlg.h"
#include "app/frame/FrameHost.h"
#include "app/frame/MainFrame.h"
#include "app/settings/AppSettings.h"
#include "app/view/KorvaneView.h"
#include "view/PlotView.h"

QPrinter& CMainFrame::Printer() {
    if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void CMainFrame::ConnectPrintCommands() {
    connect(Command(QStringLiteral("Print")), &QAction::triggered, this, [this] {
        CKorvaneView* view = m_app.ActiveView();
        if (!view) return;
        QPrintDialog dialog(&Printer(), this);
        if (dialog.exec() == QDialog::Accepted) view->PrintOn(Printer(), true);
    });
    connect(Command(QStringLiteral("Print Preview")), &QAction::triggered, this, [this] {
        CKorvaneView* view = m_app.ActiveView();
        if (!view) return;
        QPrintPreviewDialog dialog(&Printer(), this);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, view,
                [view](QPrinter* printer) { view->PrintOn(*printer); });
        dialog.exec();
    });
    connect(Command(QStringLiteral("Print Setup")), &QAction::triggered, this, [this] {
        QPageSetupDialog dialog(&Printer(), this);
        dialog.exec();
    });
    connect(Command(QStringLiteral("Page Setup")), &QAction::triggered, this, [this] {
        CPageDlg dialog(this);
        int& fitToPage = m_app.Settings().m_fitToPage;
        dialog.m_printMode = fitToPage;
        if (dialog.exec() == QDialog::Accepted) fitToPage = dialog.m_printMode;
    });
    connect(Command(QStringLiteral("Copy")), &QAction::triggered, this, [this] {
        if (CKorvaneView* view = m_app.ActiveView()) view->OnEditCopy();
    });
    connect(Command(QStringLiteral("Font and Line")), &QAction::triggered, this, [this] {
        if (CKorvaneView* view = m_app.ActiveView()) view->OnFontAndLine();
    });
}
