#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <exception>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "app/work/JobRunner.h"

class QWidget;

// The application's work off the window's thread: the Qt face of its JobRunner (one per
// application; CKorvaneApp owns it), which holds the rule all background work follows
// (app/work/JobRunner.h). Run returns when the work is done, while the windows keep painting and
// answering the system; runs nest only through its event loop (a count, not a flag). Meanwhile
// no input reaches any window but the progress dialog (the document stays as the work found it
// and nothing can close it), the cursor shows the wait, and once the work has taken half a
// second a dialog over parent says what is under way, with the job's progress, and with Cancel
// for work that may stop. What the system starts waits for the work through WhenIdle. No
// exception from work escapes: the returned text is what the user is to be told of it
// (FailureText), empty when work ended.
class BackgroundWork {
  public:
    BackgroundWork();
    ~BackgroundWork();

    // Work for document (any address naming it; null for none), whose jobs run in turn.
    [[nodiscard]] QString Run(QWidget* parent, const QString& what,
                              const std::function<void()>& work, const void* document = nullptr);
    // Work that reports progress through control and, when cancellable, is offered Cancel
    // (control.Cancelled()).
    [[nodiscard]] QString Run(QWidget* parent, const QString& what, const void* document,
                              bool cancellable, const std::function<void(JobControl&)>& work);
    // Runs action now, or once the work under way is done: for what the system starts (a file
    // changed on disk, files sent by another start), which may ask the user something.
    void WhenIdle(QObject* context, std::function<void()> action);

  private:
    int m_running = 0;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> m_waiting;
    std::unique_ptr<JobRunner> m_runner;
};

// What the user is told of work described by what ("Copying...") that ended with failure:
// "Copying failed: not enough memory." for out of memory, the exception's own text otherwise.
QString FailureText(const QString& what, const std::exception_ptr& failure);
