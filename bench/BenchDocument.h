#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "BenchData.h"
#include "plot/FileError.h"
#include "plot/KorvaneDoc.h"
#include "plot/UserFeedback.h"

// A benchmark data file opened as a document; null (with the reason on stderr) when missing.
class BenchDocument {
  public:
    explicit BenchDocument(const std::string& name) : m_doc(m_feedback) {
        const std::string path = BenchDataPath(name.c_str());
        try {
            m_doc.OnOpenDocument(path);
            m_ok = true;
        } catch (const FileError& e) {
            std::fprintf(stderr, "%s (make it with tools/make-bench-data.sh)\n", e.what());
        }
    }
    bool Ok() const { return m_ok; }
    CKorvaneDoc& Doc() { return m_doc; }

  private:
    struct Quiet : UserFeedback {
        void ShowMessage(const std::string& text) override {
            std::fprintf(stderr, "%s\n", text.c_str());
        }
    } m_feedback;
    CKorvaneDoc m_doc;
    bool m_ok = false;
};
