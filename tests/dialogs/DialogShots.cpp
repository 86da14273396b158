// Pictures of the dialogs as a user first sees them, for looking at their layout:
// korvane_dialog_shots OUTDIR writes one PNG per dialog (offscreen unless a display is asked for).
#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "app/ScriptedPrompts.h"
#include "app/dialogs/CDxfParms.h"
#include "app/dialogs/COptionsDlg.h"
#include "app/dialogs/CPageDlg.h"
#include "app/dialogs/CStatusDlg.h"
#include "fontdlg/CFasterFontDlg.h"
#include "fontdlg/CFontPreviewCombo.h"

namespace {
bool Shoot(QWidget& dialog, const QDir& out, const char* name) {
    dialog.show();
    QApplication::processEvents();
    const QString path = out.filePath(QString::fromLatin1(name) + ".png");
    const bool saved = dialog.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    dialog.hide();
    return saved;
}
}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvane_dialog_shots OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    ScriptedPrompts prompts;
    bool ok = true;

    COptionsDlg options(prompts);
    options.m_increment = 10;
    ok &= Shoot(options, out, "options");

    CDxfParms dxf(prompts);
    for (int i = 0; i < 8; ++i) {
        dxf.m_parameters.layerName[i] = "PEN" + std::to_string(i + 1);
        dxf.m_parameters.layerColor[i] = i + 1;
    }
    dxf.m_parameters.paperX[0] = 1.5;
    dxf.m_parameters.paperY[0] = 2.5;
    dxf.m_parameters.easting[0] = 612345.125;
    dxf.m_parameters.northing[0] = 5123456.75;
    dxf.m_parameters.originalScale = 2500;
    ok &= Shoot(dxf, out, "dxf-parameters");

    CStatusDlg status(3300.0 / 300, 2550.0 / 300, 1234);
    ok &= Shoot(status, out, "drawing-status");

    CPageDlg page;
    ok &= Shoot(page, out, "page-setup");

    CFasterFontDlg font(QStringLiteral("DejaVu Sans"), 2);
    ok &= Shoot(font, out, "font-and-line");
    // The dropped list on its own, as the user sees it open.
    CFontPreviewCombo list;
    list.SetFontHeight(20, true);
    list.show();
    list.showPopup();
    QApplication::processEvents();
    ok &= Shoot(*list.view()->window(), out, "font-list");
    return ok ? 0 : 1;
}
