#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QStringList>

#include "app/KorvaneApp.h"
#include "app/dialogs/QtPrompts.h"
#include "app/frame/MainFrame.h"
#include "app/platform/SingleInstance.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(kOrganisation);
    QApplication::setApplicationName(kApplication);
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
