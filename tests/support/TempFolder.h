#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <string>

// A private folder for one test's files, made fresh under the test temporary folder and removed
// with everything in it when the test ends.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = ::testing::TempDir() + "korvane-XXXXXX";
        if (mkdtemp(pattern.data())) m_path = pattern;
        EXPECT_FALSE(m_path.empty()) << "cannot make a folder like " << pattern;
    }
    ~TempFolder() {
        if (!m_path.empty()) std::system(("rm -rf '" + m_path + "'").c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string Path(const std::string& name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};
