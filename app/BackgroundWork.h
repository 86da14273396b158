#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

// Runs work on a worker thread and returns when it is done, while the windows keep painting and
// answering the system. Meanwhile no input reaches any window (the document stays as the work
// found it and nothing can close it), the cursor shows the wait, and once the work has taken
// half a second a dialog over parent says what is under way. An exception from work is
// rethrown here.
void RunInBackground(QWidget* parent, const QString& what, const std::function<void()>& work);

// Runs action now, or once the background work under way is done: for what the system starts
// (a file changed on disk, files sent by another start), which may ask the user something.
void WhenIdle(QObject* context, std::function<void()> action);
