#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QStringList>
#include <cstdio>
#include <cstring>

#include "app/KorvaneApp.h"
#include "app/dialogs/QtPrompts.h"
#include "app/frame/MainFrame.h"
#include "app/platform/SingleInstance.h"

namespace {
const char kUsage[] =
    "Usage: korvane [--new-instance] [FILE...]\n"
    "       korvane --print FILE...\n"
    "Views, prints and converts pen-plotter plot files (.plt). Each FILE opens in the window\n"
    "of the viewer already running on this display, else in a new one.\n"
    "  --new-instance  open a window of its own even when the viewer already runs\n"
    "  --print         print each FILE on the default printer, without a window\n"
    "  --help          show this help and exit\n"
    "  --version       show the version and exit\n"
    "Exit status: 0 success; 1 with --print, a file that could not be opened or printed.\n";

// Answers --help and --version before the window system is reached, so they work without a
// display and are never handed to a running viewer. -1 when neither is asked for.
int AnswerOnTerminal(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(kUsage, stdout);
        } else if (!std::strcmp(argv[i], "--version")) {
            std::printf("korvane %s\n", KORVANE_VERSION);
        } else {
            continue;
        }
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    return -1;
}
}  // namespace

int main(int argc, char** argv) {
    if (const int status = AnswerOnTerminal(argc, argv); status >= 0) return status;
    QApplication application(argc, argv);
    QApplication::setOrganizationName(kOrganisation);
    QApplication::setApplicationName(kApplication);
    QApplication::setApplicationVersion(QStringLiteral(KORVANE_VERSION));
    // Ties the windows to the installed launcher, so desktops show its name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.korvane.Korvane"));
    QStringList files = QApplication::arguments().mid(1);
    const bool newInstance = files.removeAll(QStringLiteral("--new-instance")) > 0;
    const bool print = files.removeAll(QStringLiteral("--print")) > 0;
    for (QString& file : files) file = QFileInfo(file).absoluteFilePath();

    // Files given while the program already runs on this display go to its window. A start
    // without files opens a window of its own.
    const bool shared =
        !newInstance && !print && QGuiApplication::platformName() != QLatin1String("offscreen");
    SingleInstance instance(nullptr);
    if (shared && !files.isEmpty() && instance.SendToRunning(files)) return 0;

    QtPrompts prompts(nullptr);
    CKorvaneApp app(prompts);
    if (print) return app.PrintFiles(files) ? 0 : 1;
    if (!app.InitInstance(files)) return 1;
    if (shared && instance.Listen()) {
        QObject::connect(&instance, &SingleInstance::filesReceived, &app,
                         [&app](const QStringList& paths) {
                             app.Background().WhenIdle(&app, [&app, paths] {
                                 for (const QString& path : paths) app.OpenDocumentFile(path);
                                 app.MainFrame()->activateWindow();
                                 app.MainFrame()->raise();
                             });
                         });
    }
    return QApplication::exec();
}
