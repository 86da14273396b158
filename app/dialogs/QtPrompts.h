#pragma once

#include <QPointer>
#include <QWidget>

#include "widgets/Prompts.h"

// The prompts as the user meets them: message boxes and Qt's file dialog, owned by parent, or
// without one by the dialog on top, else the main window: centred on it and modal to it.
class QtPrompts : public Prompts {
  public:
    explicit QtPrompts(QWidget* parent);

    void Warning(const QString& text) override;
    void Information(const QString& text) override;
    Answer AskYesNoCancel(const QString& text) override;
    bool AskYesNo(const QString& text, Answer defaultAnswer = Answer::Yes) override;
    bool ChooseFile(const QString& title, const QString& defaultExtension,
                    const QStringList& filters, QString& path, bool save,
                    int& filterIndex) override;

  private:
    QWidget* Owner() const;

    QPointer<QWidget> m_parent;
};

// True when the file system at path's folder would refuse the name: a component longer than
// the folder allows, or a path longer than the system takes.
bool IsBadFileName(const QString& path);
