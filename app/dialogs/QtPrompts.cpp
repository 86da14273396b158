#include "app/dialogs/QtPrompts.h"

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QRegularExpression>
#include <climits>

namespace {
QString Caption() {
    return QStringLiteral("Korvane");
}

QMessageBox::StandardButton Ask(QWidget* parent, const QString& text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton defaultButton = QMessageBox::Yes) {
    QMessageBox box(QMessageBox::Warning, Caption(), text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

// "dxf" of "AutoCAD DXF Files (*.dxf)"; empty for a filter without one, such as "(*.*)".
QString FilterExtension(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    return pattern.match(filter).captured(1);
}

// The longest name the folder's file system takes; NAME_MAX when it does not say.
long NameMax(const QString& folder) {
    const long max = pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    return max > 0 ? max : NAME_MAX;
}
}  // namespace

QtPrompts::QtPrompts(QWidget* parent) : m_parent(parent) {}

QWidget* QtPrompts::Owner() const {
    if (m_parent) return m_parent;
    // A dialog on top (the export settings) owns what it asks; else the main window does.
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(w)) return w;
    }
    return nullptr;
}

void QtPrompts::Warning(const QString& text) {
    QMessageBox::warning(Owner(), Caption(), text);
}

void QtPrompts::Information(const QString& text) {
    QMessageBox::information(Owner(), Caption(), text);
}

Prompts::Answer QtPrompts::AskYesNoCancel(const QString& text) {
    switch (Ask(Owner(), text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

bool QtPrompts::AskYesNo(const QString& text, Answer defaultAnswer) {
    return Ask(Owner(), text, QMessageBox::Yes | QMessageBox::No,
               defaultAnswer == Answer::No ? QMessageBox::No : QMessageBox::Yes) ==
           QMessageBox::Yes;
}

bool QtPrompts::ChooseFile(const QString& title, const QString& defaultExtension,
                           const QStringList& filters, QString& path, bool save, int& filterIndex) {
    QFileDialog dialog(Owner(), title);
    // Qt's own dialog, not the desktop's: a desktop dialog confirms replacing the name as typed,
    // before the default suffix is added, so "plan" could silently replace "plan.plt".
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(filters);
    if (filterIndex >= 1 && filterIndex <= filters.size()) {
        dialog.selectNameFilter(filters[filterIndex - 1]);
    }
    // A name typed without an extension takes the selected type's, so a DXF export named
    // "plan" becomes plan.dxf rather than a DXF file called plan.plt.
    const auto followFilter = [&dialog, defaultExtension](const QString& filter) {
        const QString extension = FilterExtension(filter);
        dialog.setDefaultSuffix(extension.isEmpty() ? defaultExtension : extension);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    followFilter(dialog.selectedNameFilter());
    // Save mode confirms before replacing (QFileDialog's default); open mode takes only an
    // existing file.
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!path.isEmpty()) {
        const QFileInfo initial(path);
        if (initial.isDir()) {
            dialog.setDirectory(initial.absoluteFilePath());
        } else {
            dialog.setDirectory(initial.absolutePath());
            dialog.selectFile(initial.fileName());
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;

    const QString chosen = dialog.selectedFiles().constFirst();
    // The dialog itself refuses most overlong names; this also catches one that the default
    // suffix lengthens past the limit.
    if (IsBadFileName(chosen)) {
        path = QStringLiteral("InvalidFileName");
        return false;
    }
    const int index = filters.indexOf(dialog.selectedNameFilter());
    if (index >= 0) filterIndex = index + 1;
    path = chosen;
    return true;
}

bool IsBadFileName(const QString& path) {
    const QFileInfo info(path);
    const QByteArray encoded = QFile::encodeName(info.absoluteFilePath());
    if (encoded.size() >= PATH_MAX) return true;
    const long nameMax = NameMax(info.absolutePath());
    for (const QString& part :
         info.absoluteFilePath().split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (QFile::encodeName(part).size() > nameMax) return true;
    }
    return false;
}
