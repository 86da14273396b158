#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

// Compares text byte for byte with the golden file at path; with KORVANE_UPDATE_GOLDEN set, writes
// the file instead (after an intended change).
inline void ExpectGolden(const std::string& path, const std::string& text) {
    if (std::getenv("KORVANE_UPDATE_GOLDEN")) {
        std::ofstream(path, std::ios::binary) << text;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path << " is missing";
    std::ostringstream expected;
    expected << in.rdbuf();
    EXPECT_TRUE(expected.str() == text) << "differs from " << path;
}
