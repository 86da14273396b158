#pragma once

#include <QFileDialog>
#include <QMessageBox>

#include "app/Prompts.h"

// Stand-in until the dialogs branch lands its QtPrompts.
class QtPrompts : public Prompts {
  public:
    explicit QtPrompts(QWidget* parent) : m_parent(parent) {}
    void Warning(const QString& text) override {
        QMessageBox::warning(m_parent, QStringLiteral("korvane"), text);
    }
    void Information(const QString& text) override {
        QMessageBox::information(m_parent, QStringLiteral("korvane"), text);
    }
    Answer AskYesNoCancel(const QString& text) override {
        switch (QMessageBox::question(m_parent, QStringLiteral("korvane"), text,
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
            case QMessageBox::Yes:
                return Answer::Yes;
            case QMessageBox::No:
                return Answer::No;
            default:
                return Answer::Cancel;
        }
    }
    bool AskYesNo(const QString& text) override {
        return QMessageBox::question(m_parent, QStringLiteral("korvane"), text) == QMessageBox::Yes;
    }
    bool ChooseFile(const QString& title, const QString& defaultExtension,
                    const QStringList& filters, QString& path, bool save,
                    int& filterIndex) override {
        QFileDialog dialog(m_parent, title, path, filters.join(QStringLiteral(";;")));
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(defaultExtension);
        if (filterIndex >= 1 && filterIndex <= filters.size())
            dialog.selectNameFilter(filters[filterIndex - 1]);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
        path = dialog.selectedFiles().first();
        filterIndex = filters.indexOf(dialog.selectedNameFilter()) + 1;
        return true;
    }

  private:
    QWidget* m_parent;
};
