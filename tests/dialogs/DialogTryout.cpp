// The dialogs outside the program, for looking at them and trying them by hand:
//   korvane_dialog_tryout OUTDIR          a picture of each dialog (off screen), OUTDIR/NAME.png
//   korvane_dialog_tryout --show NAME     one dialog on the display, with the real prompts
//   korvane_dialog_tryout --choose open|save [PATH]
//                                         the export chooser; prints what it returned
// NAME: options, dxf-parameters, drawing-status, page-setup, font-and-line.
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/ScriptedPrompts.h"
#include "app/dialogs/CDxfParms.h"
#include "app/dialogs/COptionsDlg.h"
#include "app/dialogs/CPageDlg.h"
#include "app/dialogs/CStatusDlg.h"
#include "app/dialogs/QtPrompts.h"
#include "fontdlg/CFasterFontDlg.h"
#include "fontdlg/CFontPreviewCombo.h"

namespace {
const char* const kNames[] = {"options", "dxf-parameters", "drawing-status", "page-setup",
                              "font-and-line"};

// Each dialog as the program would open it on a typical drawing.
std::unique_ptr<QDialog> Make(const QString& name, Prompts& prompts) {
    if (name == "options") {
        auto dlg = std::make_unique<COptionsDlg>(prompts);
        dlg->m_increment = 10;
        return dlg;
    }
    if (name == "dxf-parameters") {
        auto dlg = std::make_unique<CDxfParms>(prompts);
        DxfSettings& p = dlg->m_parameters;
        for (int i = 0; i < 8; ++i) {
            p.layerName[i] = "PEN" + std::to_string(i + 1);
            p.layerColor[i] = i + 1;
        }
        p.paperX[0] = 1.5;
        p.paperY[0] = 2.5;
        p.easting[0] = 612345.125;
        p.northing[0] = 5123456.75;
        p.originalScale = 2500;
        return dlg;
    }
    if (name == "drawing-status") return std::make_unique<CStatusDlg>(3300.0f, 2550.0f, 300, 1234);
    if (name == "page-setup") return std::make_unique<CPageDlg>();
    if (name == "font-and-line") return std::make_unique<CFasterFontDlg>("DejaVu Sans", 2);
    return nullptr;
}

bool Shoot(QWidget& widget, const QDir& out, const char* name) {
    widget.show();
    QApplication::processEvents();
    const QString path = out.filePath(QString::fromLatin1(name) + ".png");
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    widget.hide();
    return saved;
}

int Pictures(const QDir& out) {
    ScriptedPrompts prompts;
    bool ok = true;
    for (const char* name : kNames) ok &= Shoot(*Make(name, prompts), out, name);
    // The dropped font list on its own, as the user sees it open.
    CFontPreviewCombo list;
    list.SetFontHeight(20, true);
    list.show();
    list.showPopup();
    QApplication::processEvents();
    ok &= Shoot(*list.view()->window(), out, "font-list");
    return ok ? 0 : 1;
}

int Choose(bool save, const QString& initial) {
    QtPrompts prompts(nullptr);
    QString path = initial;
    int index = 1;
    const bool chosen = prompts.ChooseFile("Export to file...", "plt",
                                           {"Korvane Files (*.plt)", "AutoCAD DXF Files (*.dxf)"},
                                           path, save, index);
    std::printf("%s %s filter %d\n", chosen ? "chosen" : "cancelled", qPrintable(path), index);
    return chosen ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv) {
    const bool pictures = argc == 2 && argv[1][0] != '-';
    if (pictures) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    if (pictures) return Pictures(QDir(QString::fromLocal8Bit(argv[1])));
    if (argc == 3 && std::strcmp(argv[1], "--show") == 0) {
        QtPrompts prompts(nullptr);
        std::unique_ptr<QDialog> dlg = Make(QString::fromLocal8Bit(argv[2]), prompts);
        if (dlg) return dlg->exec() == QDialog::Accepted ? 0 : 1;
    }
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--choose") == 0) {
        return Choose(std::strcmp(argv[2], "save") == 0,
                      argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString());
    }
    std::fprintf(stderr,
                 "usage: korvane_dialog_tryout OUTDIR | --show NAME | --choose open|save [PATH]\n");
    return 2;
}
