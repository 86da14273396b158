#pragma once

#include <QString>
#include <QStringList>

// Everything the program asks the user through a modal box or a file chooser. The application
// answers with real dialogs (QtPrompts); tests answer with a script, so no test ever blocks.
class Prompts {
  public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompts() = default;

    // A message box with the warning icon and an OK button.
    virtual void Warning(const QString& text) = 0;
    // A message box with the information icon and an OK button.
    virtual void Information(const QString& text) = 0;
    // "Save changes to %1?" and the like: Yes, No or Cancel.
    virtual Answer AskYesNoCancel(const QString& text) = 0;
    // Yes or No; false for No. defaultAnswer is the button Enter presses: No where Yes loses
    // something.
    virtual bool AskYesNo(const QString& text, Answer defaultAnswer = Answer::Yes) = 0;

    // The general chooser. filters are "Description (*.ext)" entries; filterIndex counts from 1,
    // in: the filter selected first, out: the one selected when the user confirmed. path, in: the
    // initial name (a folder or a file), out: the full path chosen. save asks before replacing an
    // existing file; open requires the file to exist. defaultExtension (without the dot) is
    // appended to a name typed without one. False when cancelled; path is then unchanged, except
    // that it becomes "InvalidFileName" when the platform reports a bad name.
    virtual bool ChooseFile(const QString& title, const QString& defaultExtension,
                            const QStringList& filters, QString& path, bool save,
                            int& filterIndex) = 0;
    // Open mode with the first filter.
    bool ChooseFileToOpen(const QString& title, const QString& defaultExtension,
                          const QStringList& filters, QString& path) {
        int index = 1;
        return ChooseFile(title, defaultExtension, filters, path, false, index);
    }
};
