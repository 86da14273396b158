#include <QApplication>
#include <QStringList>

#include "app/KorvaneApp.h"
#include "app/dialogs/QtPrompts.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(kOrganisation);
    QApplication::setApplicationName(kApplication);
    QStringList files = QApplication::arguments().mid(1);
    files.removeAll(QStringLiteral("--new-instance"));

    QtPrompts prompts(nullptr);
    CKorvaneApp app(prompts);
    if (!app.InitInstance(files)) return 1;
    return QApplication::exec();
}
