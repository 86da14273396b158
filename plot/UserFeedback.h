#pragma once

#include <string>

// What the document needs of the person in front of it: a message they acknowledge, and a busy
// indication. The desktop shows message boxes and the wait cursor, the command-line tool prints
// to stderr, tests record.
class UserFeedback {
  public:
    virtual ~UserFeedback() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}
};
