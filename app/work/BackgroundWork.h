#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <exception>
#include <functional>
#include <utility>
#include <vector>

class QWidget;

// The application's work off the window's thread, one object per application (CKorvaneApp owns
// it). Run returns when the work is done, while the windows keep painting and answering the
// system. Meanwhile no input reaches any window (the document stays as the work found it and
// nothing can close it), the cursor shows the wait, and once the work has taken half a second a
// dialog over parent says what is under way. No exception from work escapes: the returned text
// is what the user is to be told of it (FailureText), empty when work ended.
class BackgroundWork {
  public:
    [[nodiscard]] QString Run(QWidget* parent, const QString& what,
                              const std::function<void()>& work);
    // Runs action now, or once the work under way is done: for what the system starts (a file
    // changed on disk, files sent by another start), which may ask the user something.
    void WhenIdle(QObject* context, std::function<void()> action);

  private:
    // A count, not a flag: the event loop inside one run may start another.
    int m_running = 0;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> m_waiting;
};

// What the user is told of work described by what ("Copying...") that ended with failure:
// "Copying failed: not enough memory." for out of memory, the exception's own text otherwise.
QString FailureText(const QString& what, const std::exception_ptr& failure);
