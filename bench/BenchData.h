#pragma once

#include <sys/stat.h>

#include <cstdlib>
#include <string>

// The large sample files live in bench-data/ (tools/make-bench-data.sh makes them); the
// environment variable KORVANE_BENCH_DATA points elsewhere.
inline std::string BenchDataPath(const char* name) {
    const char* dir = std::getenv("KORVANE_BENCH_DATA");
    return std::string(dir && *dir ? dir : KORVANE_BENCH_DATA) + "/" + name;
}

inline bool BenchDataExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

constexpr const char* kMissingData = "bench-data missing: run tools/make-bench-data.sh";
