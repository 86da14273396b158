#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <utility>

#include "widgets/Prompts.h"

// Prompts answered from a script: each question takes the next queued answer (a question
// without one fails the test's expectations by answering Cancel / false). Every text shown is
// recorded in order, so a test can assert what the user saw.
class ScriptedPrompts : public Prompts {
  public:
    struct Choice {
        bool accept = false;
        QString path;         // the path chosen when accepted
        int filterIndex = 1;  // the filter selected when accepted
    };

    void QueueAnswer(Answer a) { m_answers.push_back(a); }
    void QueueChoice(Choice c) { m_choices.push_back(std::move(c)); }
    void QueueCancel() { m_choices.push_back(Choice{}); }

    void Warning(const QString& text) override { m_shown << QStringLiteral("warning: ") + text; }
    void Information(const QString& text) override {
        m_shown << QStringLiteral("information: ") + text;
    }
    Answer AskYesNoCancel(const QString& text) override {
        m_shown << QStringLiteral("ask: ") + text;
        return Take(m_answers, Answer::Cancel);
    }
    bool AskYesNo(const QString& text, Answer defaultAnswer = Answer::Yes) override {
        m_shown << QStringLiteral("ask: ") + text;
        m_lastDefault = defaultAnswer;
        return Take(m_answers, Answer::No) == Answer::Yes;
    }
    bool ChooseFile(const QString& title, const QString& defaultExtension,
                    const QStringList& filters, QString& path, bool save,
                    int& filterIndex) override {
        m_shown << QStringLiteral("choose: ") + title;
        m_lastFilters = filters;
        m_lastInitialPath = path;
        m_lastSave = save;
        m_lastDefaultExtension = defaultExtension;
        const Choice c = Take(m_choices, Choice{});
        if (!c.accept) return false;
        // A user can pick only a filter the chooser lists; any other answers as a cancel, so
        // the test sees nothing written.
        if (c.filterIndex < 1 || c.filterIndex > filters.size()) {
            m_shown << QStringLiteral("choose: filter %1 is not offered").arg(c.filterIndex);
            return false;
        }
        path = c.path;
        filterIndex = c.filterIndex;
        return true;
    }

    QStringList m_shown;
    QStringList m_lastFilters;
    QString m_lastInitialPath;
    QString m_lastDefaultExtension;
    bool m_lastSave = false;
    Answer m_lastDefault = Answer::Yes;  // of the last Yes or No question

  private:
    template <class T>
    static T Take(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T v = std::move(queue.front());
        queue.pop_front();
        return v;
    }
    std::deque<Answer> m_answers;
    std::deque<Choice> m_choices;
};
