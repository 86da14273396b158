#pragma once

#include <string>
#include <vector>

#include "plot/UserFeedback.h"

class RecordingFeedback : public UserFeedback {
  public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void BeginWaitCursor() override {
        ++waitDepth;
        ++waitCount;
    }
    void EndWaitCursor() override { --waitDepth; }

    std::vector<std::string> messages;
    int waitDepth = 0;
    int waitCount = 0;
};
