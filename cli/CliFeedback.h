#pragma once

#include <string>

#include "cli/Commands.h"
#include "plot/KorvaneDoc.h"
#include "plot/UserFeedback.h"

// Messages of the document go to stderr, prefixed by the file they concern; the one about an
// invalid record says where in the file it lies.
class CliFeedback : public UserFeedback {
  public:
    explicit CliFeedback(std::string file) : m_file(std::move(file)) {}
    void Watch(const CKorvaneDoc& doc) { m_doc = &doc; }
    void ShowMessage(const std::string& text) override {
        std::string where;
        if (m_doc && m_doc->GetInvalidRecordAt() >= 0) {
            where = " (invalid record at byte " + std::to_string(m_doc->GetInvalidRecordAt()) + ")";
        }
        Fail(m_file + ": " + text + where);
        ++m_messages;
    }
    int Messages() const { return m_messages; }

  private:
    std::string m_file;
    const CKorvaneDoc* m_doc = nullptr;
    int m_messages = 0;
};
