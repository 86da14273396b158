#pragma once

#include <cstdio>
#include <string>

#include "plot/UserFeedback.h"

// Messages of the document go to stderr, prefixed by the file they concern.
class CliFeedback : public UserFeedback {
  public:
    explicit CliFeedback(std::string file) : m_file(std::move(file)) {}
    void ShowMessage(const std::string& text) override {
        std::fprintf(stderr, "korvane-cli: %s: %s\n", m_file.c_str(), text.c_str());
        ++m_messages;
    }
    int Messages() const { return m_messages; }

  private:
    std::string m_file;
    int m_messages = 0;
};
